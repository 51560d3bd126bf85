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
    if (dlg.DoModal() == IDOK) {
        m_strDirectory = dlg.GetDirectory();
        UpdateData(FALSE);
    }
    GetDlgItem(IDC_DIRECTORY_EDIT)->SetFocus();
}
