#include "InstallLog.h"

#include <stdarg.h>

namespace {

// The digits of n, nDigits of them, zero-padded, from psz on; returns the end.
LPSTR PutDigits(LPSTR psz, int n, int nDigits) {
    for (int i = nDigits - 1; i >= 0; i--, n /= 10)
        psz[i] = static_cast<char>('0' + n % 10);
    return psz + nDigits;
}

} // namespace

void FormatLogStamp(const SYSTEMTIME& time, LPSTR pszBuffer) {
    const struct {
        int nValue;
        int nDigits;
        char chAfter;
    } kFields[] = {
        {time.wYear, 4, '-'},         {time.wMonth, 2, '-'},  {time.wDay, 2, ' '},
        {time.wHour, 2, ':'},         {time.wMinute, 2, ':'}, {time.wSecond, 2, '.'},
        {time.wMilliseconds, 3, ' '},
    };
    LPSTR psz = pszBuffer;
    for (const auto& field : kFields) {
        psz = PutDigits(psz, field.nValue, field.nDigits);
        *psz++ = field.chAfter;
    }
    *psz = 0;
}

BOOL CInstallLog::Open(LPCSTR pszFileName) {
    m_bOpen = m_file.Open(pszFileName, CFile::modeCreate | CFile::modeNoTruncate |
                                           CFile::modeWrite | CFile::shareDenyNone);
    return m_bOpen;
}

void CInstallLog::Write(LPCSTR pszText, LPCSTR pszLead) {
    if (!m_bOpen)
        return;
    SYSTEMTIME time;
    ::GetLocalTime(&time);
    char szStamp[kLogStampSize];
    FormatLogStamp(time, szStamp);
    // Another run may have appended since: every line goes to the end as it is now. The system
    // has no append-only access on every version SETUP runs on.
    m_file.SeekToEnd();
    m_file.Write(szStamp, lstrlenA(szStamp));
    m_file.Write(pszLead, lstrlenA(pszLead));
    // A line break is never the trail byte of a double-byte character.
    for (LPCSTR psz = pszText; *psz != 0;) {
        int n = 0;
        while (psz[n] != 0 && psz[n] != '\r' && psz[n] != '\n')
            n++;
        m_file.Write(psz, n);
        for (psz += n; *psz == '\r' || *psz == '\n'; psz++) {
        }
        if (*psz != 0)
            m_file.Write(" ", 1);
    }
    m_file.Write("\r\n", 2);
}

void CInstallLog::WriteFormat(LPCSTR pszFormat, ...) {
    if (!m_bOpen)
        return;
    CString strLine;
    va_list args;
    va_start(args, pszFormat);
    strLine.FormatV(pszFormat, args);
    va_end(args);
    Write(strLine);
}
