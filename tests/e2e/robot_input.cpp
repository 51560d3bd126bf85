// Operating another process's controls as a person would: clicks, keys, typed text.
#include "robot_internal.h"

namespace robot {
namespace {

bool PostKey(HWND target, UINT vk) {
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    // Repeat count 1; for the release also the previous-state and transition bits.
    if (!PostMessageA(target, WM_KEYDOWN, vk, scan | 1))
        return false;
    // The press alone may already have ended the dialog (Esc, Enter) before the release is
    // posted: a release that finds its window gone has nothing left to do.
    return PostMessageA(target, WM_KEYUP, vk, scan | 1 | 0xC0000000) || !IsWindow(target);
}

} // namespace

bool Click(HWND dialog, int id, std::string* error) {
    HWND button = Control(dialog, id, error);
    if (!button)
        return false;
    if (!IsWindowVisible(button) || !IsWindowEnabled(button)) {
        *error = "button " + std::to_string(id) + " \"" + TextOf(button) + "\" is " +
                 (IsWindowVisible(button) ? "disabled" : "hidden");
        return false;
    }
    if (!PostMessageA(button, BM_CLICK, 0, 0)) {
        *error = "PostMessage BM_CLICK: " + LastErrorText();
        return false;
    }
    return true;
}

bool PressKey(HWND dialog, UINT vk, std::string* error) {
    // Keys go to the focus window, as the keyboard sends them; the dialog's message loop then
    // gives Enter and Escape their dialog meaning.
    HWND focus = FocusOf(dialog);
    HWND target = (focus && (focus == dialog || IsChild(dialog, focus))) ? focus : dialog;
    if (!PostKey(target, vk)) {
        *error = "PostMessage WM_KEYDOWN/UP: " + LastErrorText();
        return false;
    }
    return true;
}

bool SysClose(HWND window) {
    return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
}

bool SetText(HWND control, const std::string& text, std::string* error) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) ||
        !result) {
        *error = "WM_SETTEXT \"" + text + "\" failed: " + LastErrorText();
        return false;
    }
    return true;
}

} // namespace robot
