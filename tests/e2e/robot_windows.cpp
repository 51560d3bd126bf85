// Finding and reading another process's windows, and waiting for them to appear, paint or go.
#include "robot_internal.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace robot {
namespace {

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM out) {
    WindowInfo info;
    info.hwnd = hwnd;
    GetWindowThreadProcessId(hwnd, &info.pid);
    info.className = ClassOf(hwnd);
    char text[512] = "";
    // For a top-level window GetWindowText reads the caption without messaging its owner, so a
    // hung program cannot block the robot here.
    GetWindowTextA(hwnd, text, sizeof text);
    info.text = text;
    info.visible = IsWindowVisible(hwnd) != FALSE;
    reinterpret_cast<std::vector<WindowInfo>*>(out)->push_back(info);
    return TRUE;
}

BOOL CALLBACK NoteUpdate(HWND child, LPARAM pending) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE))
        *reinterpret_cast<bool*>(pending) = true;
    return TRUE;
}

// Whether the window or a visible descendant still has an update region.
bool NeedsPaint(HWND hwnd) {
    bool pending = IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE);
    EnumChildWindows(hwnd, NoteUpdate, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

} // namespace

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string ImageNameOf(DWORD pid) {
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!h)
        return "";
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(h, 0, path, &size))
        path[0] = 0;
    CloseHandle(h);
    const char* slash = strrchr(path, '\\');
    return Lower(slash ? slash + 1 : path);
}

std::vector<WindowInfo> TopLevelWindows() {
    std::vector<WindowInfo> out;
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&out));
    return out;
}

std::vector<WindowInfo> DialogsOf(DWORD pid) {
    std::vector<WindowInfo> out;
    for (const WindowInfo& w : TopLevelWindows())
        if (w.visible && w.pid == pid && w.className == kDialogClass)
            out.push_back(w);
    return out;
}

std::string DescribeWindows() {
    std::string out;
    for (const WindowInfo& w : TopLevelWindows()) {
        if (!w.visible)
            continue;
        out += "  " + Hex(reinterpret_cast<uintptr_t>(w.hwnd)) + " pid " + std::to_string(w.pid) +
               " " + ImageNameOf(w.pid) + " class \"" + w.className + "\" caption \"" + w.text +
               "\"";
        if (IsMessageBox(w.hwnd))
            out += " text \"" + TextOf(GetDlgItem(w.hwnd, kMessageBoxTextId)) + "\"";
        out += "\n";
    }
    return out.empty() ? "  (no visible top-level windows)\n" : out;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length))
        return "";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
        return "";
    text.resize(std::min<size_t>(copied, length));
    return text;
}

LONG StyleOf(HWND hwnd) {
    return GetWindowLongA(hwnd, GWL_STYLE);
}

HWND FindDialog(const std::string& caption, DWORD pid) {
    for (const WindowInfo& w : TopLevelWindows())
        if (w.visible && w.className == kDialogClass && w.text == caption && (!pid || w.pid == pid))
            return w.hwnd;
    return nullptr;
}

HWND WaitForDialog(const std::string& caption, const Process* owner, DWORD timeoutMs,
                   std::string* error) {
    DWORD pid = owner ? owner->Id() : 0;
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = FindDialog(caption, pid))
            return h;
        if (CrashedWhileWaiting("a dialog captioned \"" + caption + "\"", error))
            return nullptr;
        if (owner && !owner->IsRunning()) {
            *error = owner->Exe() + " ended before a dialog captioned \"" + caption +
                     "\" appeared. Windows now:\n" + DescribeWindows();
            return nullptr;
        }
        if (GetTickCount() - start >= timeoutMs) {
            *error = "no visible dialog (" + std::string(kDialogClass) + ") captioned \"" +
                     caption + "\" within " + std::to_string(timeoutMs) + " ms. Windows now:\n" +
                     DescribeWindows();
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

bool WaitUntilGone(HWND hwnd, DWORD timeoutMs, std::string* error) {
    DWORD start = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (GetTickCount() - start >= timeoutMs) {
            char text[256] = "";
            GetWindowTextA(hwnd, text, sizeof text);
            *error = "window \"" + std::string(text) + "\" still shown after " +
                     std::to_string(timeoutMs) + " ms";
            return false;
        }
        Sleep(kPollMs);
    }
    return true;
}

bool WaitUntilPainted(HWND hwnd, DWORD timeoutMs, std::string* error) {
    DWORD start = GetTickCount();
    for (;;) {
        if (!NeedsPaint(hwnd)) {
            // The owner answers a sent message only between messages, so once it has answered,
            // the paint that emptied the update region has returned; Wine flushes a window's
            // drawing to the X server before the thread waits for its next message.
            DWORD_PTR result = 0;
            if (SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                    &result) &&
                !NeedsPaint(hwnd))
                return true;
        }
        // A window that went away meanwhile has nothing left to paint.
        if (!IsWindow(hwnd) || !IsWindowVisible(hwnd))
            return true;
        if (GetTickCount() - start >= timeoutMs) {
            char text[256] = "";
            GetWindowTextA(hwnd, text, sizeof text);
            *error = "window " + Hex(reinterpret_cast<uintptr_t>(hwnd)) + " \"" + text +
                     "\" still not painted after " + std::to_string(timeoutMs) + " ms";
            return false;
        }
        Sleep(kPollMs);
    }
}

std::vector<ControlInfo> Controls(HWND dialog) {
    std::vector<ControlInfo> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ControlInfo info;
        info.hwnd = c;
        // Ids are 16-bit in a dialog template; 65535 (-1) marks controls never addressed.
        info.id = static_cast<WORD>(GetDlgCtrlID(c));
        info.className = Lower(ClassOf(c));
        info.text = TextOf(c);
        info.style = StyleOf(c);
        info.visible = IsWindowVisible(c) != FALSE;
        info.enabled = IsWindowEnabled(c) != FALSE;
        out.push_back(info);
    }
    return out;
}

std::vector<std::string> TextsOf(HWND dialog, const std::string& className) {
    std::vector<std::string> out;
    for (const ControlInfo& c : Controls(dialog))
        if (c.className == className)
            out.push_back(c.text);
    return out;
}

HWND Control(HWND dialog, int id, std::string* error) {
    HWND c = GetDlgItem(dialog, id);
    if (!c) {
        char caption[256] = "";
        GetWindowTextA(dialog, caption, sizeof caption);
        *error =
            "dialog \"" + std::string(caption) + "\" has no control with id " + std::to_string(id);
    }
    return c;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::vector<std::string> ListBoxItems(HWND listbox) {
    // Only the W form: sent across processes, the A form of LB_GETTEXT brings back just the
    // first character of each item (the text crosses as UTF-16 and stops at its first zero byte).
    std::vector<std::string> out;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(listbox, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &count) ||
        static_cast<LRESULT>(count) == LB_ERR)
        return out;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(listbox, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                            &length);
        if (static_cast<LRESULT>(length) == LB_ERR)
            length = 0;
        std::wstring item(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(listbox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0]),
                            SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
        if (static_cast<LRESULT>(copied) == LB_ERR)
            copied = 0;
        item.resize(std::min<size_t>(copied, length));
        int bytes = WideCharToMultiByte(CP_ACP, 0, item.c_str(), static_cast<int>(item.size()),
                                        nullptr, 0, nullptr, nullptr);
        std::string text(bytes, '\0');
        WideCharToMultiByte(CP_ACP, 0, item.c_str(), static_cast<int>(item.size()), &text[0], bytes,
                            nullptr, nullptr);
        out.push_back(text);
    }
    return out;
}

} // namespace robot
