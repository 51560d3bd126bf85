#pragma once

#include "afxwin.h"

// The first step: what the setup will do; Continue goes on, Cancel ends the run.
// The dialog carries no data; the caller reads only the result of DoModal.
class CWelcomeDlg : public CDialog {
public:
    explicit CWelcomeDlg(CWnd* pParent = NULL);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
