#include "afxdlgs.h"

// Reads the caption of dialog template lpszTemplate in hInst into pszCaption.
static BOOL AfxGetTemplateCaption(HINSTANCE hInst, LPCSTR lpszTemplate, LPSTR pszCaption,
                                  int cchCaption) {
    HRSRC hRsrc = ::FindResourceA(hInst, lpszTemplate, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL hGlobal = hRsrc ? ::LoadResource(hInst, hRsrc) : NULL;
    const WORD* p = hGlobal ? static_cast<const WORD*>(::LockResource(hGlobal)) : NULL;
    if (p == NULL)
        return FALSE;
    // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF; both headers are followed by
    // the menu, the class and then the caption, each a 0xFFFF ordinal or a UTF-16 string.
    if (p[0] == 1 && p[1] == 0xFFFF)
        p += 13; // dlgVer, signature, helpID(2), exStyle(2), style(2), cDlgItems, x, y, cx, cy
    else
        p += 9; // style(2), dwExtendedStyle(2), cdit, x, y, cx, cy
    for (int i = 0; i < 2; i++) {
        if (*p == 0xFFFF)
            p += 2;
        else
            p += lstrlenW(reinterpret_cast<LPCWSTR>(p)) + 1;
    }
    return ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(p), -1, pszCaption,
                                 cchCaption, NULL, NULL) > 0;
}

// The hook of every CFileDialog: attaches the object when the dialog starts and gives it the
// messages; returning 0 leaves every message to the common dialog as well.
UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        OPENFILENAMEA* pOfn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        CFileDialog* pDlg = reinterpret_cast<CFileDialog*>(pOfn->lCustData);
        pDlg->Attach(hWnd);
        // Some systems caption the dialog "Save As" or "Open" when no title is given, over the
        // caption of a custom template; the template's own caption wins here.
        char szCaption[256];
        if (pOfn->lpstrTitle == NULL && (pOfn->Flags & OFN_ENABLETEMPLATE) &&
            AfxGetTemplateCaption(pOfn->hInstance, pOfn->lpTemplateName, szCaption,
                                  sizeof szCaption))
            ::SetWindowTextA(hWnd, szCaption);
        return pDlg->OnInitDialog();
    }
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return 0;
    if (message == WM_NCDESTROY) {
        pWnd->Detach();
        return 0;
    }
    LRESULT lResult = 0;
    if (message == WM_COMMAND || !pWnd->OnWndMsg(message, wParam, lParam, &lResult))
        return 0;
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(0, pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
    ::ZeroMemory(&m_ofn, sizeof m_ofn);
    m_szFileName[0] = 0;
    m_szFileTitle[0] = 0;
    if (lpszFileName != NULL)
        lstrcpynA(m_szFileName, lpszFileName, sizeof m_szFileName);
    // The record as Windows 95 and NT 4.0 know it, which they require; later systems take it too
    // and leave out only the fields that they added.
    m_ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.lpstrFilter = lpszFilter;
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = AfxCommDlgProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

// The common dialog library, loaded from the system directory by its full path (never through
// the search path, which may reach a planted copy) and only when a dialog is asked for: imported,
// it and the libraries it needs would be loaded before the program's first window. The libraries
// it needs are looked for in its own directory first, not in the program's (the medium).
static HMODULE AfxLoadCommDlg() {
    static const char kName[] = "\\COMDLG32.DLL";
    char szPath[MAX_PATH];
    UINT n = ::GetSystemDirectoryA(szPath, MAX_PATH);
    if (n == 0 || n + sizeof kName > MAX_PATH)
        return NULL;
    lstrcpyA(szPath + n, kName);
    return ::LoadLibraryExA(szPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

INT_PTR CFileDialog::DoModal() {
    typedef BOOL(APIENTRY * AFX_FILEDLGPROC)(LPOPENFILENAMEA);
    // Each dialog takes a reference and none gives it back: the library stays loaded for the
    // rest of the run. One that cannot be loaded ends the dialog as a cancel.
    HMODULE hCommDlg = AfxLoadCommDlg();
    if (hCommDlg == NULL)
        return IDCANCEL;
    AFX_FILEDLGPROC pfnDialog = reinterpret_cast<AFX_FILEDLGPROC>(reinterpret_cast<void*>(
        ::GetProcAddress(hCommDlg, m_bOpenFileDialog ? "GetOpenFileNameA" : "GetSaveFileNameA")));
    if (pfnDialog == NULL)
        return IDCANCEL;
    m_ofn.hwndOwner = GetOwnerHwnd(m_pParentWnd);
    return pfnDialog(&m_ofn) ? IDOK : IDCANCEL;
}
