// Strings of the framework layer: a counted, heap-owned 8-bit string and an ordered list of them.
#pragma once

#include <windows.h>

#include <stdarg.h>

// Ends the program when the heap cannot give what was asked of it, so that nothing goes on with a
// string cut short or an object missing: shows "Out of memory." in a box that the system shows
// even then, and exits with code 2, a failed run.
[[noreturn]] void AfxOutOfMemory();

// Owns its buffer; always NUL-terminated, so it converts to LPCSTR for the Win32 calls.
// Pass it to Format's variable arguments as (LPCSTR)str. Running out of memory ends the program
// (AfxOutOfMemory): no operation keeps the old text or a part of the new one instead.
class CString {
public:
    CString();
    CString(const CString& src);
    CString(LPCSTR psz);
    ~CString();

    CString& operator=(const CString& src);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);

    int GetLength() const { return m_nLength; }
    void Empty();
    char operator[](int nIndex) const { return m_pchData[nIndex]; }
    operator LPCSTR() const { return m_pchData; }

    // printf-style formatting of %s, %d, %c and %% (see RtFormatV); the whole text or, when
    // memory runs out, the end of the program. Returns TRUE.
    BOOL Format(LPCSTR pszFormat, ...) __attribute__((format(ms_printf, 2, 3)));
    void FormatV(LPCSTR pszFormat, va_list args);

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;

    // Direct access for APIs that fill a buffer: GetBuffer makes room for nMinLength characters
    // (never null); ReleaseBuffer takes the length up to the first NUL.
    LPSTR GetBuffer(int nMinLength);
    void ReleaseBuffer();

private:
    void Assign(LPCSTR psz, int nLength);
    void Append(LPCSTR psz, int nLength);
    void Reserve(int nLength);

    char* m_pchData;
    int m_nLength;
    int m_nCapacity;
};

CString operator+(const CString& a, const CString& b);
// Byte-wise comparison, letter case significant.
bool operator==(const CString& a, LPCSTR b);
bool operator!=(const CString& a, LPCSTR b);

struct __POSITION;
typedef __POSITION* POSITION;

// Ordered list of strings; walked from head to tail with a POSITION.
class CStringList {
public:
    CStringList() = default;
    ~CStringList();
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;

    void AddTail(const CString& str);
    POSITION GetHeadPosition() const;
    // Returns the element at pos and advances pos to the next one (NULL after the tail).
    const CString& GetNext(POSITION& pos) const;

private:
    struct CNode;
    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
};
