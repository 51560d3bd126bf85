// A file held open with no sharing, as a program using a font holds it: no one else can open it
// until the object goes or Release is called.
#pragma once

#include <windows.h>

#include <string>

namespace support {

class HeldFile {
public:
    // Opens an existing file; IsOpen tells whether that worked (an empty path never does).
    explicit HeldFile(const std::string& path)
        : handle_(path.empty() ? INVALID_HANDLE_VALUE
                               : CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

} // namespace support
