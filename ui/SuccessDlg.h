#pragma once

#include "afxwin.h"

// The last step: the setup is complete.
// The dialog carries no data; the caller reads only the result of DoModal.
class CSuccessDlg : public CDialog {
public:
    explicit CSuccessDlg(CWnd* pParent = NULL);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
