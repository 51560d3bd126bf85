#pragma once

#include "afxstr.h"

// Cleans a path in place, byte by byte: every '/' becomes '\', every run of '\' becomes one,
// and one trailing '\' is dropped. So "a//b\\\c/" becomes "a\b\c" and "C:\" becomes "C:".
// A network path keeps its leading pair: "\\\server\share\" becomes "\\server\share".
void NormalizePath(CString& strPath);
