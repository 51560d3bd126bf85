#include "Copiers.h"

#include "Stopwatch.h"

namespace bench {
namespace {

constexpr DWORD kBlockSize = 4096;

// Dispatches whatever waits in the thread's queue; the benchmark owns no windows, so this is
// the empty drain whose cost the design pays twice per block.
void DrainMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

bool CopyOneInBlocks(const std::string& from, const std::string& to, bool drain,
                     std::string* error) {
    Handle source(CreateFileA(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.Valid()) {
        *error = "cannot open " + from + ": " + robot::LastErrorText();
        return false;
    }
    Handle target(CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.Valid()) {
        *error = "cannot create " + to + ": " + robot::LastErrorText();
        return false;
    }
    static char buffer[kBlockSize];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(source.Get(), buffer, kBlockSize, &got, nullptr)) {
            *error = "cannot read " + from + ": " + robot::LastErrorText();
            return false;
        }
        if (got == 0)
            return true;
        if (drain)
            DrainMessages();
        DWORD written = 0;
        if (!WriteFile(target.Get(), buffer, got, &written, nullptr) || written != got) {
            *error = "cannot write " + to + ": " + robot::LastErrorText();
            return false;
        }
        if (drain)
            DrainMessages();
    }
}

bool CopyInBlocks(const Medium& medium, const std::string& dest, bool drain, std::string* error) {
    if (drain)
        DrainMessages();
    for (const std::string& name : medium.files) {
        if (drain)
            DrainMessages();
        if (!CopyOneInBlocks(medium.dir + "\\" + name, dest + "\\" + name, drain, error))
            return false;
    }
    return true;
}

} // namespace

bool CopyFloor(const Medium& medium, const std::string& dest, std::string* error) {
    return CopyInBlocks(medium, dest, true, error);
}

bool CopyFloorNoDrain(const Medium& medium, const std::string& dest, std::string* error) {
    return CopyInBlocks(medium, dest, false, error);
}

double EmptyDrainMicroseconds(int count) {
    DrainMessages();
    double start = NowMs();
    for (int i = 0; i < count; ++i)
        DrainMessages();
    return 1000.0 * (NowMs() - start) / count;
}

IdleWindow::IdleWindow()
    : hwnd_(CreateWindowExA(0, "STATIC", "Copying", WS_POPUP | WS_CAPTION | WS_VISIBLE, 340, 300,
                            340, 140, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {
    if (hwnd_)
        UpdateWindow(hwnd_);
    DrainMessages();
}

IdleWindow::~IdleWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    DrainMessages();
}

bool CopyWithCopyFile(const Medium& medium, const std::string& dest, std::string* error) {
    for (const std::string& name : medium.files) {
        std::string from = medium.dir + "\\" + name;
        std::string to = dest + "\\" + name;
        if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
            *error = "CopyFile " + from + " -> " + to + ": " + robot::LastErrorText();
            return false;
        }
    }
    return true;
}

} // namespace bench
