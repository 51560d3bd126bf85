#include "SelectDirDlg.h"

#include "resource.h"

#include <dlgs.h>

BEGIN_MESSAGE_MAP(CSelectDirDlg, CFileDialog)
END_MESSAGE_MAP()

CSelectDirDlg::CSelectDirDlg(LPCSTR pszInitialDir)
    : CFileDialog(FALSE, NULL, NULL,
                  OFN_ENABLETEMPLATE | OFN_SHOWHELP | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, NULL,
                  AfxGetMainWnd()) {
    // Without OFN_EXPLORER the template replaces the whole dialog (the older style) instead of
    // being added to the Explorer dialog as a child.
    m_ofn.Flags &= ~OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SELECT_DIRECTORY);
    if (pszInitialDir != NULL)
        m_ofn.lpstrInitialDir = pszInitialDir;
}

INT_PTR CSelectDirDlg::DoModal() {
    // The platform's dialog makes every directory it shows the current one, and the copy reads
    // its sources relative to the current directory: browsing must leave it as it was.
    // A directory longer than the buffer leaves the buffer unwritten, as a failure does.
    char szCurrentDir[1024];
    DWORD dwLength = ::GetCurrentDirectoryA(sizeof szCurrentDir, szCurrentDir);
    if (dwLength == 0 || dwLength >= sizeof szCurrentDir) {
        AfxMessageBox("Unable to get current directory", MB_OK, 0);
        return IDCANCEL;
    }
    INT_PTR nResult = CFileDialog::DoModal();
    if (!::SetCurrentDirectoryA(szCurrentDir)) {
        AfxMessageBox("Unable to set current directory", MB_OK, 0);
        return IDCANCEL;
    }
    return nResult;
}

CString CSelectDirDlg::GetDirectory() {
    // The platform returns <directory>\dummy-filename; the directory keeps its backslash.
    m_ofn.lpstrFile[m_ofn.nFileOffset] = 0;
    return CString(m_ofn.lpstrFile);
}

void CSelectDirDlg::DoDataExchange(CDataExchange* pDX) {
    CFileDialog::DoDataExchange(pDX);
}

BOOL CSelectDirDlg::OnInitDialog() {
    CenterWindow();
    // The file controls already sit beyond the dialog's right edge; hidden, they cannot be
    // reached with the keyboard either.
    static const int kFileControls[] = {stc2, stc3, edt1, lst1, cmb1};
    for (int nID : kFileControls)
        GetDlgItem(nID)->ShowWindow(SW_HIDE);
    // OK accepts the name in the (hidden) name box in the directory shown; any name does.
    SetDlgItemText(edt1, "dummy-filename");
    CFileDialog::OnInitDialog();
    // The dialog is left to decide where the keyboard focus goes.
    return FALSE;
}
