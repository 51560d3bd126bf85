#include "Destination.h"

#include "NormalizePath.h"

// C:\ZEL or \\server\share: the current directory plays no part.
static BOOL IsAbsolute(const CString& strPath) {
    if (strPath.GetLength() >= 3 && strPath[1] == ':' && IsPathSeparator(strPath[2]))
        return TRUE;
    return strPath.GetLength() >= 2 && IsPathSeparator(strPath[0]) && IsPathSeparator(strPath[1]);
}

CString ResolveDestination(const CString& strDirectory) {
    // A trailing separator would keep the system from dropping the dots and spaces before it.
    int nEnd = strDirectory.GetLength();
    while (nEnd > 0 && IsPathSeparator(strDirectory[nEnd - 1]))
        nEnd--;
    CString strPath = strDirectory.Left(nEnd);

    BOOL bNamesDirectory = FALSE;
    for (int i = 0; i < nEnd; i++)
        if (strPath[i] != '.' && strPath[i] != ' ' && !IsPathSeparator(strPath[i]))
            bNamesDirectory = TRUE;
    if (!bNamesDirectory || (nEnd == 2 && strPath[1] == ':'))
        return strDirectory;
    char chLast = strPath[nEnd - 1];
    if (IsAbsolute(strDirectory) && chLast != '.' && chLast != ' ')
        return strDirectory;

    char szFullPath[1024];
    DWORD dwLength = ::GetFullPathNameA(strPath, sizeof szFullPath, szFullPath, NULL);
    if (dwLength == 0 || dwLength >= sizeof szFullPath)
        return strDirectory;
    return CString(szFullPath);
}

// \\.\NUL, \\?\C:\ZEL: the system's own form for a device, or a path it takes unparsed.
static BOOL NamesDevice(const CString& strPath) {
    char szFullPath[1024];
    DWORD dwLength = ::GetFullPathNameA(strPath, sizeof szFullPath, szFullPath, NULL);
    if (dwLength == 0 || dwLength >= sizeof szFullPath)
        return FALSE; // left to the directory creation, which reports it
    return IsPathSeparator(szFullPath[0]) && IsPathSeparator(szFullPath[1]) &&
           (szFullPath[2] == '.' || szFullPath[2] == '?') && IsPathSeparator(szFullPath[3]);
}

BOOL IsUsableDestination(const CString& strDirectory) {
    const int nLength = strDirectory.GetLength();
    for (int i = 0; i < nLength; i++) {
        unsigned char ch = static_cast<unsigned char>(strDirectory[i]);
        if (ch == '"' || ch < ' ')
            return FALSE;
    }
    for (int i = 1; i <= nLength; i++)
        if ((i == nLength || IsPathSeparator(strDirectory[i])) && NamesDevice(strDirectory.Left(i)))
            return FALSE;
    return TRUE;
}
