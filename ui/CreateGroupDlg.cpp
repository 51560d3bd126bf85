#include "CreateGroupDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CCreateGroupDlg, CDialog)
END_MESSAGE_MAP()

CCreateGroupDlg::CCreateGroupDlg(CWnd* pParent) : CDialog(IDD_CREATE_GROUP, pParent) {}

void CCreateGroupDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
