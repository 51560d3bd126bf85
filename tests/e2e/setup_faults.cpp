#include "setup_fixture.h"

#include <algorithm>

void SetupTest::HookWith(const std::string& variable, const std::string& value) {
    SetEnvironmentVariableA(variable.c_str(), value.c_str());
    hookVariables_.push_back(variable);
}

::testing::AssertionResult SetupTest::SetHook(HWND welcome) {
    if (hookVariables_.empty())
        return ::testing::AssertionSuccess();
    // A test that runs SETUP more than once hooks each run.
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    const std::string library = HelperPath("fault_hook.dll");
    if (hookLibrary_ == nullptr)
        hookLibrary_ = LoadLibraryA(library.c_str());
    HOOKPROC proc = hookLibrary_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(
                                       GetProcAddress(hookLibrary_, "FaultHookProc")))
                                 : nullptr;
    if (proc == nullptr)
        return ::testing::AssertionFailure()
               << "cannot load FaultHookProc from " << library << ": " << robot::LastErrorText();
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, proc, hookLibrary_,
                              GetWindowThreadProcessId(welcome, nullptr));
    if (hook_ == nullptr)
        return ::testing::AssertionFailure()
               << "cannot hook SETUP's thread: " << robot::LastErrorText();
    return ::testing::AssertionSuccess();
}

void SetupTest::HookAt(const std::string& when, const std::string& action) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    hookLog_ = std::string(temp) + "fault-hook." + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(hookLog_.c_str());
    // SETUP inherits the robot's environment when it is launched.
    HookWith("E2E_HOOK_WHEN", when);
    HookWith("E2E_HOOK_DO", action);
    HookWith("E2E_HOOK_LOG", hookLog_);
}

std::string SetupTest::HookLog() const {
    return hookLog_.empty() ? std::string() : ReadWholeFile(hookLog_);
}

std::string SetupTest::MakeDosDevice(const std::string& name) {
    std::string dir = robot::Env("WINEPREFIX");
    if (dir.empty())
        return "";
    std::replace(dir.begin(), dir.end(), '/', '\\');
    dir = "Z:" + dir + "\\dosdevices\\" + name;
    CleanLater(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

std::string SetupTest::MapShare() {
    const std::string dir = MakeDosDevice("unc");
    if (dir.empty())
        return "";
    for (const char* level : {"\\srv", "\\srv\\sh"})
        CreateDirectoryA((dir + level).c_str(), nullptr);
    return robot::IsDirectory(dir + "\\srv\\sh") ? "\\\\srv\\sh" : "";
}

std::string SetupTest::FillDrive() {
    const std::string drive = robot::Env("E2E_FILL_DRIVE");
    return !drive.empty() && robot::IsDirectory(drive + "\\") ? drive : std::string();
}
