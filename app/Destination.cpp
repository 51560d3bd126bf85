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
