#include "install_test_support.h"

#include "resource.h"

static InstallingWatch* activeWatch;

InstallingWatch::InstallingWatch() {
    activeWatch = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
}

InstallingWatch::~InstallingWatch() {
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    activeWatch = nullptr;
}

LRESULT CALLBACK InstallingWatch::HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && activeWatch != nullptr)
        activeWatch->Seen(*reinterpret_cast<const CWPRETSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

static std::string WindowText(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

void InstallingWatch::Seen(const CWPRETSTRUCT& cwp) {
    if (cwp.message == WM_INITDIALOG && WindowText(cwp.hwnd) == "Installing...") {
        dialog = cwp.hwnd;
        return;
    }
    if (dialog == nullptr)
        return;
    if (cwp.message == WM_SETTEXT && GetParent(cwp.hwnd) == dialog) {
        std::string text = reinterpret_cast<LPCSTR>(cwp.lParam);
        int id = GetDlgCtrlID(cwp.hwnd);
        if (id == IDC_INSTALLING_COPYING)
            copying.push_back(text);
        else if (id == IDC_INSTALLING_TO)
            to.push_back(text);
    } else if (cwp.message == WM_DRAWITEM && cwp.hwnd == dialog &&
               cwp.wParam == IDC_INSTALLING_BAR) {
        // The draw is done: its device context still holds what it drew.
        const DRAWITEMSTRUCT& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(cwp.lParam);
        const COLORREF red = RGB(255, 0, 0);
        BarState state = barPartial;
        if (GetPixel(dis.hDC, dis.rcItem.left, dis.rcItem.top) != red)
            state = barEmpty;
        else if (GetPixel(dis.hDC, dis.rcItem.right - 1, dis.rcItem.top) == red)
            state = barFull;
        barDraws.push_back({copying.size(), state});
    }
}

CurrentDirectory::CurrentDirectory(const std::string& path) {
    GetCurrentDirectoryA(MAX_PATH, saved_);
    SetCurrentDirectoryA(path.c_str());
}

CurrentDirectory::~CurrentDirectory() {
    SetCurrentDirectoryA(saved_);
}
