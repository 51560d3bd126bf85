#include "ProgmanCommands.h"

#include "NormalizePath.h"

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

CString FormatAddItem(LPCSTR pszCommandLine, LPCSTR pszItemName, LPCSTR pszIconPath,
                      LPCSTR pszDefaultDirectory) {
    CString strCommandLine(pszCommandLine);
    CString strIconPath(pszIconPath);
    CString strDirectory(pszDefaultDirectory);
    NormalizePath(strCommandLine);
    NormalizePath(strIconPath);
    NormalizePath(strDirectory);
    // Program Manager takes a path with a space in it only between double quotes:
    // C:\My Apps\ZEL goes out as "C:\My Apps\ZEL". A space at index 0 does not count.
    if (strDirectory.Find(" ") > 0)
        strDirectory = "\"" + strDirectory + "\"";

    CString strCommand;
    strCommand.Format("[AddItem(%s, %s, %s,, -1, -1, %s)]", (LPCSTR)strCommandLine, pszItemName,
                      (LPCSTR)strIconPath, (LPCSTR)strDirectory);
    return strCommand;
}
