#include "setup_fixture.h"

#include <shlobj.h>

#include <algorithm>

namespace {

// The Program Manager group ZEL, which Wine keeps as a folder of the Start Menu (the user's
// or the common one).
std::vector<std::string> GroupFolders() {
    std::vector<std::string> paths;
    char programs[MAX_PATH];
    for (int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
        if (SUCCEEDED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, programs)))
            paths.push_back(std::string(programs) + "\\ZEL");
    return paths;
}

// Where a run can leave things behind: the default destination and the program group.
// Removed before every test.
std::vector<std::string> ScratchPaths() {
    std::vector<std::string> paths = GroupFolders();
    paths.push_back("C:\\ZEL");
    return paths;
}

std::string CurrentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "." + info->name() : "unknown";
}

std::string Describe(const std::vector<robot::WindowInfo>& windows) {
    std::string out;
    for (const robot::WindowInfo& w : windows)
        out +=
            "  \"" + w.text + "\" (class " + w.className + ", pid " + std::to_string(w.pid) + ")\n";
    return out;
}

} // namespace

const std::vector<std::string> kProductFiles = {
    "ZEL.EXE",      "README.TXT", "ZEL.HLP",    "MFC30.DLL",   "MFCN30.DLL",
    "MSVCRT20.DLL", "QUIRN.FON",  "QUIRNW.FON", "QUIRNDT.FON", "QUIRNDB.FON",
};

bool IsExceptionCode(DWORD code) {
    return (code & 0xC0000000u) == 0xC0000000u;
}

void SetupTest::SetUp() {
    std::string error;
    std::string source = robot::Env("E2E_MEDIUM");
    ASSERT_FALSE(source.empty())
        << "E2E_MEDIUM is not set; it names the staged medium as a Windows path, "
           "e.g. Z:\\work\\main\\build\\medium";

    for (const std::string& path : ScratchPaths())
        ASSERT_TRUE(robot::RemoveTree(path, &error)) << error;
    ASSERT_TRUE(robot::RemoveTree(kMediumDir, &error)) << error;
    ASSERT_TRUE(CreateDirectoryA(kMediumDir, nullptr)) << robot::LastErrorText();

    // Only the medium's own files: the staging directory may hold build-system files too.
    std::vector<std::string> names = kProductFiles;
    names.push_back("SETUP.EXE");
    for (const std::string& name : names) {
        std::string from = source + "\\" + name;
        std::string to = std::string(kMediumDir) + "\\" + name;
        ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), TRUE))
            << "copying " << from << " to " << to << ": " << robot::LastErrorText();
        robot::FileSum original, copy;
        ASSERT_TRUE(robot::SumFile(from, &original)) << from;
        ASSERT_TRUE(robot::SumFile(to, &copy)) << to;
        ASSERT_TRUE(original == copy) << to << " differs from " << from;
    }
    ASSERT_TRUE(robot::SumTree(kMediumDir, &mediumSums_, &error)) << error;

    driveBefore_ = DriveContents();
}

void SetupTest::TearDown() {
    if (HasFailure())
        Screenshot("failure");
    ExpectNoCrashDialog();
    setup_.Terminate();
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
    std::string error;
    if (!setup_.Launch(setupExe_, workDir, &error))
        return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}

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
    if (!robot::Click(dialog, id, &error))
        return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SetupTest::Key(HWND dialog, UINT vk) {
    std::string error;
    if (!robot::PressKey(dialog, vk, &error))
        return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SetupTest::Gone(HWND window) {
    std::string error;
    if (!robot::WaitUntilGone(window, robot::kDefaultTimeoutMs, &error))
        return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SetupTest::WaitExit(DWORD* exitCode,
                                               std::vector<robot::WindowInfo>* shown) {
    std::string error;
    if (!setup_.WaitForExit(robot::kDefaultTimeoutMs, exitCode, &error, shown))
        return ::testing::AssertionFailure() << error;
    RecordProperty("setup_exit_code", static_cast<int>(*exitCode));
    return ::testing::AssertionSuccess();
}

std::vector<std::string> SetupTest::DriveContents() const {
    // Wine itself writes below windows and users (registry, caches, profile folders).
    return robot::ListTree("C:\\", {"windows", "users", "ProgramData", "MEDIUM"});
}

std::string SetupTest::DriveChanges() const {
    std::vector<std::string> now = DriveContents();
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

void SetupTest::Screenshot(const std::string& label) {
    std::string dir = robot::Env("E2E_SHOTS");
    if (dir.empty())
        return;
    EXPECT_TRUE(Settle());
    std::string error;
    std::string path = dir + "\\" + CurrentTestName() + "-" + label + ".bmp";
    if (!robot::SaveScreenshot(path, &error))
        ADD_FAILURE() << error;
}

void SetupTest::ExpectNoCrashDialog() {
    std::vector<robot::WindowInfo> crashes = robot::CrashWindows();
    EXPECT_TRUE(crashes.empty()) << "a program crashed; crash windows:\n" << Describe(crashes);
    if (!crashes.empty()) {
        Screenshot("crash");
        robot::CloseCrashWindows();
    }
}
