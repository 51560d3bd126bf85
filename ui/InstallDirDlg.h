#pragma once

#include "afxwin.h"

// The step in which the user confirms, types or browses for the destination directory. Whatever
// the edit box holds on OK becomes m_strDirectory, unchecked.
class CInstallDirDlg : public CDialog {
public:
    explicit CInstallDirDlg(CWnd* pParent = NULL);

    CString m_strDirectory; // set by the caller before DoModal, read after it

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBrowse();

    DECLARE_MESSAGE_MAP()
};
