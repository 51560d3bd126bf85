#include "SelectDirDlg.h"

#include "resource.h"

#include <dlgs.h>

BEGIN_MESSAGE_MAP(CSelectDirDlg, CFileDialog)
END_MESSAGE_MAP()

CSelectDirDlg::CSelectDirDlg(LPCSTR pszInitialDir)
    : CFileDialog(FALSE, NULL, NULL, 0x56, NULL, AfxGetMainWnd()) {
    m_ofn.Flags &= ~OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SELECT_DIRECTORY);
    if (pszInitialDir != NULL)
        m_ofn.lpstrInitialDir = pszInitialDir;
}

INT_PTR CSelectDirDlg::DoModal() {
    return CFileDialog::DoModal();
}

CString CSelectDirDlg::GetDirectory() {
    m_ofn.lpstrFile[m_ofn.nFileOffset] = 0;
    return CString(m_ofn.lpstrFile);
}

void CSelectDirDlg::DoDataExchange(CDataExchange* pDX) {
    CFileDialog::DoDataExchange(pDX);
}

BOOL CSelectDirDlg::OnInitDialog() {
    ::SetDlgItemTextA(m_hWnd, edt1, "dummy-filename");
    CFileDialog::OnInitDialog();
    return FALSE;
}
