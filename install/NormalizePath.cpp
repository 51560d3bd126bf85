#include "NormalizePath.h"

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
    for (; i < strPath.GetLength(); i++) {
        char ch = strPath[i];
        if (ch == '/')
            ch = '\\';
        if (ch != '\\') {
            strResult += ch;
            bLastWasSeparator = FALSE;
        } else if (!bLastWasSeparator) {
            strResult += ch;
            bLastWasSeparator = TRUE;
        }
    }
    if (!strResult.IsEmpty() && strResult[strResult.GetLength() - 1] == '\\')
        strResult = strResult.Left(strResult.GetLength() - 1);
    strPath = strResult;
}
