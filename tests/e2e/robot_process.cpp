// Processes started by the robot, and small helpers shared by the robot's parts.
#include "robot.h"

#include <cstdio>

namespace robot {

Process::~Process() {
    Terminate();
    if (process_)
        CloseHandle(process_);
}

bool Process::Launch(const std::string& exe, const std::string& workDir, std::string* error,
                     const std::string& arguments) {
    if (IsRunning()) {
        *error = "a process is still running: " + exe_;
        return false;
    }
    if (process_)
        CloseHandle(process_);
    process_ = nullptr;
    exe_ = exe;
    // argv[0] quoted as a shell would, then the arguments as given.
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
        *error = "CreateProcess " + exe + " in " + workDir + ": " + LastErrorText();
        return false;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

bool Process::IsRunning() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode, std::string* error,
                          std::vector<WindowInfo>* dialogsShown) {
    if (!process_) {
        *error = "no process was launched";
        return false;
    }
    DWORD start = GetTickCount();
    DWORD wait = WAIT_TIMEOUT;
    if (!dialogsShown) {
        wait = WaitForSingleObject(process_, timeoutMs);
    } else {
        // Poll, so that a dialog that comes and goes while the process ends is still seen.
        for (;;) {
            for (const WindowInfo& d : DialogsOf(pid_)) {
                bool known = false;
                for (const WindowInfo& seen : *dialogsShown)
                    known = known || (seen.hwnd == d.hwnd && seen.text == d.text);
                if (!known)
                    dialogsShown->push_back(d);
            }
            wait = WaitForSingleObject(process_, 20);
            if (wait != WAIT_TIMEOUT || GetTickCount() - start >= timeoutMs)
                break;
            if (CrashedWhileWaiting(exe_ + " to end", error))
                return false;
        }
    }
    if (wait != WAIT_OBJECT_0) {
        *error = exe_ + " (pid " + std::to_string(pid_) + ") still runs after " +
                 std::to_string(timeoutMs) + " ms. Windows now:\n" + DescribeWindows();
        return false;
    }
    if (!GetExitCodeProcess(process_, exitCode)) {
        *error = "GetExitCodeProcess: " + LastErrorText();
        return false;
    }
    return true;
}

bool Process::Terminate() {
    if (!IsRunning())
        return false;
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, 5000);
    return true;
}

std::string Env(const char* name, const std::string& fallback) {
    char buffer[4096];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        return fallback;
    return std::string(buffer, n);
}

std::string Hex(uintptr_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%lx", static_cast<unsigned long>(value));
    return buffer;
}

std::string LastErrorText(DWORD code) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = "error " + std::to_string(code);
    if (text) {
        std::string message = text;
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
            message.pop_back();
        out += " (" + message + ")";
        LocalFree(text);
    }
    return out;
}

} // namespace robot
