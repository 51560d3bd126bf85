// ZEL.EXE of the sample distribution medium: a window that says what it is and which of the
// sample run-time libraries it finds beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char kWindowClass[] = "ZelSampleWindow";
const char kTitle[] = "ZEL 1.1B3";
const char* const kRuntimes[] = {"MFC30.DLL", "MFCN30.DLL", "MSVCRT20.DLL"};
const int kRuntimeCount = sizeof kRuntimes / sizeof kRuntimes[0];

char g_runtimeLines[kRuntimeCount][128];

typedef DWORD (*RuntimeVersionProc)();

// Loads the library by full path from the program's own directory and asks it for its version.
// Where the system has a library of the same name of its own (Wine has an MSVCRT20.DLL), the
// loader hands out that one instead, whatever the path says.
void DescribeRuntime(const char* directory, const char* name, char* line, size_t size) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\%s", directory, name);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        std::snprintf(line, size, "%s: not found", name);
        return;
    }
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    RuntimeVersionProc proc = module ? reinterpret_cast<RuntimeVersionProc>(reinterpret_cast<void*>(
                                           GetProcAddress(module, "ZelRuntimeVersion")))
                                     : nullptr;
    if (proc) {
        DWORD version = proc();
        std::snprintf(line, size, "%s: sample run-time %lu.%lu, library %lu", name,
                      static_cast<unsigned long>(version >> 24),
                      static_cast<unsigned long>((version >> 16) & 0xFF),
                      static_cast<unsigned long>(version & 0xFFFF));
    } else {
        std::snprintf(line, size, "%s: present (the system loaded its own %s)", name, name);
    }
    if (module)
        FreeLibrary(module);
}

void DescribeRuntimes() {
    char directory[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, directory, sizeof directory);
    char* slash = std::strrchr(directory, '\\');
    if (slash)
        *slash = '\0';
    for (int i = 0; i < kRuntimeCount; ++i)
        DescribeRuntime(directory, kRuntimes[i], g_runtimeLines[i], sizeof g_runtimeLines[i]);
}

void Paint(HWND hwnd) {
    static const char* const kText[] = {
        "ZEL 1.1B3 - sample product",
        "This is the sample product that SETUP installs from the sample distribution medium.",
        "It does nothing else; close the window to end it.",
        "",
    };
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    int lineHeight = metrics.tmHeight + metrics.tmExternalLeading + 2;
    int y = 16;
    for (const char* line : kText) {
        TextOutA(dc, 16, y, line, lstrlenA(line));
        y += lineHeight;
    }
    for (const char* line : g_runtimeLines) {
        TextOutA(dc, 16, y, line, lstrlenA(line));
        y += lineHeight;
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    DescribeRuntimes();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(0, kWindowClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 560, 200, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
