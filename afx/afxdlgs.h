// The platform's file dialog, as a CDialog whose window the common dialog library makes.
#pragma once

#include "afxwin.h"

#include <commdlg.h>

class CFileDialog : public CDialog {
public:
    // Fills m_ofn for an open (TRUE) or save (FALSE) dialog in the Explorer style, with the
    // framework's hook, which attaches this object to the dialog window; callers may change
    // m_ofn before DoModal (for instance clear OFN_EXPLORER for the older style).
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = NULL,
                CWnd* pParentWnd = NULL);

    // IDOK when the user accepted a file, IDCANCEL when cancelled or the dialog failed. The
    // common dialog ends itself: its commands never reach the message map.
    INT_PTR DoModal() override;

    OPENFILENAMEA m_ofn;

protected:
    friend UINT_PTR CALLBACK AfxCommDlgProc(HWND, UINT, WPARAM, LPARAM);

    BOOL m_bOpenFileDialog;
    char m_szFileName[MAX_PATH];
    char m_szFileTitle[64];
};
