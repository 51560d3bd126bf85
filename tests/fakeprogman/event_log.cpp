#include "event_log.h"

#include <cstdio>

EventLog::~EventLog() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

bool EventLog::Open(const char* path) {
    file_ = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
}

void EventLog::Line(const std::string& text) {
    if (file_ == INVALID_HANDLE_VALUE)
        return;
    std::string line = text + "\n";
    DWORD written = 0;
    WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    FlushFileBuffers(file_);
}

std::string EscapeBytes(const unsigned char* data, std::size_t count) {
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        unsigned char byte = data[i];
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte <= 0x7E) {
            out += static_cast<char>(byte);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        }
    }
    return out;
}
