#include "SuccessDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CSuccessDlg, CDialog)
END_MESSAGE_MAP()

CSuccessDlg::CSuccessDlg(CWnd* pParent) : CDialog(IDD_SUCCESS, pParent) {}

void CSuccessDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
