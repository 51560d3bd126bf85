// Files of the framework layer: a thin owner of one Win32 file handle.
//
// The program is built without C++ exceptions, so the operations that the original design lets
// raise a file exception (Read, Write, GetLength, Close) report failure through their result
// instead; the cause is then in GetLastError().
#pragma once

#include <windows.h>

class CFileException {
public:
    enum {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, LONG lOsError = -1)
        : m_cause(cause), m_lOsError(lOsError) {}

    // Maps a Win32 error code to none, sharingViolation or generic: the only causes the program
    // tells apart.
    static int OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
};

class CFile {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };
    // Result of Read and GetLength when the call failed.
    static constexpr DWORD hFileError = 0xFFFFFFFF;

    CFile() : m_hFile(INVALID_HANDLE_VALUE) {}
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens for reading, or with modeWrite for writing, and shares the file with nobody. On
    // failure, stores the cause in *pError when given one.
    BOOL Open(LPCSTR pszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    // Bytes read (0 at the end of the file), or hFileError.
    UINT Read(void* lpBuf, UINT nCount);
    // TRUE only when every byte was written: a short write (a full disk) is a failure, with
    // ERROR_DISK_FULL as the last error when the system gave no other.
    BOOL Write(const void* lpBuf, UINT nCount);
    // Length in bytes, or hFileError.
    DWORD GetLength() const;
    BOOL Close();
    // Closes without reporting anything; used on paths that already failed.
    void Abort();

private:
    HANDLE m_hFile;
};
