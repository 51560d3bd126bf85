#include "afxfile.h"

// The program tells only a file held open by another program from every other failure.
int CFileException::OsErrorToException(LONG lOsError) {
    if (lOsError == NO_ERROR)
        return none;
    return lOsError == ERROR_SHARING_VIOLATION ? sharingViolation : generic;
}

CFile::~CFile() {
    Close();
}

BOOL CFile::Open(LPCSTR pszFileName, UINT nOpenFlags, CFileException* pError) {
    Close();
    DWORD dwAccess = (nOpenFlags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    // Unless asked otherwise, no sharing at all: nobody else may open the file while this object
    // holds it.
    const DWORD dwShare = (nOpenFlags & shareDenyNone) ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE hFile =
        CreateFileA(pszFileName, dwAccess, dwShare, NULL, dwCreate, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        if (pError != NULL) {
            LONG lOsError = static_cast<LONG>(GetLastError());
            pError->m_lOsError = lOsError;
            pError->m_cause = CFileException::OsErrorToException(lOsError);
        }
        return FALSE;
    }
    m_hFile = hFile;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL))
        return hFileError;
    return dwRead;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount) {
    DWORD dwWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &dwWritten, NULL))
        return FALSE;
    if (dwWritten != nCount) {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return TRUE;
}

DWORD CFile::GetLength() const {
    DWORD dwHigh = 0;
    SetLastError(NO_ERROR);
    DWORD dwLow = GetFileSize(m_hFile, &dwHigh);
    if (dwLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return hFileError;
    if (dwHigh != 0) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return hFileError;
    }
    return dwLow;
}

BOOL CFile::SeekToEnd() {
    SetLastError(NO_ERROR);
    return SetFilePointer(m_hFile, 0, NULL, FILE_END) != INVALID_SET_FILE_POINTER ||
           GetLastError() == NO_ERROR;
}

BOOL CFile::Close() {
    if (m_hFile == INVALID_HANDLE_VALUE)
        return TRUE;
    BOOL bOk = CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    return bOk;
}
