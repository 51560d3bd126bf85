#include "progman_fake.h"

#include "robot.h"
#include "whole_file.h"

#include <cstdlib>
#include <sstream>

namespace {

// The fake sits beside the test program's own folder in the build tree, unless E2E_FAKEPROGMAN
// names it.
std::string FakeExe() {
    std::string exe = robot::Env("E2E_FAKEPROGMAN");
    if (!exe.empty())
        return exe;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string dir = self;
    dir = dir.substr(0, dir.find_last_of('\\'));
    dir = dir.substr(0, dir.find_last_of('\\'));
    return dir + "\\fakeprogman\\fakeprogman.exe";
}

std::string Quote(const std::string& arg) {
    return "\"" + arg + "\"";
}

// "\\" is a backslash, "\xHH" a byte; everything else stands for itself.
std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            out += '\\';
            i++;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += (char)std::strtoul(text.substr(i + 2, 2).c_str(), nullptr, 16);
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool ParseEvent(const std::string& line, FakeEvent* event) {
    std::istringstream in(line);
    in >> event->kind;
    event->line = line;
    if (event->kind == "connect-refused")
        return true;
    if (event->kind != "connect" && event->kind != "execute" && event->kind != "disconnect")
        return false;
    in >> event->conversation;
    if (event->kind != "execute")
        return true;
    std::string nul;
    in >> event->reply >> event->byteCount >> nul;
    event->nul = nul == "nul";
    // The text is everything after the fifth space; it may hold spaces itself.
    size_t space = line.find(' ');
    for (int spaces = 1; spaces < 5 && space != std::string::npos; spaces++)
        space = line.find(' ', space + 1);
    event->text = space == std::string::npos ? std::string() : Unescape(line.substr(space + 1));
    return true;
}

} // namespace

FakeProgman::~FakeProgman() {
    Stop();
    if (!dir_.empty()) {
        std::string error;
        robot::RemoveTree(dir_, &error);
    }
}

::testing::AssertionResult FakeProgman::Start(const std::vector<std::string>& options) {
    static int runs = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    dir_ = std::string(temp) + "fakeprogman." + std::to_string(GetCurrentProcessId()) + "." +
           std::to_string(++runs);
    std::string error;
    if (!robot::RemoveTree(dir_, &error) || !CreateDirectoryA(dir_.c_str(), nullptr))
        return ::testing::AssertionFailure() << "cannot make " << dir_ << ": " << error;

    std::string exe = FakeExe();
    std::string commandLine = Quote(exe) + " " + Quote(dir_ + "\\events.log") + " --ready " +
                              Quote(dir_ + "\\ready") + " --quit " + Quote(dir_ + "\\quit") +
                              " --timeout 150";
    for (const std::string& option : options)
        commandLine += " " + Quote(option);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return ::testing::AssertionFailure()
               << "cannot start " << exe << ": " << robot::LastErrorText();
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;

    DWORD start = GetTickCount();
    while (!robot::PathExists(dir_ + "\\ready")) {
        if (WaitForSingleObject(process_, 20) != WAIT_TIMEOUT)
            return ::testing::AssertionFailure() << "the fake Program Manager ended early:\n"
                                                 << Log();
        if (GetTickCount() - start > 30000)
            return ::testing::AssertionFailure() << "the fake Program Manager is not ready:\n"
                                                 << Log();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FakeProgman::Stop() {
    if (process_ == nullptr)
        return ::testing::AssertionSuccess();
    HANDLE quit = CreateFileA((dir_ + "\\quit").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (quit != INVALID_HANDLE_VALUE)
        CloseHandle(quit);
    bool ended = WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    if (!ended)
        return ::testing::AssertionFailure() << "the fake Program Manager did not quit:\n" << Log();
    return ::testing::AssertionSuccess();
}

std::vector<FakeEvent> FakeProgman::Events() const {
    std::vector<FakeEvent> events;
    std::istringstream in(Log());
    std::string line;
    while (std::getline(in, line)) {
        FakeEvent event;
        if (ParseEvent(line, &event))
            events.push_back(event);
    }
    return events;
}

std::string FakeProgman::Log() const {
    return dir_.empty() ? std::string() : support::ReadWholeFile(dir_ + "\\events.log");
}

std::vector<std::string> Commands(const std::vector<FakeEvent>& events) {
    std::vector<std::string> texts;
    for (const FakeEvent& event : events)
        if (event.kind == "execute")
            texts.push_back(event.text);
    return texts;
}
