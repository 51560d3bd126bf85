#include "NormalizePath.h"

#include "rtlib.h"

int CharSizeAt(const CString& str, int i) {
    return RtCharSize(static_cast<LPCSTR>(str) + i);
}

int FindLastSeparator(const CString& strPath) {
    LPCSTR pszSeparator = RtStrRChr(strPath, '\\');
    return pszSeparator != NULL ? static_cast<int>(pszSeparator - static_cast<LPCSTR>(strPath))
                                : -1;
}

void NormalizePath(CString& strPath) {
    CString strResult;
    BOOL bLastWasSeparator = FALSE;
    int i = 0;
    // A network path (\\server\share) keeps its leading pair: a single backslash would name the
    // root of the current drive instead, and the install would go to a local directory.
    int nLead = 0;
    while (nLead < strPath.GetLength() && IsPathSeparator(strPath[nLead]))
        nLead++;
    if (nLead >= 2 && nLead < strPath.GetLength()) {
        strResult = "\\\\";
        bLastWasSeparator = TRUE;
        i = nLead;
    }
    while (i < strPath.GetLength()) {
        const int nSize = CharSizeAt(strPath, i);
        char ch = strPath[i];
        if (nSize == 2) {
            strResult += ch;
            strResult += strPath[i + 1];
            bLastWasSeparator = FALSE;
        } else if (!IsPathSeparator(ch)) {
            strResult += ch;
            bLastWasSeparator = FALSE;
        } else if (!bLastWasSeparator) {
            strResult += '\\';
            bLastWasSeparator = TRUE;
        }
        i += nSize;
    }
    if (bLastWasSeparator)
        strResult = strResult.Left(strResult.GetLength() - 1);
    strPath = strResult;
}
