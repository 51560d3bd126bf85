#include "CopyJob.h"

#include "CreateDirectoryPath.h"
#include "NormalizePath.h"

CCopyJob::CCopyJob() : m_dlg(NULL) {}

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
        CWinApp* pApp = AfxGetApp();
        if (pApp == NULL || !pApp->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

BOOL CCopyJob::CopyFiles() {
    m_dlg.Create();
    PumpMessages();
    for (POSITION pos = m_fileList.GetHeadPosition(); pos != NULL;) {
        const CString& strName = m_fileList.GetNext(pos);
        CString strTarget;
        strTarget.Format("%s\\%s", (LPCSTR)m_strDest, (LPCSTR)strName);
        m_dlg.SetCopyInfo(strName, strTarget);
        PumpMessages();
        if (!::CopyFileA(strName, strTarget, FALSE)) {
            CString strMessage;
            strMessage.Format("Can't open filename: %s", (LPCSTR)strTarget);
            AfxMessageBox(strMessage, MB_OK, 0);
            return FALSE;
        }
    }
    m_dlg.Finish();
    return TRUE;
}
