#include "install_test_support.h"

#include "resource.h"

static InstallingWatch* activeWatch;

InstallingWatch::InstallingWatch() {
    activeWatch = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, HookProc, NULL, GetCurrentThreadId());
}

InstallingWatch::~InstallingWatch() {
    if (hook_ != NULL)
        UnhookWindowsHookEx(hook_);
    activeWatch = nullptr;
}

void InstallingWatch::CancelWhenCopying(const std::string& name) {
    cancelAt_ = atCopying;
    cancelName_ = name;
}

void InstallingWatch::CancelAtBarDraw(const std::string& name, int n) {
    cancelAt_ = atBarDraw;
    cancelName_ = name;
    cancelDraw_ = n;
}

LRESULT CALLBACK InstallingWatch::HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && activeWatch != nullptr)
        activeWatch->Seen(*reinterpret_cast<const CWPRETSTRUCT*>(lParam));
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

static std::string WindowText(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

void InstallingWatch::Seen(const CWPRETSTRUCT& cwp) {
    if (cwp.message == WM_INITDIALOG && WindowText(cwp.hwnd) == "Installing...") {
        dialog = cwp.hwnd;
        if (cancelAt_ == atShown)
            PressCancel();
        return;
    }
    if (dialog == nullptr)
        return;
    if (cwp.message == WM_SETTEXT && GetParent(cwp.hwnd) == dialog) {
        std::string text = reinterpret_cast<LPCSTR>(cwp.lParam);
        int id = GetDlgCtrlID(cwp.hwnd);
        if (id == IDC_INSTALLING_COPYING) {
            copying.push_back(text);
            drawsOfName_ = 0;
            if (cancelAt_ == atCopying && text == "Copying: " + cancelName_)
                PressCancel();
        } else if (id == IDC_INSTALLING_TO) {
            to.push_back(text);
        }
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
        drawsOfName_++;
        if (cancelAt_ == atBarDraw && !copying.empty() &&
            copying.back() == "Copying: " + cancelName_ && drawsOfName_ == cancelDraw_)
            PressCancel();
    }
}

void InstallingWatch::PressCancel() {
    cancelPressed = PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0) != FALSE;
}

CurrentDirectory::CurrentDirectory(const std::string& path) {
    GetCurrentDirectoryA(MAX_PATH, saved_);
    SetCurrentDirectoryA(path.c_str());
}

CurrentDirectory::~CurrentDirectory() {
    SetCurrentDirectoryA(saved_);
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, NULL)) {}

HeldFile::~HeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FileContent(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    std::string content;
    if (h == INVALID_HANDLE_VALUE)
        return content;
    char buf[65536];
    DWORD n;
    while (ReadFile(h, buf, sizeof buf, &n, NULL) && n > 0)
        content.append(buf, n);
    CloseHandle(h);
    return content;
}

std::string Pattern(size_t n, unsigned seed) {
    std::string s(n, '\0');
    unsigned x = seed * 2654435761u + 1;
    for (size_t i = 0; i < n; i++) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>(x >> 16);
    }
    return s;
}
