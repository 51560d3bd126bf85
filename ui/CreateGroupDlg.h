#pragma once

#include "afxwin.h"

// Asks whether to make the Program Manager group; OK makes it, Skip passes over it.
// The dialog carries no data; the caller reads only the result of DoModal.
class CCreateGroupDlg : public CDialog {
public:
    explicit CCreateGroupDlg(CWnd* pParent = NULL);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
