#pragma once

#include "afxdlgs.h"

// A directory browser made from the platform's older save-file dialog: a custom template hides
// the file controls, the hidden name box holds a dummy name, and the directory the dialog shows
// on OK is the answer. Keeps the process's current directory as it was.
class CSelectDirDlg : public CFileDialog {
public:
    // pszInitialDir may be null; the caller keeps it alive while the dialog exists.
    explicit CSelectDirDlg(LPCSTR pszInitialDir);

    INT_PTR DoModal() override;
    // The chosen directory with its trailing backslash (C:\TOOLS\); after DoModal gave IDOK.
    CString GetDirectory();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};
