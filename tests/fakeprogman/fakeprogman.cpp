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
#include "file_tree.h"
#include "message_pump.h"
#include "dde_server.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

const char kWindowClass[] = "FakeProgman";
const UINT_PTR kQuitFileTimer = 1;
const UINT_PTR kSweepTimer = 2;
const UINT_PTR kLifetimeTimer = 3;

struct Options {
    std::string logPath;
    support::ProgmanAnswers answers;
    std::string readyPath;
    std::string quitPath;
    DWORD timeoutSeconds = 180;
};

EventLog g_log;
Options g_options;
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
        if (name == "--ready") {
            options->readyPath = value;
        } else if (name == "--quit") {
            options->quitPath = value;
        } else if (name == "--timeout") {
            char* end = nullptr;
            unsigned long seconds = std::strtoul(value, &end, 10);
            if (*value == '\0' || *end != '\0' || seconds == 0 || seconds > 86400)
                return false;
            options->timeoutSeconds = seconds;
        } else if (!options->answers.TakeOption(name, value)) {
            return false;
        }
    }
    return true;
}

// Logs every conversation event in the format above.
struct LogListener : support::DdeServer::Listener {
    void Connected(int n, const std::string& service, const std::string& topic) override {
        g_log.Line("connect " + std::to_string(n) + " " + service + " " + topic);
    }
    void ConnectRefused(const std::string& service, const std::string& topic) override {
        g_log.Line("connect-refused " + service + " " + topic);
    }
    void Executed(int n, const std::string& bytes, support::ProgmanAnswers::Reply reply) override {
        bool nul = !bytes.empty() && bytes.back() == '\0';
        g_log.Line("execute " + std::to_string(n) + " " + support::ProgmanAnswers::Name(reply) +
                   " " + std::to_string(bytes.size()) + (nul ? " nul " : " nonul ") +
                   EscapeBytes(reinterpret_cast<const unsigned char*>(bytes.data()),
                               bytes.size() - (nul ? 1 : 0)));
    }
    void Disconnected(int n) override { g_log.Line("disconnect " + std::to_string(n)); }
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kQuitFileTimer && support::PathExists(g_options.quitPath)) {
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
    if (!g_options.quitPath.empty() && support::PathExists(g_options.quitPath))
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

    LogListener listener;
    support::DdeServer server(g_options.answers, &listener);
    std::string error;
    if (!server.Register("PROGMAN", &error))
        return Fail(error);

    SetTimer(hwnd, kSweepTimer, 250, nullptr);
    SetTimer(hwnd, kLifetimeTimer, g_options.timeoutSeconds * 1000, nullptr);
    if (!g_options.quitPath.empty())
        SetTimer(hwnd, kQuitFileTimer, 100, nullptr);

    g_log.Line("ready");
    if (!g_options.readyPath.empty() && !WriteReadyFile(g_options.readyPath))
        return Fail("cannot write " + g_options.readyPath);

    support::RunMessageLoop();
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
    return Run(instance);
}
