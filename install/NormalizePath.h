#pragma once

#include "afxstr.h"

// Cleans a path in place, byte by byte: every '/' becomes '\', every run of '\' becomes one,
// and one trailing '\' is dropped. So "a//b\\\c/" becomes "a\b\c" and "C:\" becomes "C:".
// A network path keeps its leading pair: "\\\server\share\" becomes "\\server\share".
void NormalizePath(CString& strPath);

// Both separators that a typed path may use: '\' and '/'.
inline BOOL IsPathSeparator(char ch) {
    return ch == '\\' || ch == '/';
}
