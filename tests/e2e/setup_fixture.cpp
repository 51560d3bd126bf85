#include "setup_fixture.h"

#include <shlobj.h>

#include <algorithm>

namespace {

// The Program Manager group ZEL, which Wine keeps as a folder of the Start Menu (the user's
// or the common one).
Texts GroupFolders() {
    Texts paths;
    char programs[MAX_PATH];
    for (int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
        if (SUCCEEDED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, programs)))
            paths.push_back(std::string(programs) + "\\ZEL");
    return paths;
}

std::string Describe(const std::vector<robot::WindowInfo>& windows) {
    std::string out;
    for (const robot::WindowInfo& w : windows)
        out +=
            "  \"" + w.text + "\" (class " + w.className + ", pid " + std::to_string(w.pid) + ")\n";
    return out;
}

// A robot call's outcome as an assertion result.
::testing::AssertionResult Result(bool ok, const std::string& error) {
    return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << error;
}

} // namespace

const Texts kProductFiles = {
    "ZEL.EXE",      "README.TXT", "ZEL.HLP",    "MFC30.DLL",   "MFCN30.DLL",
    "MSVCRT20.DLL", "QUIRN.FON",  "QUIRNW.FON", "QUIRNDT.FON", "QUIRNDB.FON",
};

void SetupTest::SetUp() {
    std::string error;
    std::string source = robot::Env("E2E_MEDIUM");
    ASSERT_FALSE(source.empty())
        << "E2E_MEDIUM is not set; it names the staged medium as a Windows path, "
           "e.g. Z:\\work\\main\\build\\medium";

    // Where a run can leave things behind: the default destination and the program group.
    Texts scratch = GroupFolders();
    scratch.push_back(kDefaultDestination);
    for (const std::string& path : scratch)
        ASSERT_TRUE(robot::RemoveTree(path, &error)) << error;
    ASSERT_TRUE(robot::RemoveTree(kMediumDir, &error)) << error;

    // Only the medium's own files: the staging directory may hold build-system files too.
    ASSERT_TRUE(CopyMedium(source, kMediumDir));
    ASSERT_TRUE(robot::SumTree(kMediumDir, &mediumSums_, &error)) << error;

    driveBefore_ = DriveContents();
}

void SetupTest::TearDown() {
    if (HasFailure())
        Screenshot("failure");
    std::vector<robot::WindowInfo> crashes = robot::CrashWindows();
    EXPECT_TRUE(crashes.empty()) << "a program crashed; crash windows:\n" << Describe(crashes);
    if (!crashes.empty()) {
        Screenshot("crash");
        robot::CloseCrashWindows();
    }
    // The sources are opened with no sharing: SETUP must be gone before they are put back.
    setup_.Terminate();
    EXPECT_TRUE(fake_.Stop());
    if (!hookLog_.empty())
        DeleteFileA(hookLog_.c_str());
    const std::string staged = robot::Env("E2E_MEDIUM");
    for (const std::string& name : changedMediumFiles_) {
        std::string from = staged + "\\" + name;
        std::string to = std::string(kMediumDir) + "\\" + name;
        EXPECT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE))
            << "putting back " << name << ": " << robot::LastErrorText();
    }
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    if (hookLibrary_ != nullptr)
        FreeLibrary(hookLibrary_);
    hook_ = nullptr;
    hookLibrary_ = nullptr;
    for (const std::string& name : hookVariables_)
        SetEnvironmentVariableA(name.c_str(), nullptr);

    std::string error;
    robot::TreeSums after;
    if (robot::SumTree(kMediumDir, &after, &error))
        EXPECT_EQ(robot::DiffSums(mediumSums_, after), "")
            << "the run changed the medium " << kMediumDir;
    else
        ADD_FAILURE() << error;

    for (const std::string& path : cleanLater_)
        EXPECT_TRUE(robot::RemoveTree(path, &error)) << error;
}

::testing::AssertionResult SetupTest::Launch(const std::string& workDir) {
    messages_.clear();
    exitCode_ = 1234;
    std::string error;
    return Result(setup_.Launch(setupExe_, workDir, &error, arguments_), error);
}

std::string SetupTest::HelperPath(const std::string& name) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string dir = self;
    return dir.substr(0, dir.find_last_of('\\')) + "\\" + name;
}

HWND SetupTest::WaitDialog(const std::string& caption) {
    std::string error;
    HWND dialog = robot::WaitForDialog(caption, &setup_, robot::kDefaultTimeoutMs, &error);
    if (!dialog)
        ADD_FAILURE() << error;
    return dialog;
}

::testing::AssertionResult SetupTest::Click(HWND dialog, int id) {
    std::string error;
    return Result(robot::Click(dialog, id, &error), error);
}

::testing::AssertionResult SetupTest::Key(HWND dialog, UINT vk) {
    std::string error;
    return Result(robot::PressKey(dialog, vk, &error), error);
}

::testing::AssertionResult SetupTest::Gone(HWND window) {
    std::string error;
    return Result(robot::WaitUntilGone(window, robot::kDefaultTimeoutMs, &error), error);
}

::testing::AssertionResult SetupTest::WaitExit(DWORD* exitCode,
                                               std::vector<robot::WindowInfo>* shown) {
    std::string error;
    if (!setup_.WaitForExit(robot::kDefaultTimeoutMs, exitCode, &error, shown))
        return ::testing::AssertionFailure() << error;
    RecordProperty("setup_exit_code", static_cast<int>(*exitCode));
    return ::testing::AssertionSuccess();
}

Texts SetupTest::DriveContents() const {
    // Wine itself writes below windows and users (registry, caches, profile folders).
    return robot::ListTree("C:\\", {"windows", "users", "ProgramData", "MEDIUM"});
}

std::string SetupTest::DriveChanges() const {
    Texts now = DriveContents();
    std::string out;
    // SetUp removed these; they lie outside DriveContents.
    for (const std::string& path : GroupFolders())
        if (robot::PathExists(path))
            out += "added: " + path + "\n";
    for (const std::string& path : now)
        if (!std::binary_search(driveBefore_.begin(), driveBefore_.end(), path))
            out += "added: C:\\" + path + "\n";
    for (const std::string& path : driveBefore_)
        if (!std::binary_search(now.begin(), now.end(), path))
            out += "removed: C:\\" + path + "\n";
    return out;
}

::testing::AssertionResult SetupTest::Settle() {
    std::string error;
    if (!setup_.IsRunning())
        return ::testing::AssertionSuccess();
    for (const robot::WindowInfo& w : robot::TopLevelWindows())
        if (w.visible && w.pid == setup_.Id() &&
            !robot::WaitUntilPainted(w.hwnd, robot::kDefaultTimeoutMs, &error))
            return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}

std::string SetupTest::Screenshot(const std::string& label) {
    std::string dir = robot::Env("E2E_SHOTS");
    if (dir.empty())
        return "";
    EXPECT_TRUE(Settle());
    std::string error;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string path =
        dir + "\\" + info->test_suite_name() + "." + info->name() + "-" + label + ".bmp";
    if (!robot::SaveScreenshot(path, &error)) {
        ADD_FAILURE() << error;
        return "";
    }
    return path;
}

::testing::AssertionResult SetupTest::MakeDirBeforeRun(const std::string& path) {
    CleanLater(path);
    if (!CreateDirectoryA(path.c_str(), nullptr))
        return ::testing::AssertionFailure() << path << ": " << robot::LastErrorText();
    driveBefore_ = DriveContents();
    return ::testing::AssertionSuccess();
}

void SetupTest::RemoveWhatTheRunMade() {
    std::string error;
    auto before = [this](const std::string& path) {
        return std::binary_search(driveBefore_.begin(), driveBefore_.end(), path);
    };
    for (const std::string& path : DriveContents()) {
        if (before(path))
            continue;
        std::string outer = path;
        for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
            if (!before(path.substr(0, at))) {
                outer = path.substr(0, at);
                break;
            }
        EXPECT_TRUE(robot::RemoveTree("C:\\" + outer, &error)) << error;
    }
}
