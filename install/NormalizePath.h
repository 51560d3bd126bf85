#pragma once

#include "afxstr.h"

// Cleans a path in place: every '/' becomes '\', every run of '\' becomes one, and one trailing
// '\' is dropped. So "a//b\\\c/" becomes "a\b\c" and "C:\" becomes "C:".
// A network path keeps its leading pair: "\\\server\share\" becomes "\\server\share".
// A double-byte character is copied whole: its trail byte may be 0x5C, the byte of '\'.
void NormalizePath(CString& strPath);

// Both separators that a typed path may use: '\' and '/'.
inline BOOL IsPathSeparator(char ch) {
    return ch == '\\' || ch == '/';
}

// The bytes of the character that starts at str[i]: 2 for the lead byte of a double-byte
// character of the ANSI code page (code pages 932, 936, 949 and 950 have them), 1 otherwise.
// On such a system the trail byte of many characters is 0x5C, the byte of '\' (ソ is 83 5C and
// 表 is 95 5C in code page 932), so every walk over a path steps over both bytes at once.
int CharSizeAt(const CString& str, int i);

// The index of the last '\' of the path that is a separator, not a trail byte; -1 when none.
int FindLastSeparator(const CString& strPath);
