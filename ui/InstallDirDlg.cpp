#include "InstallDirDlg.h"

#include "SelectDirDlg.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CInstallDirDlg, CDialog)
ON_BN_CLICKED(IDC_DIRECTORY_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CInstallDirDlg::CInstallDirDlg(CWnd* pParent) : CDialog(IDD_INSTALL_DIRECTORY, pParent) {}

void CInstallDirDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DIRECTORY_EDIT, m_strDirectory);
}

void CInstallDirDlg::OnBrowse() {
    // Starts from the last exchanged directory, not from text typed since.
    CSelectDirDlg dlg(m_strDirectory);
    // The browser belongs to the backdrop, which alone it disables: this dialog takes no input
    // while it is up, or a second Browse... or an OK underneath would race the browser's answer.
    EnableWindow(FALSE);
    INT_PTR nResult = dlg.DoModal();
    EnableWindow(TRUE);
    if (nResult == IDOK) {
        m_strDirectory = dlg.GetDirectory();
        UpdateData(FALSE);
    }
    // Also brings this dialog back to the front: the system activated none while it was disabled.
    GetDlgItem(IDC_DIRECTORY_EDIT)->SetFocus();
}
