#include "fault_steps.h"
#include "resource.h"

#include <algorithm>

void FaultTest::TearDown() {
    EXPECT_TRUE(fake_.Stop());
    if (!hookLog_.empty())
        DeleteFileA(hookLog_.c_str());
    InstallTest::TearDown();
}

void FaultTest::HookAt(const std::string& when, const std::string& action) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    hookLog_ = std::string(temp) + "fault-hook." + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(hookLog_.c_str());
    // SETUP inherits the robot's environment when it is launched.
    HookWith("E2E_HOOK_WHEN", when);
    HookWith("E2E_HOOK_DO", action);
    HookWith("E2E_HOOK_LOG", hookLog_);
}

std::string FaultTest::HookLog() const {
    return hookLog_.empty() ? std::string() : ReadWholeFile(hookLog_);
}

::testing::AssertionResult FaultTest::Start(const std::string& destination,
                                            const std::string& workDir) {
    if (auto r = Launch(workDir); !r)
        return r;
    HWND welcome = WaitDialog("Welcome");
    if (welcome == nullptr)
        return ::testing::AssertionFailure() << "no Welcome dialog";
    if (auto r = SetHook(welcome); !r)
        return r;
    if (auto r = Click(welcome, IDOK); !r)
        return r;
    HWND directory = WaitDialog("Install Directory");
    if (directory == nullptr)
        return ::testing::AssertionFailure() << "no Install Directory dialog";
    std::string error;
    HWND edit = robot::Control(directory, IDC_DIRECTORY_EDIT, &error);
    if (edit == nullptr || !robot::SetText(edit, destination, &error))
        return ::testing::AssertionFailure() << error;
    if (robot::TextOf(edit) != destination)
        return ::testing::AssertionFailure() << "the edit box holds \"" << robot::TextOf(edit)
                                             << "\", not \"" << destination << "\"";
    if (auto r = Click(directory, IDOK); !r)
        return r;
    return Gone(directory);
}

HWND FaultTest::MessagesUntilDialog(const std::string& caption, std::vector<std::string>* texts,
                                    DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    std::string error;
    while (GetTickCount() - start < timeoutMs) {
        if (robot::CrashedWhileWaiting("\"" + caption + "\"", &error)) {
            ADD_FAILURE() << error;
            return nullptr;
        }
        for (const robot::WindowInfo& w : robot::DialogsOf(setup_.Id())) {
            if (w.text == caption && !robot::IsMessageBox(w.hwnd))
                return w.hwnd;
            if (IsBackground(w.text))
                continue;
            if (!robot::IsMessageBox(w.hwnd)) {
                ADD_FAILURE() << "SETUP went on to \"" << w.text << "\", not \"" << caption << "\"";
                return nullptr;
            }
            std::string text;
            if (auto r = NextMessage(&text); !r) {
                ADD_FAILURE() << r.message();
                return nullptr;
            }
            texts->push_back(text);
        }
        if (!setup_.IsRunning()) {
            ADD_FAILURE() << "SETUP ended before \"" << caption << "\" appeared";
            return nullptr;
        }
        Sleep(20);
    }
    ADD_FAILURE() << "no \"" << caption << "\" within " << timeoutMs << " ms. Windows now:\n"
                  << robot::DescribeWindows();
    return nullptr;
}

std::string FaultTest::MakeDosDevice(const std::string& name) {
    std::string dir = robot::Env("WINEPREFIX");
    if (dir.empty())
        return "";
    std::replace(dir.begin(), dir.end(), '/', '\\');
    dir = "Z:" + dir + "\\dosdevices\\" + name;
    CleanLater(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

std::string FaultTest::FillDrive() {
    const std::string drive = robot::Env("E2E_FILL_DRIVE");
    return !drive.empty() && robot::IsDirectory(drive + "\\") ? drive : std::string();
}

::testing::AssertionResult FaultTest::UseUpEntries(const std::string& dir, int spare) {
    std::vector<std::string> made;
    for (int i = 0;; i++) {
        if (i > 100000)
            return ::testing::AssertionFailure() << dir << " takes entries without end";
        std::string path = dir + "\\E" + std::to_string(i);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_DISK_FULL)
                return ::testing::AssertionFailure()
                       << "making " << path << ": " << robot::LastErrorText();
            break;
        }
        CloseHandle(file);
        made.push_back(path);
    }
    if (made.size() < static_cast<size_t>(spare))
        return ::testing::AssertionFailure() << "only " << made.size() << " entries in " << dir;
    for (int i = 0; i < spare; i++) {
        if (!DeleteFileA(made.back().c_str()))
            return ::testing::AssertionFailure()
                   << "removing " << made.back() << ": " << robot::LastErrorText();
        made.pop_back();
    }
    return ::testing::AssertionSuccess();
}

uint64_t FaultTest::FreeBytes(const std::string& drive) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA((drive + "\\").c_str(), &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}

::testing::AssertionResult FaultTest::FillUpTo(const std::string& drive, const std::string& path,
                                               uint64_t bytesFree) {
    const uint64_t now = FreeBytes(drive);
    if (now < bytesFree)
        return ::testing::AssertionFailure()
               << drive << " has " << now << " bytes free, fewer than " << bytesFree;
    if (!WriteWholeFile(path, std::string(static_cast<size_t>(now - bytesFree), 'F')))
        return ::testing::AssertionFailure()
               << "writing " << path << ": " << robot::LastErrorText();
    if (FreeBytes(drive) != bytesFree)
        return ::testing::AssertionFailure()
               << drive << " has " << FreeBytes(drive) << " bytes free, not " << bytesFree;
    return ::testing::AssertionSuccess();
}
