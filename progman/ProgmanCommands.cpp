#include "ProgmanCommands.h"

#include "NormalizePath.h"

#include <string.h>

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
    const char* pszSpace = strchr(pszPath, ' ');
    return (pszSpace != NULL && pszSpace > pszPath) || strpbrk(pszPath, ",()[]") != NULL;
}

CString FormatAddItem(LPCSTR pszCommandLine, LPCSTR pszItemName, LPCSTR pszIconPath,
                      LPCSTR pszDefaultDirectory) {
    CString strCommandLine(pszCommandLine);
    CString strIconPath(pszIconPath);
    CString strDirectory(pszDefaultDirectory);
    NormalizePath(strCommandLine);
    NormalizePath(strIconPath);
    NormalizePath(strDirectory);
    if (ProgmanNeedsQuotes(strDirectory))
        strDirectory = "\"" + strDirectory + "\"";

    CString strCommand;
    strCommand.Format("[AddItem(%s, %s, %s,, -1, -1, %s)]", (LPCSTR)strCommandLine, pszItemName,
                      (LPCSTR)strIconPath, (LPCSTR)strDirectory);
    return strCommand;
}
