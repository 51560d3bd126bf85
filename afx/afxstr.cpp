#include "afxstr.h"
#include "rtlib.h"

#include <limits.h>
#include <stdarg.h>
#include <string.h>

#include <utility>

// Every empty string points here, so that an empty CString costs no allocation.
static char afxEmptyString[1] = {0};

CString::CString() : m_pchData(afxEmptyString), m_nLength(0), m_nCapacity(0) {}

CString::CString(const CString& src) : CString() {
    Assign(src.m_pchData, src.m_nLength);
}

CString::CString(LPCSTR psz) : CString() {
    if (psz != NULL)
        Assign(psz, lstrlenA(psz));
}

CString::~CString() {
    if (m_nCapacity != 0)
        RtFree(m_pchData);
}

void CString::Reserve(int nLength) {
    if (nLength <= m_nCapacity)
        return;
    // The buffer holds a NUL past the capacity, and the capacity must stay an int.
    if (nLength < 0 || nLength == INT_MAX)
        AfxOutOfMemory();
    int nCapacity = m_nCapacity < 16 ? 16 : m_nCapacity;
    while (nCapacity < nLength)
        nCapacity = nCapacity <= (INT_MAX - 1) / 2 ? nCapacity * 2 : nLength;
    char* p = static_cast<char*>(m_nCapacity ? RtReAlloc(m_pchData, nCapacity + 1)
                                             : RtAlloc(nCapacity + 1));
    if (p == NULL)
        AfxOutOfMemory();
    if (m_nCapacity == 0)
        p[0] = 0;
    m_pchData = p;
    m_nCapacity = nCapacity;
}

void CString::Assign(LPCSTR psz, int nLength) {
    if (nLength == 0) {
        Empty();
        return;
    }
    if (psz >= m_pchData && psz <= m_pchData + m_nLength) {
        CString copy(*this);
        Assign(copy.m_pchData + (psz - m_pchData), nLength);
        return;
    }
    Reserve(nLength);
    memcpy(m_pchData, psz, nLength);
    m_pchData[nLength] = 0;
    m_nLength = nLength;
}

void CString::Append(LPCSTR psz, int nLength) {
    if (nLength == 0)
        return;
    if (psz >= m_pchData && psz <= m_pchData + m_nLength) {
        CString copy(psz);
        Append(copy.m_pchData, nLength);
        return;
    }
    if (nLength > INT_MAX - m_nLength)
        AfxOutOfMemory();
    Reserve(m_nLength + nLength);
    memcpy(m_pchData + m_nLength, psz, nLength);
    m_nLength += nLength;
    m_pchData[m_nLength] = 0;
}

void CString::Empty() {
    m_nLength = 0;
    if (m_nCapacity != 0)
        m_pchData[0] = 0;
}

CString& CString::operator=(const CString& src) {
    if (this != &src)
        Assign(src.m_pchData, src.m_nLength);
    return *this;
}

CString& CString::operator+=(LPCSTR psz) {
    if (psz != NULL)
        Append(psz, lstrlenA(psz));
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

BOOL CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
    return TRUE;
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    // Made in a string of its own, so that an argument may be this string's own text.
    CString result;
    int nLength = 0;
    do {
        // The buffer grows to the length of the whole text, which the first try measures.
        result.Reserve(nLength);
        va_list argsTry;
        va_copy(argsTry, args);
        nLength = RtFormatV(result.m_pchData, result.m_nCapacity + 1, pszFormat, argsTry);
        va_end(argsTry);
        if (nLength < 0)
            AfxOutOfMemory();
    } while (nLength > result.m_nCapacity);
    result.m_nLength = nLength;
    std::swap(m_pchData, result.m_pchData);
    std::swap(m_nLength, result.m_nLength);
    std::swap(m_nCapacity, result.m_nCapacity);
}

// A count or position cut to 0..nLength.
static int AfxClamp(int n, int nLength) {
    return n < 0 ? 0 : (n > nLength ? nLength : n);
}

CString CString::Left(int nCount) const {
    CString result;
    result.Assign(m_pchData, AfxClamp(nCount, m_nLength));
    return result;
}

CString CString::Right(int nCount) const {
    return Mid(m_nLength - AfxClamp(nCount, m_nLength));
}

CString CString::Mid(int nFirst) const {
    nFirst = AfxClamp(nFirst, m_nLength);
    CString result;
    result.Assign(m_pchData + nFirst, m_nLength - nFirst);
    return result;
}

LPSTR CString::GetBuffer(int nMinLength) {
    if (nMinLength > m_nLength)
        Reserve(nMinLength);
    if (m_nCapacity == 0)
        Reserve(1);
    return m_pchData;
}

void CString::ReleaseBuffer() {
    m_nLength = lstrlenA(m_pchData);
}

CString operator+(const CString& a, const CString& b) {
    CString s(a);
    s += b;
    return s;
}

bool operator==(const CString& a, LPCSTR b) {
    return RtStrCmp(a, b) == 0;
}
bool operator!=(const CString& a, LPCSTR b) {
    return RtStrCmp(a, b) != 0;
}

struct CStringList::CNode {
    CNode* pNext;
    CString data;
};

CStringList::~CStringList() {
    while (m_pHead) {
        CNode* pNext = m_pHead->pNext;
        delete m_pHead;
        m_pHead = pNext;
    }
}

void CStringList::AddTail(const CString& str) {
    CNode* pNode = new CNode{NULL, str};
    if (m_pTail)
        m_pTail->pNext = pNode;
    else
        m_pHead = pNode;
    m_pTail = pNode;
}

POSITION CStringList::GetHeadPosition() const {
    return reinterpret_cast<POSITION>(m_pHead);
}

const CString& CStringList::GetNext(POSITION& pos) const {
    CNode* pNode = reinterpret_cast<CNode*>(pos);
    pos = reinterpret_cast<POSITION>(pNode->pNext);
    return pNode->data;
}
