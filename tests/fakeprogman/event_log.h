// The fake Program Manager's event log: one line per event, written straight to the file so that
// a test reading it sees every line as soon as the event has happened.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class EventLog {
public:
    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    ~EventLog();

    // Creates (or truncates) the file; readers and deleters may share it.
    bool Open(const char* path);
    // Appends text and a line feed with one WriteFile, then flushes the file.
    void Line(const std::string& text);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Printable ASCII (0x20-0x7E) stays as it is, except the backslash, which is doubled; every other
// byte becomes \xHH with two lower-case hex digits.
std::string EscapeBytes(const unsigned char* data, std::size_t count);
