#include "Drivers.h"

#include "Stopwatch.h"
#include "robot.h"

#include <algorithm>

namespace bench {
namespace {

// Ten times the slowest copy of the large medium seen so far.
constexpr double kRunTimeoutMs = 60000;
constexpr double kCrashCheckMs = 500;

// SETUP's message boxes carry the program's name as caption.
constexpr const char* kSetupBoxCaption = "SETUP";
constexpr const char* kBackdropCaption = "ZEL 1.1B3 Setup";
// NSIS adds the page's name: "ZEL Setup: Installation Folder".
constexpr const char* kNsisCaption = "ZEL Setup:*";
constexpr int kDirectoryEditId = 1001;

// The poll interval grows with the time already waited, at 1/256 of it within 1..8 ms: the
// error stays under half a percent, and during a long copy the robot hardly loads the
// wineserver that the copy's own message drains need.
DWORD PollInterval(double waitedMs) {
    return std::clamp<DWORD>(static_cast<DWORD>(waitedMs / 256), 1, 8);
}

// One class-filtered lookup instead of a walk over every top-level window: the robot polls
// this every millisecond while the program it times runs. A caption that ends in '*' matches
// every caption that starts with the rest.
HWND VisibleDialog(const char* caption, DWORD pid) {
    std::string wanted = caption;
    bool prefix = !wanted.empty() && wanted.back() == '*';
    if (prefix)
        wanted.pop_back();
    const char* exact = prefix ? nullptr : caption;
    for (HWND h = FindWindowExA(nullptr, nullptr, robot::kDialogClass, exact); h;
         h = FindWindowExA(nullptr, h, robot::kDialogClass, exact)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != pid || !IsWindowVisible(h))
            continue;
        if (prefix) {
            char text[256] = "";
            GetWindowTextA(h, text, sizeof text);
            if (std::string(text).compare(0, wanted.size(), wanted) != 0)
                continue;
        }
        return h;
    }
    return nullptr;
}

// A dialog that may come and go while the robot waits for another one.
struct Sighting {
    const char* caption;
    double shown = -1;
    double hidden = -1;
};

// Waits for the visible dialog `caption` of `process` and notes when it was first seen. Gives up
// at once when the process shows a message box, ends or crashes.
HWND Await(const robot::Process& process, const char* caption, double since, double* seenAt,
           std::string* error, Sighting* side = nullptr) {
    double lastCrashCheck = since;
    for (;;) {
        HWND found = VisibleDialog(caption, process.Id());
        double now = NowMs();
        if (side) {
            bool shown = VisibleDialog(side->caption, process.Id()) != nullptr;
            if (shown && side->shown < 0)
                side->shown = now;
            if (!shown && side->shown >= 0 && side->hidden < 0)
                side->hidden = now;
        }
        if (found) {
            *seenAt = now;
            return found;
        }
        if (HWND box = VisibleDialog(kSetupBoxCaption, process.Id())) {
            robot::MessageBoxInfo info = robot::ReadMessageBox(box);
            *error = process.Exe() + " showed \"" + info.text + "\" while the robot waited for \"" +
                     caption + "\"";
            return nullptr;
        }
        if (!process.IsRunning()) {
            *error = process.Exe() + " ended while the robot waited for \"" + caption + "\"";
            return nullptr;
        }
        if (now - lastCrashCheck >= kCrashCheckMs) {
            lastCrashCheck = now;
            if (robot::CrashedWhileWaiting("\"" + std::string(caption) + "\"", error))
                return nullptr;
        }
        if (now - since >= kRunTimeoutMs) {
            *error = "no dialog \"" + std::string(caption) + "\" after " +
                     std::to_string(static_cast<int>(kRunTimeoutMs)) + " ms. Windows now:\n" +
                     robot::DescribeWindows();
            return nullptr;
        }
        Sleep(PollInterval(now - since));
    }
}

// Presses a button and returns when the click was posted.
bool Press(HWND dialog, int id, double* pressedAt, std::string* error) {
    if (!robot::Click(dialog, id, error))
        return false;
    *pressedAt = NowMs();
    return true;
}

bool AwaitExit(robot::Process& process, double* endedAt, std::string* error) {
    DWORD code = 0;
    if (!process.WaitForExit(static_cast<DWORD>(kRunTimeoutMs), &code, error))
        return false;
    *endedAt = NowMs();
    if (code != 0) {
        *error = process.Exe() + " ended with exit code " + robot::Hex(code);
        return false;
    }
    return true;
}

} // namespace

bool RunSetup(const std::string& mediumDir, const std::string& expectedDirectory, SetupTimes* times,
              std::string* error) {
    robot::Process setup;
    double launched = NowMs();
    if (!setup.Launch(mediumDir + "\\SETUP.EXE", "C:\\", error))
        return false;

    double seen = 0, pressed = 0;
    Sighting backdrop{kBackdropCaption};
    HWND welcome = Await(setup, "Welcome", launched, &seen, error, &backdrop);
    if (!welcome)
        return false;
    times->startUp = seen - launched;
    times->toBackdrop = backdrop.shown < 0 ? -1 : backdrop.shown - launched;

    if (!Press(welcome, IDOK, &pressed, error))
        return false;
    HWND directory = Await(setup, "Install Directory", pressed, &seen, error);
    if (!directory)
        return false;
    times->toDirectory = seen - pressed;
    std::string proposed = robot::TextOf(GetDlgItem(directory, kDirectoryEditId));
    if (proposed != expectedDirectory) {
        *error =
            "Install Directory proposes \"" + proposed + "\", not \"" + expectedDirectory + "\"";
        return false;
    }

    if (!Press(directory, IDOK, &pressed, error))
        return false;
    Sighting installing{"Installing..."};
    HWND group = Await(setup, "Create Application Group", pressed, &seen, error, &installing);
    if (!group)
        return false;
    times->copy = seen - pressed;
    if (installing.shown >= 0) {
        times->toInstalling = installing.shown - pressed;
        if (installing.hidden >= 0) {
            times->installing = installing.hidden - installing.shown;
            times->afterCopy = seen - installing.hidden;
        }
    }

    if (!Press(group, IDCANCEL, &pressed, error))
        return false;
    HWND success = Await(setup, "Success", pressed, &seen, error);
    if (!success)
        return false;
    times->toSuccess = seen - pressed;

    double ended = 0;
    if (!Press(success, IDOK, &pressed, error) || !AwaitExit(setup, &ended, error))
        return false;
    times->toExit = ended - pressed;
    times->whole = ended - launched;
    times->robot = times->whole - times->startUp - times->toDirectory - times->copy -
                   times->toSuccess - times->toExit;
    return true;
}

bool RunNsisWithProgressPage(const std::string& installer, NsisTimes* times, std::string* error) {
    robot::Process nsis;
    double launched = NowMs();
    if (!nsis.Launch(installer, "C:\\", error))
        return false;
    double seen = 0, pressed = 0, ended = 0;
    HWND window = Await(nsis, kNsisCaption, launched, &seen, error);
    if (!window)
        return false;
    times->startUp = seen - launched;
    // The directory page is the last before the progress page, so IDOK reads Install. The
    // installer shows its window before it enables the button.
    for (;;) {
        std::string text = robot::TextOf(GetDlgItem(window, IDOK));
        if (text.find("Install") == std::string::npos) {
            *error = "the installer's window has no Install button (IDOK reads \"" + text + "\")";
            return false;
        }
        std::string clickError;
        if (Press(window, IDOK, &pressed, &clickError))
            break;
        if (NowMs() - seen > 5000) {
            *error = clickError;
            return false;
        }
        Sleep(1);
    }
    if (!AwaitExit(nsis, &ended, error))
        return false;
    times->copy = ended - pressed;
    times->whole = ended - launched;
    return true;
}

bool RunMinimal(const std::string& exe, double* startUp, double* whole, std::string* error) {
    robot::Process program;
    double launched = NowMs();
    if (!program.Launch(exe, "C:\\", error))
        return false;
    double seen = 0, pressed = 0, ended = 0;
    HWND dialog = Await(program, "Minimal", launched, &seen, error);
    if (!dialog || !Press(dialog, IDOK, &pressed, error) || !AwaitExit(program, &ended, error))
        return false;
    *startUp = seen - launched;
    *whole = ended - launched;
    return true;
}

bool RunSilent(const std::string& installer, const std::string& switches, double* whole,
               std::string* error) {
    std::string commandLine = "\"" + installer + "\" " + switches;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    double launched = NowMs();
    if (!CreateProcessA(installer.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        "C:\\", &si, &pi)) {
        *error = "CreateProcess " + commandLine + ": " + robot::LastErrorText();
        return false;
    }
    CloseHandle(pi.hThread);
    DWORD wait = WaitForSingleObject(pi.hProcess, static_cast<DWORD>(kRunTimeoutMs));
    double ended = NowMs();
    DWORD code = 0;
    bool ok = wait == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code) && code == 0;
    if (!ok) {
        *error = commandLine + (wait == WAIT_OBJECT_0 ? " ended with exit code " + robot::Hex(code)
                                                      : " did not end");
        if (wait != WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 5000);
        }
    }
    CloseHandle(pi.hProcess);
    *whole = ended - launched;
    return ok;
}

} // namespace bench
