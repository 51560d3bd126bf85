#include "explorer_server.h"
#include "message_pump.h"
#include "progman_answers.h"

#include <cstring>

namespace {

const char kServerNameClass[] = "WineDdeServerName";
const char kEventClass[] = "WineDdeEventClass";

struct Sweep {
    int closed = 0;
    bool instanceSeen = false;
};

bool IsExplorerProcess(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    char image[MAX_PATH] = "";
    DWORD size = sizeof image;
    BOOL ok = QueryFullProcessImageNameA(process, 0, image, &size);
    CloseHandle(process);
    if (!ok)
        return false;
    const char* name = std::strrchr(image, '\\');
    name = name ? name + 1 : image;
    return lstrcmpiA(name, "explorer.exe") == 0;
}

// Every DDE instance has one window of the event class; every registered service name one of the
// server name class.
void Visit(HWND hwnd, Sweep* sweep) {
    char className[64] = "";
    if (!GetClassNameA(hwnd, className, sizeof className))
        return;
    bool server = std::strcmp(className, kServerNameClass) == 0;
    if (!server && std::strcmp(className, kEventClass) != 0)
        return;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() || !IsExplorerProcess(pid))
        return;
    if (!server)
        sweep->instanceSeen = true;
    else if (PostMessageA(hwnd, WM_CLOSE, 0, 0))
        ++sweep->closed;
}

BOOL CALLBACK VisitTopLevel(HWND hwnd, LPARAM lParam) {
    Visit(hwnd, reinterpret_cast<Sweep*>(lParam));
    return TRUE;
}

Sweep SweepExplorer() {
    Sweep sweep;
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&sweep));
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExA(HWND_MESSAGE, hwnd, nullptr, nullptr)) != nullptr)
        Visit(hwnd, &sweep);
    return sweep;
}

} // namespace

int CloseExplorerDdeServers() {
    return SweepExplorer().closed;
}

bool SilenceExplorerProgman(DWORD settleMs, DWORD timeoutMs, int* windowsClosed) {
    *windowsClosed = 0;
    bool registered = false;
    DWORD start = GetTickCount();
    for (;;) {
        Sweep sweep = SweepExplorer();
        *windowsClosed += sweep.closed;
        registered = registered || sweep.closed > 0 || sweep.instanceSeen;
        support::PumpMessages();
        DWORD elapsed = GetTickCount() - start;
        bool settled = registered || elapsed >= settleMs;
        if (sweep.closed == 0 && settled && !support::ProgmanIsServed())
            return true;
        if (elapsed >= timeoutMs)
            return false;
        Sleep(20);
    }
}
