#pragma once

#include "afxdlgs.h"

// A directory browser made from the platform's older save-file dialog: a custom template hides
// the file controls, the hidden name box holds a dummy name, and the directory the dialog shows
// on OK is the answer. Keeps the process's current directory as it was.
class CSelectDirDlg : public CFileDialog {
public:
    // pszInitialDir may be null (the platform picks the start); the caller keeps it alive while
    // the dialog exists. The application's main window is the parent.
    explicit CSelectDirDlg(LPCSTR pszInitialDir);

    // IDOK when a directory was chosen; IDCANCEL when cancelled, or when the current directory
    // could not be read or restored (after a message).
    INT_PTR DoModal() override;
    // The chosen directory with its trailing backslash (C:\TOOLS\); only after DoModal gave
    // IDOK. Cuts the file name off the dialog's path buffer.
    CString GetDirectory();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};
