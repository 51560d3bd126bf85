// A test robot that drives another process's dialogs the way a person would: it finds windows
// by class and caption, reads controls, clicks buttons, types keys and reads the screen.
// Runs under Wine in the same prefix as the program it drives; it must, because window handles
// and the window list belong to one wineserver.
//
// Nothing here uses GoogleTest: every operation reports failure through its result and, where
// a caller needs to know why, a message naming what was expected and what was found.
#pragma once

#include <windows.h>

#include "file_tree.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace robot {

// Long enough for the first window of a fresh prefix (explorer starts with it), short enough
// that a broken program fails its test quickly.
constexpr DWORD kDefaultTimeoutMs = 15000;

// ---- Files -------------------------------------------------------------------------------

struct FileSum {
    uint64_t size = 0;
    uint64_t hash = 0; // FNV-1a over the contents
    bool operator==(const FileSum& o) const { return size == o.size && hash == o.hash; }
    bool operator!=(const FileSum& o) const { return !(*this == o); }
};

// Relative path (upper case, backslashes) to size and hash, for every file under a directory.
using TreeSums = std::map<std::string, FileSum>;

using support::IsDirectory;
using support::PathExists;
using support::RemoveTree;
bool SumFile(const std::string& path, FileSum* sum);
bool SumTree(const std::string& root, TreeSums* sums, std::string* error);
// Empty when equal; otherwise one line per added, removed or changed file.
std::string DiffSums(const TreeSums& before, const TreeSums& after);

// Paths of every file and directory under root, relative to it, excluding the named top-level
// entries (case-insensitive); used to show that a run created nothing.
std::vector<std::string> ListTree(const std::string& root, const std::vector<std::string>& skip);

// ---- Processes ---------------------------------------------------------------------------

// A top-level window as the robot sees it.
struct WindowInfo {
    HWND hwnd = nullptr;
    DWORD pid = 0;
    std::string className;
    std::string text;
    bool visible = false;
};

// A process started by the robot. The destructor terminates it if it is still running, so a
// failed test leaves nothing behind.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Fails while an earlier launch still runs; after it has ended, starts anew. `arguments`
    // follow the program's quoted name on its command line, after one blank.
    bool Launch(const std::string& exe, const std::string& workDir, std::string* error,
                const std::string& arguments = "");
    bool IsRunning() const;
    DWORD Id() const { return pid_; }
    const std::string& Exe() const { return exe_; }
    // Waits for the process to end and stores its exit code. Fails with a message on time-out.
    // With `dialogsShown`, also notes every visible dialog (message boxes included) that the
    // process shows while it is being waited for.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode, std::string* error,
                     std::vector<WindowInfo>* dialogsShown = nullptr);
    // Ends the process if it still runs; returns whether it had to.
    bool Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    std::string exe_;
};

// ---- Windows and controls ----------------------------------------------------------------

struct ControlInfo {
    HWND hwnd = nullptr;
    int id = 0;
    std::string className; // lower case: "button", "static", "edit", ...
    std::string text;
    LONG style = 0;
    bool visible = false;
    bool enabled = false;
};

// Dialog boxes, message boxes included, have this predefined class.
constexpr const char* kDialogClass = "#32770";

std::vector<WindowInfo> TopLevelWindows();
// The visible top-level dialogs of process `pid`.
std::vector<WindowInfo> DialogsOf(DWORD pid);
// One line per visible top-level window (handle, pid, class, caption), for failure messages.
std::string DescribeWindows();
std::string ClassOf(HWND hwnd);
// Text of any window, read with WM_GETTEXT so that edit controls give their current contents.
std::string TextOf(HWND hwnd);
LONG StyleOf(HWND hwnd);

// The visible top-level dialog with this exact caption, owned by process `pid` (0: any).
HWND FindDialog(const std::string& caption, DWORD pid);
// Waits until FindDialog succeeds. When `owner` is given and ends first, fails at once.
HWND WaitForDialog(const std::string& caption, const Process* owner, DWORD timeoutMs,
                   std::string* error);
// Waits until the window is destroyed or hidden.
bool WaitUntilGone(HWND hwnd, DWORD timeoutMs, std::string* error);
// Waits until the window and all its descendants have painted what is due (no update region
// left) and its thread has finished painting and flushed its drawing to the screen. A window
// that is destroyed or hidden meanwhile counts as painted.
bool WaitUntilPainted(HWND hwnd, DWORD timeoutMs, std::string* error);

// Direct children in z-order, which for a dialog is its template order.
std::vector<ControlInfo> Controls(HWND dialog);
// Texts of the controls of a class (lower case), in template order.
std::vector<std::string> TextsOf(HWND dialog, const std::string& className);
HWND Control(HWND dialog, int id, std::string* error);

// Presses a button as a click does: posted, because a button that opens a modal dialog does
// not return from a sent BM_CLICK until that dialog closes. Fails for a hidden or disabled one.
bool Click(HWND dialog, int id, std::string* error);
// Posts a key press (down and up) to the control with the keyboard focus, or to the dialog.
bool PressKey(HWND dialog, UINT vk, std::string* error);
// The system menu's Close command (what Alt+F4 and the close box send).
bool SysClose(HWND window);
bool SetText(HWND control, const std::string& text, std::string* error);
// The control with the keyboard focus in the window's thread, or null.
HWND FocusOf(HWND window);
// Items of a list box or combo box list, read as UTF-16 and converted to the ANSI code page.
std::vector<std::string> ListBoxItems(HWND listbox);

// ---- Message boxes -----------------------------------------------------------------------

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
};

// A message box's text is its static control with id 0xFFFF.
constexpr int kMessageBoxTextId = 0xFFFF;

bool IsMessageBox(HWND dialog);
MessageBoxInfo ReadMessageBox(HWND box);
// Waits for a visible message box of process `owner` (any caption when `caption` is empty).
HWND WaitForMessageBox(const std::string& caption, const Process* owner, DWORD timeoutMs,
                       std::string* error);
// Presses OK (IDOK) and waits for the box to go.
bool DismissMessageBox(HWND box, std::string* error);

// ---- Crashes -----------------------------------------------------------------------------

// Visible windows that show a program crashed: Wine's crash dialog ("Program Error") or any
// window of the debugger winedbg.
std::vector<WindowInfo> CrashWindows();
// Ends the processes that own crash windows (the debugger, and with it the crashed program).
void CloseCrashWindows();
// True, with a message naming what was awaited, when a crash window is shown: the waits below
// give up at once then instead of running into their time-out.
bool CrashedWhileWaiting(const std::string& awaited, std::string* error);

// ---- Screen ------------------------------------------------------------------------------

// CLR_INVALID when the point is off the screen.
COLORREF ScreenPixel(int x, int y);
// Writes the whole screen as a 24-bit .bmp file.
bool SaveScreenshot(const std::string& path, std::string* error);
// A picture read back from a .bmp file: its bits per pixel (24, or 32 where the fourth byte of
// each pixel counts as alpha for image tools) and its pixels, in rows as the file stores them.
struct Picture {
    int cx = 0;
    int cy = 0;
    int bitsPerPixel = 0;
    std::vector<COLORREF> pixels;
};
bool ReadScreenshot(const std::string& path, Picture* picture, std::string* error);

// ---- Misc --------------------------------------------------------------------------------

std::string Env(const char* name, const std::string& fallback = "");
std::string Hex(uintptr_t value);
std::string LastErrorText(DWORD code = GetLastError());

} // namespace robot
