// Files of the framework layer: a thin owner of one Win32 file handle.
// Without C++ exceptions, Read, Write, GetLength and Close report failure through their result;
// the cause is then in GetLastError().
#pragma once

#include <windows.h>

class CFileException {
public:
    // The only causes the program tells apart.
    enum { none = 0, generic = 1, sharingViolation = 11 };

    explicit CFileException(int cause = none, LONG lOsError = -1)
        : m_cause(cause), m_lOsError(lOsError) {}

    static int OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
};

class CFile {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        // Others may open the file too, for reading and writing: a log that someone reads
        // while it grows.
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        // With modeCreate: a file that is there is opened as it is, not emptied.
        modeNoTruncate = 0x2000,
    };
    // Result of Read and GetLength when the call failed.
    static constexpr DWORD hFileError = 0xFFFFFFFF;

    CFile() : m_hFile(INVALID_HANDLE_VALUE) {}
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens for reading, or with modeWrite for writing, and shares the file with nobody unless
    // shareDenyNone says so. On failure, stores the cause in *pError when given one.
    BOOL Open(LPCSTR pszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    // Bytes read (0 at the end of the file), or hFileError.
    UINT Read(void* lpBuf, UINT nCount);
    // TRUE only when every byte was written: a short write (a full disk) is a failure, with
    // ERROR_DISK_FULL as the last error when the system gave no other.
    BOOL Write(const void* lpBuf, UINT nCount);
    // Length in bytes, or hFileError.
    DWORD GetLength() const;
    // Moves to the end of the file, where the next Write appends; FALSE when it cannot.
    BOOL SeekToEnd();
    // TRUE also when nothing was open.
    BOOL Close();

private:
    HANDLE m_hFile;
};
