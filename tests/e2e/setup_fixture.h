// The fixture of every end-to-end test: a clean prefix state, a fresh copy of the distribution
// medium (SETUP.EXE and the ten product files) in C:\MEDIUM, SETUP.EXE started from there, and
// checks after each test that nothing crashed and that the medium is byte for byte what it was.
//
// Environment (set by run-e2e.sh):
//   E2E_MEDIUM  Windows path of the staged medium, e.g. Z:\work\main\build\medium
//   E2E_PRODUCT Windows path of the SETUP.EXE that ships (optional; the medium's otherwise),
//               which differs from the medium's only in the 64-bit test build
//   E2E_SHOTS   Windows path of a directory for screenshots (optional)
#pragma once

#include "robot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The ten product files that SETUP installs, in the order it copies them. The medium holds
// them beside SETUP.EXE.
extern const std::vector<std::string> kProductFiles;

class SetupTest : public ::testing::Test {
protected:
    static constexpr const char* kMediumDir = "C:\\MEDIUM";
    static constexpr const char* kSetupExe = "C:\\MEDIUM\\SETUP.EXE";
    static constexpr const char* kDefaultDestination = "C:\\ZEL";
    static constexpr const char* kSetupCaption = "SETUP";

    void SetUp() override;
    void TearDown() override;

    // Starts setupExe_ (C:\MEDIUM\SETUP.EXE) in `workDir`. The default is deliberately not the
    // medium: the program must find its files through its own path, not the current directory.
    ::testing::AssertionResult Launch(const std::string& workDir = "C:\\");
    // Waits for a visible dialog of SETUP with this caption; null (and a failure) if none.
    HWND WaitDialog(const std::string& caption);
    ::testing::AssertionResult Click(HWND dialog, int id);
    ::testing::AssertionResult Key(HWND dialog, UINT vk);
    ::testing::AssertionResult Gone(HWND window);
    // Waits for SETUP to end; notes the dialogs it showed meanwhile in `shown`.
    ::testing::AssertionResult WaitExit(DWORD* exitCode, std::vector<robot::WindowInfo>* shown);

    // Sets `variable`, one of the hook library's E2E_HOOK_* (fault_hook.c), to `value` for SETUP,
    // which inherits it when it is launched; SetHook then puts the library into SETUP. Call
    // before the launch. The variables are cleared when the test ends.
    void HookWith(const std::string& variable, const std::string& value);
    // When HookWith was called: sets the library's hook on the thread of `welcome`, before
    // Continue is pressed, so that it is in SETUP before anything after Welcome runs.
    ::testing::AssertionResult SetHook(HWND welcome);
    // A file that the build puts beside e2e_tests.exe (planted.dll, fault_hook.dll, ...).
    static std::string HelperPath(const std::string& name);

    // Paths created outside the fixed scratch list, removed after the test.
    void CleanLater(const std::string& path) { cleanLater_.push_back(path); }
    // Files and directories on drive C outside the system's own folders.
    std::vector<std::string> DriveContents() const;
    // What was added to or removed from DriveContents since the test started, and a Program
    // Manager group folder if one was made; empty if nothing.
    std::string DriveChanges() const;
    // Waits until every visible window of SETUP has finished painting, so that the screen
    // shows what a person would see.
    ::testing::AssertionResult Settle();
    // Writes <suite>.<test>-<label>.bmp into E2E_SHOTS once SETUP has painted; a no-op when
    // E2E_SHOTS is not set.
    void Screenshot(const std::string& label);
    void ExpectNoCrashDialog();

    robot::Process setup_;
    // The program that Launch starts; a test may start a copy of it from elsewhere.
    std::string setupExe_ = kSetupExe;
    std::vector<std::string> driveBefore_;

private:
    robot::TreeSums mediumSums_;
    std::vector<std::string> cleanLater_;
    std::vector<std::string> hookVariables_;
    HMODULE hookLibrary_ = nullptr;
    HHOOK hook_ = nullptr;
};

// True for an exit code that is an exception status (access violation and the like).
bool IsExceptionCode(DWORD code);
