#include "ProgmanCommands.h"

#include "install/NormalizePath.h"

#include "rtlib.h"

CString FormatDeleteGroup(LPCSTR pszGroupName) {
    CString strCommand;
    strCommand.Format("[DeleteGroup(%s)]", pszGroupName);
    return strCommand;
}

CString FormatCreateGroup(LPCSTR pszGroupName) {
    CString strCommand;
    strCommand.Format("[CreateGroup(%s)]", pszGroupName);
    return strCommand;
}

CString FormatShowGroup(LPCSTR pszGroupName) {
    CString strCommand;
    strCommand.Format("[ShowGroup(%s,1)]", pszGroupName);
    return strCommand;
}

BOOL ProgmanNeedsQuotes(LPCSTR pszPath) {
    const char* pszSpace = RtStrChr(pszPath, ' ');
    return (pszSpace != NULL && pszSpace > pszPath) || RtStrPBrk(pszPath, ",()[]") != NULL;
}

// NormalizePath, inside the quotes of a path that arrives quoted: cleaned with its quotes, a
// network path would lose its leading pair ("\\server\share" would become "\server\share").
static void CleanPossiblyQuoted(CString& strPath) {
    const int nLength = strPath.GetLength();
    if (nLength < 2 || strPath[0] != '"' || strPath[nLength - 1] != '"') {
        NormalizePath(strPath);
        return;
    }
    CString strInner = strPath.Mid(1).Left(nLength - 2);
    NormalizePath(strInner);
    strPath = "\"" + strInner + "\"";
}

CString FormatAddItem(LPCSTR pszCommandLine, LPCSTR pszItemName, LPCSTR pszIconPath,
                      LPCSTR pszDefaultDirectory) {
    CString strCommandLine(pszCommandLine);
    CString strIconPath(pszIconPath);
    CString strDirectory(pszDefaultDirectory);
    CleanPossiblyQuoted(strCommandLine);
    CleanPossiblyQuoted(strIconPath);
    NormalizePath(strDirectory);
    if (ProgmanNeedsQuotes(strDirectory))
        strDirectory = "\"" + strDirectory + "\"";

    CString strCommand;
    strCommand.Format("[AddItem(%s, %s, %s,, -1, -1, %s)]", (LPCSTR)strCommandLine, pszItemName,
                      (LPCSTR)strIconPath, (LPCSTR)strDirectory);
    return strCommand;
}
