#pragma once

#include "InstallingDialog.h"
#include "afxwin.h"

// Installs the listed files: makes the destination directory, then copies every file by its
// bare name from the current directory into the destination, under the Installing dialog.
class CCopyJob {
public:
    CCopyJob();

    // Keeps the directory in its normalised form (see NormalizePath).
    void SetDestination(const CString& strDirectory);
    CString GetDestination() const;
    // Files are copied in the order they were added; a name added twice is copied twice.
    void AddFile(const CString& strFileName);
    BOOL MakeDestinationDirectory();
    // TRUE when every file was copied; FALSE after a failure it has reported, or a cancel.
    BOOL CopyFiles();
    // Dispatches every waiting message of the thread, then returns.
    void PumpMessages();

private:
    CInstallingDialog m_dlg;
    CString m_strDest;
    CStringList m_fileList;
};
