#pragma once

#include "afxwin.h"

// The log of one run, appended to the file that the administrator names: one line per event,
// each starting with the local time to the millisecond, in the system's ANSI code page. Each
// line reaches the file when it happens, so a run that is killed keeps the lines so far, and
// others may read (or append to) the file meanwhile. A line that cannot be written is lost, and
// the run goes on as it would: the log never turns an install into a failure.
class CInstallLog {
public:
    CInstallLog() : m_bOpen(FALSE) {}

    // Opens the file for appending, making it when it is missing; FALSE when it cannot.
    BOOL Open(LPCSTR pszFileName);
    BOOL IsOpen() const { return m_bOpen; }
    // Appends one line, pszLead then pszText; nothing when no log is open. The line breaks of a
    // text of several lines become blanks, so that every line of the log begins with its time.
    // Takes nothing from the heap, so that even the out-of-memory message reaches the log.
    void Write(LPCSTR pszText, LPCSTR pszLead = "");
    // Appends one line formatted as CString::Format formats.
    void WriteFormat(LPCSTR pszFormat, ...) __attribute__((format(ms_printf, 2, 3)));

private:
    CFile m_file;
    BOOL m_bOpen;
};

// "2026-12-08 18:30:12.345 ": the local time as each line of the log begins; pszBuffer holds at
// least kLogStampSize bytes.
const int kLogStampSize = 25;
void FormatLogStamp(const SYSTEMTIME& time, LPSTR pszBuffer);
