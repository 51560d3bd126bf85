// Message boxes and crash windows: the dialogs a program shows without being asked.
#include "robot_internal.h"

namespace robot {

bool IsMessageBox(HWND dialog) {
    // Its text static (0xFFFF) alone does not tell a message box from a dialog whose statics
    // all carry the "unused" id -1. Its icon slot does: an SS_ICON static with id 1088 under
    // Wine (20 under Windows), present even when the box shows no icon.
    if (ClassOf(dialog) != kDialogClass)
        return false;
    HWND text = GetDlgItem(dialog, kMessageBoxTextId);
    if (!text || Lower(ClassOf(text)) != "static")
        return false;
    for (int iconId : {1088, 20}) {
        HWND icon = GetDlgItem(dialog, iconId);
        if (icon && Lower(ClassOf(icon)) == "static" && (StyleOf(icon) & SS_TYPEMASK) == SS_ICON)
            return true;
    }
    return false;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.hwnd = box;
    char caption[512] = "";
    GetWindowTextA(box, caption, sizeof caption);
    info.caption = caption;
    info.text = TextOf(GetDlgItem(box, kMessageBoxTextId));
    for (const ControlInfo& c : Controls(box))
        if (c.className == "button" && c.visible)
            info.buttons.push_back(c.text);
    return info;
}

HWND WaitForMessageBox(const std::string& caption, const Process* owner, DWORD timeoutMs,
                       std::string* error) {
    DWORD start = GetTickCount();
    for (;;) {
        for (const WindowInfo& w : TopLevelWindows())
            if (w.visible && (!owner || w.pid == owner->Id()) &&
                (caption.empty() || w.text == caption) && IsMessageBox(w.hwnd))
                return w.hwnd;
        if (CrashedWhileWaiting("a message box", error))
            return nullptr;
        if (owner && !owner->IsRunning()) {
            *error = owner->Exe() + " ended before a message box appeared. Windows now:\n" +
                     DescribeWindows();
            return nullptr;
        }
        if (GetTickCount() - start >= timeoutMs) {
            *error = "no message box" + (caption.empty() ? "" : " captioned \"" + caption + "\"") +
                     " within " + std::to_string(timeoutMs) + " ms. Windows now:\n" +
                     DescribeWindows();
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

bool DismissMessageBox(HWND box, std::string* error) {
    return Click(box, IDOK, error) && WaitUntilGone(box, kDefaultTimeoutMs, error);
}

std::vector<WindowInfo> CrashWindows() {
    std::vector<WindowInfo> out;
    for (const WindowInfo& w : TopLevelWindows())
        if (w.visible && (w.text == "Program Error" || ImageNameOf(w.pid) == "winedbg.exe"))
            out.push_back(w);
    return out;
}

void CloseCrashWindows() {
    for (const WindowInfo& w : CrashWindows()) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, w.pid)) {
            TerminateProcess(h, 1);
            WaitForSingleObject(h, 5000);
            CloseHandle(h);
        }
    }
}

bool CrashedWhileWaiting(const std::string& awaited, std::string* error) {
    if (CrashWindows().empty())
        return false;
    *error =
        "a program crashed while waiting for " + awaited + ". Windows now:\n" + DescribeWindows();
    return true;
}

} // namespace robot
