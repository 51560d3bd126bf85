#include "CreateDirectoryPath.h"

#include "NormalizePath.h"
#include "afxwin.h"

BOOL CreateDirectoryPath(CString strPath) {
    const int nLastSeparator = FindLastSeparator(strPath);
    // The walk towards the root ends here: a bare drive, an empty string or a relative name.
    if (nLastSeparator < 0)
        return ::CreateDirectoryA(strPath, NULL) != 0;

    CString strParent = strPath.Left(nLastSeparator);
    BOOL bParentMade = FALSE;
    for (;;) {
        if (::CreateDirectoryA(strPath, NULL))
            return TRUE;
        DWORD dwError = ::GetLastError();
        switch (dwError) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            // A second miss after the parent was made means a component above is not a
            // directory (an existing file): trying again would never end.
            if (bParentMade || !CreateDirectoryPath(strParent))
                return FALSE;
            bParentMade = TRUE;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_ALREADY_EXISTS:
            return TRUE;
        default: {
            CString strMessage;
            strMessage.Format("CreateDirectory failed, err = %d\n", static_cast<int>(dwError));
            AfxMessageBox(strMessage, MB_OK, 0);
            return FALSE;
        }
        }
    }
}
