#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Helpers of the file-installation tests: they watch the Installing dialog from inside the
// test's thread, switch the current directory (the copy job's source) and hold files open.

// Sees the Installing dialog as a person would, through a hook on the messages sent to the
// thread's windows, after they were handled: the dialog when it starts, each text of its two
// lines, each draw of its bar and what it drew.
// It can also press Cancel at a chosen moment; the click is posted, so the copy job meets it
// at its next poll. One watch at a time.
class InstallingWatch {
public:
    InstallingWatch();
    ~InstallingWatch();
    InstallingWatch(const InstallingWatch&) = delete;
    InstallingWatch& operator=(const InstallingWatch&) = delete;

    // Presses Cancel as soon as the dialog starts.
    void CancelWhenShown() { cancelAt_ = atShown; }
    // Presses Cancel when the first line becomes "Copying: <name>".
    void CancelWhenCopying(const std::string& name);
    // Presses Cancel at the nth draw of the bar while <name> is being copied.
    void CancelAtBarDraw(const std::string& name, int n);

    // How a draw left the bar, read from its top corners.
    enum BarState { barEmpty, barPartial, barFull };
    struct BarDraw {
        size_t file; // how many "Copying:" texts had been set by then
        BarState state;
    };

    HWND dialog = nullptr;
    std::vector<std::string> copying; // every text of control 1006, in order
    std::vector<std::string> to;      // every text of control 1007, in order
    std::vector<BarDraw> barDraws;    // every draw of the bar, control 1003
    bool cancelPressed = false;

private:
    enum CancelAt { never, atShown, atCopying, atBarDraw };
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    void Seen(const CWPRETSTRUCT& cwp);
    void PressCancel();

    HHOOK hook_ = nullptr;
    CancelAt cancelAt_ = never;
    std::string cancelName_;
    int cancelDraw_ = 0;
    int drawsOfName_ = 0;
};

// Makes a directory the current one for the life of the object.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& path);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    char saved_[MAX_PATH];
};

// Holds a file open with no sharing, as a program using a font would, until the object goes.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

bool FileExists(const std::string& path);
// The whole content of a file; empty when it cannot be read.
std::string FileContent(const std::string& path);
// n bytes of a pattern that differs between blocks, so a misplaced block shows.
std::string Pattern(size_t n, unsigned seed);
