#include "WelcomeDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CWelcomeDlg, CDialog)
END_MESSAGE_MAP()

CWelcomeDlg::CWelcomeDlg(CWnd* pParent) : CDialog(IDD_WELCOME, pParent) {}

void CWelcomeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
