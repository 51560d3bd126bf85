#include "NormalizePath.h"

int CharSizeAt(const CString& str, int i) {
    return i + 1 < str.GetLength() && ::IsDBCSLeadByte(static_cast<BYTE>(str[i])) ? 2 : 1;
}

int FindLastSeparator(const CString& strPath) {
    int nLastSeparator = -1;
    for (int i = 0; i < strPath.GetLength(); i += CharSizeAt(strPath, i))
        if (strPath[i] == '\\')
            nLastSeparator = i;
    return nLastSeparator;
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
