#include "CopyJob.h"

#include "CreateDirectoryPath.h"
#include "NormalizePath.h"
#include "rtlib.h"

namespace {

// Files move in blocks of this size through one buffer; the messages are dispatched twice per
// block, so Cancel takes effect within one block.
const UINT kBlockSize = 4096;

// Every failure names the file (or directory) it happened to, in the manner of
// "Can't open filename: %s".
void ReportPath(LPCSTR pszFormat, LPCSTR pszPath) {
    CString strMessage;
    strMessage.Format(pszFormat, pszPath);
    AfxMessageBox(strMessage, MB_OK, 0);
}

// A source file as messages name it: the current directory as the system gave it (so a drive
// root shows two backslashes before the name), a backslash, the bare name.
CString SourcePath(LPCSTR pszSourceDir, LPCSTR pszName) {
    CString strPath;
    strPath.Format("%s\\%s", pszSourceDir, pszName);
    return strPath;
}

// Font files that the system holds open cannot be replaced; the install goes on without them.
// The test is on the target's last three characters, letter case significant.
BOOL IsFontTarget(const CString& strTarget) {
    return strTarget.GetLength() >= 3 && strTarget.Right(3) == "FON";
}

} // namespace

CCopyJob::CCopyJob() : m_bSilent(FALSE), m_pLog(NULL), m_dlg(NULL) {}

void CCopyJob::SetDestination(const CString& strDirectory) {
    m_strDest = strDirectory;
    NormalizePath(m_strDest);
}

CString CCopyJob::GetDestination() const {
    return m_strDest;
}

void CCopyJob::AddFile(const CString& strFileName) {
    m_fileList.AddTail(strFileName);
}

BOOL CCopyJob::MakeDestinationDirectory() {
    return CreateDirectoryPath(m_strDest);
}

void CCopyJob::PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        // The application's pre-translation gives the modeless dialog its keyboard interface
        // (Esc cancels). A quit message is dispatched like any other.
        CWinApp* pApp = AfxGetApp();
        if (pApp == NULL || !pApp->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

BOOL CCopyJob::IsCancelled() {
    if (!m_bSilent)
        PumpMessages();
    return m_dlg.m_bCancel;
}

BOOL CCopyJob::CopyFiles() {
    // Whether the dialog could be made is not examined: without it the copy runs unseen and
    // cannot be cancelled.
    if (!m_bSilent)
        m_dlg.Create();
    if (IsCancelled())
        return FALSE;

    char szSourceDir[1024];
    DWORD dwLength = ::GetCurrentDirectoryA(sizeof szSourceDir, szSourceDir);
    // A result as large as the buffer is the size the directory would need: nothing was read.
    if (dwLength == 0 || dwLength >= sizeof szSourceDir) {
        AfxMessageBox("Unable to get current directory", MB_OK, 0);
        return FALSE;
    }

    // Both sides normalised, so C:\MEDIUM\ and C:\\MEDIUM are caught too. A spelling that still
    // differs (letter case, "." or "..") gets through here; the source files are opened with no
    // sharing, so the target open of such a file then fails instead of truncating the source.
    CString strSourceDir(szSourceDir);
    NormalizePath(strSourceDir);
    if (RtMbsCmp(strSourceDir, m_strDest) == 0) {
        ReportPath("Destination directory cannot be %s", szSourceDir);
        return FALSE;
    }

    DWORD dwTotal = 0;
    if (!MeasureFiles(szSourceDir, dwTotal))
        return FALSE;

    BYTE buffer[kBlockSize];
    DWORD dwDone = 0;
    for (POSITION pos = m_fileList.GetHeadPosition(); pos != NULL;) {
        const CString& strName = m_fileList.GetNext(pos);
        if (!CopyOneFile(szSourceDir, strName, buffer, dwDone, dwTotal))
            return FALSE;
    }

    if (!m_bSilent)
        m_dlg.Finish();
    return TRUE;
}

BOOL CCopyJob::MeasureFiles(LPCSTR pszSourceDir, DWORD& dwTotal) {
    for (POSITION pos = m_fileList.GetHeadPosition(); pos != NULL;) {
        const CString& strName = m_fileList.GetNext(pos);
        CFile source;
        if (!source.Open(strName, CFile::modeRead)) {
            ReportPath("Can't open filename: %s", SourcePath(pszSourceDir, strName));
            return FALSE;
        }
        DWORD dwLength = source.GetLength();
        if (dwLength == CFile::hFileError) {
            ReportPath("Can't read filename: %s", SourcePath(pszSourceDir, strName));
            return FALSE;
        }
        dwTotal += dwLength;
        if (!source.Close()) {
            ReportPath("Can't close filename: %s", SourcePath(pszSourceDir, strName));
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CCopyJob::CopyOneFile(LPCSTR pszSourceDir, const CString& strName, BYTE* pBuffer,
                           DWORD& dwDone, DWORD dwTotal) {
    CString strTarget;
    strTarget.Format("%s\\%s", static_cast<LPCSTR>(m_strDest), static_cast<LPCSTR>(strName));
    if (!m_bSilent)
        m_dlg.SetCopyInfo(strName, strTarget);
    if (IsCancelled())
        return FALSE;

    // No share flags: nobody may write the source while it is copied, and a target that is this
    // very file under another spelling cannot be opened for writing (or truncated).
    CFile source;
    if (!source.Open(strName, CFile::modeRead)) {
        ReportPath("Can't open filename: %s", SourcePath(pszSourceDir, strName));
        return FALSE;
    }

    CFileException error(CFileException::none, -1);
    CFile target;
    if (!target.Open(strTarget, CFile::modeCreate | CFile::modeWrite, &error)) {
        if (IsFontTarget(strTarget) && error.m_cause == CFileException::sharingViolation) {
            if (m_pLog != NULL)
                m_pLog->WriteFormat("Skipped %s (%d bytes): the system holds %s open",
                                    (LPCSTR)strName, static_cast<int>(source.GetLength()),
                                    (LPCSTR)strTarget);
            source.Close();
            return TRUE;
        }
        ReportPath("Can't open filename: %s", strTarget);
        return FALSE;
    }

    const DWORD dwFirst = dwDone;
    for (;;) {
        UINT nRead = source.Read(pBuffer, kBlockSize);
        if (nRead == CFile::hFileError) {
            ReportPath("Can't read filename: %s", SourcePath(pszSourceDir, strName));
            return FALSE;
        }
        if (nRead == 0)
            break;
        // A cancel here leaves the block just read unwritten.
        if (IsCancelled())
            return FALSE;
        // Write fails also on a short count: a write that crosses the full point of a disk
        // succeeds with fewer bytes, and only the next one would report the full disk.
        if (!target.Write(pBuffer, nRead)) {
            ReportPath("Can't write filename: %s", strTarget);
            return FALSE;
        }
        dwDone += nRead;
        m_dlg.SetProgress(dwDone, dwTotal);
        if (IsCancelled())
            return FALSE;
    }

    if (!source.Close()) {
        ReportPath("Can't close filename: %s", SourcePath(pszSourceDir, strName));
        return FALSE;
    }
    // Some devices (a network drive, a removable disk) report a lost write only when the file is
    // closed: that is a failed copy as well.
    if (!target.Close()) {
        ReportPath("Can't close filename: %s", strTarget);
        return FALSE;
    }
    if (m_pLog != NULL)
        m_pLog->WriteFormat("Copied %s (%d bytes) to %s", (LPCSTR)strName,
                            static_cast<int>(dwDone - dwFirst), (LPCSTR)strTarget);
    return TRUE;
}
