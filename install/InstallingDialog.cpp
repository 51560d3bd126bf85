#include "InstallingDialog.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CInstallingDialog, CDialog)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CInstallingDialog::CInstallingDialog(CWnd* pParent)
    : CDialog(IDD_INSTALLING, pParent), m_bCancel(FALSE), m_hWndBar(NULL), m_dProgress(0.0) {}

BOOL CInstallingDialog::Create() {
    return CDialog::Create(NULL);
}

void CInstallingDialog::SetCopyInfo(LPCSTR pszFileName, LPCSTR pszTarget) {
    m_strCopying.Format("Copying: %s", pszFileName);
    m_strTo.Format("To: %s", pszTarget);
    UpdateData(FALSE);
}

void CInstallingDialog::SetProgress(DWORD dwDone, DWORD dwTotal) {
    if (dwDone == dwTotal)
        m_dProgress = 1.0;
    else if (static_cast<LONG>(dwTotal) > 0)
        m_dProgress = static_cast<double>(static_cast<LONG>(dwDone)) / static_cast<LONG>(dwTotal);
    if (m_hWndBar != NULL)
        ::InvalidateRect(m_hWndBar, NULL, FALSE);
}

void CInstallingDialog::Finish() {
    OnOK();
}

void CInstallingDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_INSTALLING_COPYING, m_strCopying);
    DDX_Text(pDX, IDC_INSTALLING_TO, m_strTo);
}

BOOL CInstallingDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

void CInstallingDialog::OnCancel() {
    m_bCancel = TRUE;
    CDialog::OnCancel();
}

void CInstallingDialog::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (nIDCtl == IDC_INSTALLING_BAR)
        m_hWndBar = lpDrawItemStruct->hwndItem;
    CWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
}
