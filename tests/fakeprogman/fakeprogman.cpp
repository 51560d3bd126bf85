// fakeprogman: a stand-in Program Manager for the end-to-end tests, run in the test's Wine prefix.
//
//   fakeprogman.exe LOGFILE [--refuse TEXT]... [--block TEXT]... [--ready FILE] [--quit FILE]
//                   [--timeout SECONDS]
//
// It closes the PROGMAN server of Wine's explorer.exe (see explorer_server.h), registers the DDE
// service PROGMAN, accepts conversations on service PROGMAN with topic PROGMAN and answers every
// execute with DDE_FACK, except:
//   --block TEXT   an execute whose bytes contain TEXT gets CBR_BLOCK and is never answered, so
//                  the client's transaction fails with DMLERR_EXECACKTIMEOUT after its own
//                  time-out. Wine still delivers the later executes of that conversation, and
//                  they are answered as usual. Checked before --refuse.
//   --refuse TEXT  an execute whose bytes contain TEXT gets DDE_FNOTPROCESSED (the client sees
//                  DMLERR_NOTPROCESSED).
// Both options may be repeated; TEXT is matched case-sensitively against the command without its
// terminating NUL.
//   --ready FILE   written once the service is registered; wait for it before starting a client.
//                  Delete a stale one before starting this program (it is deleted at start too,
//                  but a test polling for it could see it first).
//   --quit FILE    the program ends as soon as FILE exists (polled every 100 ms). A FILE that
//                  exists at start is an error, so that a stale one cannot end the program
//                  right after it became ready.
//   --timeout S    the program ends S seconds (default 180) after it became ready, so it never
//                  outlives a test.
// It also ends on WM_CLOSE to its hidden top-level window (class "FakeProgman", title
// "fakeprogman"). While it runs it keeps closing any PROGMAN server that explorer registers anew.
//
// Log format: LOGFILE is truncated at start; every event is one line ending in LF, written and
// flushed when the event happens. Fields are separated by one space; N is a conversation number
// (1, 2, ... in order of connection).
//   start
//   explorer-closed WINDOWS MS         explorer's servers closed (WM_CLOSE posted to WINDOWS
//                                      windows) and PROGMAN silent after MS milliseconds
//   ready                              service registered (just before FILE of --ready is made)
//   connect N SERVICE TOPIC            a conversation was established
//   connect-refused SERVICE TOPIC      a connect for another service or topic was declined
//   execute N REPLY BYTES NUL TEXT     one XTYP_EXECUTE: REPLY is ack, refuse or block; BYTES the
//                                      data's byte count; NUL is "nul" when the last byte was 0
//                                      and "nonul" otherwise; TEXT the data without that final 0,
//                                      escaped: printable ASCII as is, "\" as "\\", any other
//                                      byte (also an inner 0) as \xHH. TEXT may hold spaces: it
//                                      is everything after the fifth space. Python's
//                                      text.encode().decode("unicode_escape").encode("latin-1")
//                                      and bash's printf '%b' give back the bytes.
//   disconnect N                       the conversation ended
//   explorer-closed-again WINDOWS      explorer registered a server again and it was closed
//   error MESSAGE                      setup failed; the program exits with code 2
//   exit REASON                        REASON is close, quit-file or timeout; exit code 0
// Bad arguments or a log file that cannot be made: a message on stderr and exit code 1.
#include "event_log.h"
#include "explorer_server.h"

#include <windows.h>
#include <ddeml.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char kWindowClass[] = "FakeProgman";
const UINT_PTR kQuitFileTimer = 1;
const UINT_PTR kSweepTimer = 2;
const UINT_PTR kLifetimeTimer = 3;

struct Options {
    std::string logPath;
    std::vector<std::string> refuse;
    std::vector<std::string> block;
    std::string readyPath;
    std::string quitPath;
    DWORD timeoutSeconds = 180;
};

EventLog g_log;
Options g_options;
DWORD g_inst = 0;
HSZ g_hszProgman = nullptr;
std::map<HCONV, int> g_conversations;
int g_nextConversation = 1;
const char* g_exitReason = "close";

bool ParseOptions(int argc, char** argv, Options* options) {
    if (argc < 2 || argv[1][0] == '-')
        return false;
    options->logPath = argv[1];
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 >= argc)
            return false;
        std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--refuse") {
            options->refuse.push_back(value);
        } else if (name == "--block") {
            options->block.push_back(value);
        } else if (name == "--ready") {
            options->readyPath = value;
        } else if (name == "--quit") {
            options->quitPath = value;
        } else if (name == "--timeout") {
            char* end = nullptr;
            unsigned long seconds = std::strtoul(value, &end, 10);
            if (*value == '\0' || *end != '\0' || seconds == 0 || seconds > 86400)
                return false;
            options->timeoutSeconds = seconds;
        } else {
            return false;
        }
    }
    return true;
}

std::string QueryString(HSZ hsz) {
    char text[256] = "";
    DdeQueryStringA(g_inst, hsz, text, sizeof text, CP_WINANSI);
    return text;
}

bool IsProgman(HSZ hsz) {
    return hsz && DdeCmpStringHandles(hsz, g_hszProgman) == 0;
}

bool Contains(const std::vector<unsigned char>& data, std::size_t length, const std::string& text) {
    if (text.empty() || text.size() > length)
        return false;
    auto end = data.begin() + static_cast<std::ptrdiff_t>(length);
    return std::search(data.begin(), end, text.begin(), text.end()) != end;
}

bool MatchesAny(const std::vector<unsigned char>& data, std::size_t length,
                const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        if (Contains(data, length, text))
            return true;
    }
    return false;
}

HDDEDATA OnExecute(HCONV conv, HDDEDATA hData) {
    DWORD size = DdeGetData(hData, nullptr, 0, 0);
    std::vector<unsigned char> data(size);
    if (size)
        DdeGetData(hData, data.data(), size, 0);
    bool nul = size > 0 && data[size - 1] == 0;
    std::size_t length = nul ? size - 1 : size;

    const char* reply = "ack";
    HDDEDATA result = reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    if (MatchesAny(data, length, g_options.block)) {
        reply = "block";
        result = CBR_BLOCK;
    } else if (MatchesAny(data, length, g_options.refuse)) {
        reply = "refuse";
        result = reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FNOTPROCESSED));
    }
    g_log.Line("execute " + std::to_string(g_conversations[conv]) + " " + reply + " " +
               std::to_string(size) + (nul ? " nul " : " nonul ") +
               EscapeBytes(data.data(), length));
    return result;
}

HDDEDATA CALLBACK DdeCallback(UINT type, UINT, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA hData,
                              ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT:
        if (IsProgman(hsz1) && IsProgman(hsz2))
            return reinterpret_cast<HDDEDATA>(TRUE);
        g_log.Line("connect-refused " + QueryString(hsz2) + " " + QueryString(hsz1));
        return nullptr;
    case XTYP_WILDCONNECT: {
        if ((hsz1 && !IsProgman(hsz1)) || (hsz2 && !IsProgman(hsz2)))
            return nullptr;
        HSZPAIR pairs[2] = {{g_hszProgman, g_hszProgman}, {nullptr, nullptr}};
        return DdeCreateDataHandle(g_inst, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0,
                                   nullptr, 0, 0);
    }
    case XTYP_CONNECT_CONFIRM: {
        int number = g_nextConversation++;
        g_conversations[conv] = number;
        g_log.Line("connect " + std::to_string(number) + " " + QueryString(hsz2) + " " +
                   QueryString(hsz1));
        return nullptr;
    }
    case XTYP_DISCONNECT:
        g_log.Line("disconnect " + std::to_string(g_conversations[conv]));
        g_conversations.erase(conv);
        return nullptr;
    case XTYP_EXECUTE:
        return OnExecute(conv, hData);
    default:
        return nullptr;
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kQuitFileTimer &&
            GetFileAttributesA(g_options.quitPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
            g_exitReason = "quit-file";
            DestroyWindow(hwnd);
        } else if (wParam == kLifetimeTimer) {
            g_exitReason = "timeout";
            DestroyWindow(hwnd);
        } else if (wParam == kSweepTimer) {
            int closed = CloseExplorerDdeServers();
            if (closed > 0)
                g_log.Line("explorer-closed-again " + std::to_string(closed));
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

HWND CreateControlWindow(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassA(&wc))
        return nullptr;
    return CreateWindowExA(0, kWindowClass, "fakeprogman", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

bool WriteReadyFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, "ready\n", 6, &written, nullptr);
    CloseHandle(file);
    return ok && written == 6;
}

int Fail(const std::string& message) {
    g_log.Line("error " + message);
    return 2;
}

int Run(HINSTANCE instance) {
    g_log.Line("start");
    if (!g_options.readyPath.empty())
        DeleteFileA(g_options.readyPath.c_str());
    if (!g_options.quitPath.empty() &&
        GetFileAttributesA(g_options.quitPath.c_str()) != INVALID_FILE_ATTRIBUTES)
        return Fail("quit file exists already: " + g_options.quitPath);
    HWND hwnd = CreateControlWindow(instance);
    if (!hwnd)
        return Fail("cannot create window, err = " + std::to_string(GetLastError()));

    DWORD started = GetTickCount();
    int closed = 0;
    if (!SilenceExplorerProgman(3000, 15000, &closed))
        return Fail("explorer still answers PROGMAN");
    g_log.Line("explorer-closed " + std::to_string(closed) + " " +
               std::to_string(GetTickCount() - started));

    UINT flags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                 CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&g_inst, DdeCallback, flags, 0) != DMLERR_NO_ERROR)
        return Fail("DdeInitializeA failed");
    g_hszProgman = DdeCreateStringHandleA(g_inst, "PROGMAN", CP_WINANSI);
    if (!g_hszProgman || !DdeNameService(g_inst, g_hszProgman, nullptr, DNS_REGISTER))
        return Fail("DdeNameService failed, err = " + std::to_string(DdeGetLastError(g_inst)));

    SetTimer(hwnd, kSweepTimer, 250, nullptr);
    SetTimer(hwnd, kLifetimeTimer, g_options.timeoutSeconds * 1000, nullptr);
    if (!g_options.quitPath.empty())
        SetTimer(hwnd, kQuitFileTimer, 100, nullptr);

    g_log.Line("ready");
    if (!g_options.readyPath.empty() && !WriteReadyFile(g_options.readyPath))
        return Fail("cannot write " + g_options.readyPath);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    g_log.Line(std::string("exit ") + g_exitReason);
    return 0;
}

void ReportToStderr(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!ParseOptions(__argc, __argv, &g_options)) {
        ReportToStderr("usage: fakeprogman LOGFILE [--refuse TEXT]... [--block TEXT]... "
                       "[--ready FILE] [--quit FILE] [--timeout SECONDS]\n");
        return 1;
    }
    if (!g_log.Open(g_options.logPath.c_str())) {
        ReportToStderr("fakeprogman: cannot create " + g_options.logPath +
                       ", err = " + std::to_string(GetLastError()) + "\n");
        return 1;
    }
    int code = Run(instance);
    if (g_inst) {
        if (g_hszProgman) {
            DdeNameService(g_inst, g_hszProgman, nullptr, DNS_UNREGISTER);
            DdeFreeStringHandle(g_inst, g_hszProgman);
        }
        DdeUninitialize(g_inst);
    }
    return code;
}
