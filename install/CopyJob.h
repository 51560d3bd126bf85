#pragma once

#include "InstallLog.h"
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
    // CreateDirectoryPath on the destination; its result and its messages are the job's.
    BOOL MakeDestinationDirectory();
    // TRUE when every file was copied (or was a font held open by the system, which is skipped).
    // FALSE after a failure it has reported with a message naming the file, or after a cancel,
    // which it does not report. Called at most once per job.
    BOOL CopyFiles();
    // Dispatches every window message waiting in the thread's queue, then returns.
    void PumpMessages();
    // Whether the user cancelled the copy (Cancel, Esc or Close in the Installing dialog).
    BOOL WasCancelled() const { return m_dlg.m_bCancel; }

    // A silent copy shows no Installing dialog and so has no messages to dispatch: nobody can
    // cancel it, and it runs at the speed of the disk. Set before CopyFiles.
    BOOL m_bSilent;
    // Where every file's outcome is logged; NULL for none.
    CInstallLog* m_pLog;

private:
    // PumpMessages, then whether the user has cancelled.
    BOOL IsCancelled();
    // Adds the length of every source file to dwTotal.
    BOOL MeasureFiles(LPCSTR pszSourceDir, DWORD& dwTotal);
    // Copies one file through pBuffer, block by block; TRUE also when a held font is skipped.
    BOOL CopyOneFile(LPCSTR pszSourceDir, const CString& strName, BYTE* pBuffer, DWORD& dwDone,
                     DWORD dwTotal);

    CInstallingDialog m_dlg;
    CString m_strDest;
    CStringList m_fileList;
};
