// The fixture of every end-to-end test: a clean prefix state, a fresh copy of the distribution
// medium (SETUP.EXE and the ten product files) in C:\MEDIUM, SETUP.EXE started from there and
// walked to any step, its message boxes answered by one loop, and checks after each test that
// nothing crashed and that the medium is byte for byte what it was.
//
// setup_fixture.cpp: set-up, tear-down and the robot's plain steps; setup_walk.cpp: the walk
// through the steps, the message boxes and the medium's files; setup_faults.cpp: the hook inside
// SETUP, and the drives and shares that the runner or a test maps.
//
// Environment (set by run-e2e.sh):
//   E2E_MEDIUM  Windows path of the staged medium, e.g. Z:\work\main\build\medium
//   E2E_PRODUCT Windows path of the SETUP.EXE that ships (optional; the medium's otherwise),
//               which differs from the medium's only in the 64-bit test build
//   E2E_PRODUCT_DISASSEMBLY  Windows path of that file's disassembly (objdump -d)
//   E2E_SHOTS   Windows path of a directory for screenshots (optional)
#pragma once

#include "held_file.h"
#include "progman_fake.h"
#include "resource.h"
#include "robot.h"
#include "setup_log.h"
#include "whole_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef std::vector<std::string> Texts;

// The ten product files that SETUP installs, in the order it copies them. The medium holds
// them beside SETUP.EXE.
extern const Texts kProductFiles;

// The steps that SetupTest::Reach walks to; kCopy: Install Directory left with OK, the copy runs.
enum class Step { kWelcome, kInstallDirectory, kCopy, kGroup, kSuccess };

class SetupTest : public ::testing::Test {
protected:
    static constexpr const char* kMediumDir = "C:\\MEDIUM";
    static constexpr const char* kSetupExe = "C:\\MEDIUM\\SETUP.EXE";
    static constexpr const char* kDefaultDestination = "C:\\ZEL";
    static constexpr const char* kBackdropCaption = "ZEL 1.1B3 Setup";
    static constexpr const char* kGroupCaption = "Create Application Group";
    // For Reach: leave the proposed destination in the edit box.
    static constexpr const char* kProposed = "\x01proposed";

    void SetUp() override;
    void TearDown() override;

    // ---- The walk (setup_walk.cpp) ----

    // Starts setupExe_ in `workDir` and walks to `step`: Continue in Welcome (with the hook set
    // on it when HookWith was called), `destination` typed into Install Directory exactly (also
    // when empty) and OK, then through the copy, which must show no message, to Create
    // Application Group, and Skip there to Success. Returns the step's window (for kCopy the
    // backdrop, which stays through the copy); null, with a failure added, when it does not
    // come. The default working directory is deliberately not the medium: the program must find
    // its files through its own path.
    HWND Reach(Step step, const std::string& destination = kProposed,
               const std::string& workDir = "C:\\");

    // Leaves Create Application Group with `button` (Escape when 0) and returns the Success
    // dialog, the message boxes on the way answered; null, with a failure added, if none comes.
    HWND PastGroup(HWND group, int button = IDOK, DWORD timeoutMs = 60000);
    // The one loop that answers SETUP's message boxes: each must be captioned SETUP with OK
    // alone; OK is pressed and the text noted in messages_. It ends when a dialog captioned
    // `caption` appears (into *dialog) or when SETUP ends (*dialog null, the exit code in
    // exitCode_). Fails when SETUP shows any other dialog, crashes, ends with an exception code,
    // or does neither within `timeoutMs`.
    ::testing::AssertionResult Answer(const std::string& caption, HWND* dialog,
                                      DWORD timeoutMs = robot::kDefaultTimeoutMs);
    // Answer, where SETUP ending first is a failure too.
    HWND AnswerUntil(const std::string& caption, DWORD timeoutMs = robot::kDefaultTimeoutMs);
    // Answer until SETUP ends by itself.
    ::testing::AssertionResult AnswerUntilExit(DWORD timeoutMs = robot::kDefaultTimeoutMs);
    // Answers until SETUP ends by itself; the message boxes must have been `messages` and the
    // exit code `exitCode` (2: failed).
    void ExpectEnd(const Texts& messages, DWORD exitCode = 2);
    // After a copy: Skip in Create Application Group, OK in Success; SETUP must then end by
    // itself with exit code 0, having shown no message box since it was started.
    ::testing::AssertionResult Finish();
    // From the Success dialog: OK, then SETUP must end by itself with exit code 0 and no further
    // message.
    ::testing::AssertionResult CloseSuccess(HWND success);
    // Leaves a dialog by `leave`; SETUP must then end by itself with exit code 1, showing nothing
    // new, and leave drive C as it was.
    void ExpectQuietEnd(const std::function<::testing::AssertionResult()>& leave);

    // Replaces a file of the medium for this test (before the launch) with `size` bytes of a
    // pattern; the original comes back from the staged medium when the test ends, so the fixture
    // still sees the medium unchanged.
    ::testing::AssertionResult ReplaceMediumFile(const std::string& name, size_t size);
    ::testing::AssertionResult RemoveMediumFile(const std::string& name);
    // A file of the medium that the test changes some other way; put back in the same way.
    void RestoreMediumFileLater(const std::string& name) { changedMediumFiles_.push_back(name); }
    // Empty when every product file in `dir` equals its copy on the medium; otherwise what
    // differs. `except` names files that are not checked.
    std::string CompareWithMedium(const std::string& dir, const Texts& except = {}) const;
    // The product files from the `n`-th on, for CompareWithMedium's `except`.
    static Texts FilesFrom(size_t n) {
        return Texts(kProductFiles.begin() + n, kProductFiles.end());
    }
    // Copies SETUP.EXE (as `setupName`) and the product files from `from` to `to` (made when
    // missing), and checks that each copy equals its original.
    static ::testing::AssertionResult CopyMedium(const std::string& from, const std::string& to,
                                                 const std::string& setupName = "SETUP.EXE");

    // Starts SETUP silently: "/S /LOG=<a log> " and then `arguments` (a /D= last), in `workDir`;
    // arguments with a /LOG= of their own get no other, and the test reads that log itself.
    // Waits for it to end, watching its top-level windows meanwhile, and fails when any of them
    // is visible at any moment, or when SETUP crashes or does not end within `timeoutMs`. Then
    // the exit code is in exitCode_, the log's lines (LogLines) in log_, and the texts of the
    // message boxes that the run did not show in messages_, as Answer notes the shown ones; the
    // log file is gone again.
    ::testing::AssertionResult RunSilent(const std::string& arguments = "",
                                         const std::string& workDir = "C:\\",
                                         DWORD timeoutMs = robot::kDefaultTimeoutMs);
    // The lines of a log that SETUP wrote (/LOG=), as support::LogLines gives them; one line
    // "<no log ...>" when there is none.
    static Texts LogLines(const std::string& path);

    // ---- The robot's plain steps (setup_fixture.cpp) ----

    ::testing::AssertionResult Launch(const std::string& workDir = "C:\\");
    // Waits for a visible dialog of SETUP with this caption; null (and a failure) if none.
    HWND WaitDialog(const std::string& caption);
    ::testing::AssertionResult Click(HWND dialog, int id);
    ::testing::AssertionResult Key(HWND dialog, UINT vk);
    ::testing::AssertionResult Gone(HWND window);
    // Waits for SETUP to end; notes the dialogs it showed meanwhile in `shown`.
    ::testing::AssertionResult WaitExit(DWORD* exitCode,
                                        std::vector<robot::WindowInfo>* shown = nullptr);

    // Paths created outside the fixed scratch list, removed after the test.
    void CleanLater(const std::string& path) { cleanLater_.push_back(path); }
    // Makes the directory `path`, removed after the test; it counts as there before the run.
    ::testing::AssertionResult MakeDirBeforeRun(const std::string& path);
    // Files and directories on drive C outside the system's own folders.
    Texts DriveContents() const;
    // What was added to or removed from DriveContents since the test started, and a Program
    // Manager group folder if one was made; empty if nothing.
    std::string DriveChanges() const;
    // Removes whatever was added to drive C since the test started, outermost first.
    void RemoveWhatTheRunMade();
    // Writes <suite>.<test>-<label>.bmp into E2E_SHOTS once SETUP has painted and returns its
    // path; a no-op when E2E_SHOTS is not set, which returns empty, as a failure does.
    std::string Screenshot(const std::string& label);
    // A file that the build puts beside e2e_tests.exe (planted.dll, fault_hook.dll, ...).
    static std::string HelperPath(const std::string& name);

    // ---- Faults made from outside SETUP (setup_faults.cpp) ----

    // Sets `variable`, one of the hook library's E2E_HOOK_* (fault_hook.c), to `value` for SETUP,
    // which inherits it when it is launched; Reach then puts the library into SETUP. Call before
    // the launch. The variables are cleared when the test ends.
    void HookWith(const std::string& variable, const std::string& value);
    // Has the hook library do `action` inside SETUP when SETUP sends `when` (see fault_hook.c).
    void HookAt(const std::string& when, const std::string& action);
    // "<when> -> <action>: ok" once the hook has acted; empty before.
    std::string HookLog() const;
    // Makes the folder `name` (a drive letter such as "m:", or "unc" for the shares) among the
    // prefix's dosdevices, where Wine finds its drives and shares, and removes it after the test;
    // returns it as Windows sees it through drive Z:, or empty without a private prefix.
    std::string MakeDosDevice(const std::string& name);
    // The share \\srv\sh, which Wine finds in the prefix as dosdevices\unc\srv\sh; empty if it
    // cannot be made.
    std::string MapShare();
    // The drive that the disk-full tests fill themselves (E2E_FILL_DRIVE, e.g. "T:"), or empty
    // when the runner could not map one.
    static std::string FillDrive();

    robot::Process setup_;
    // The program that Launch starts; a test may start a copy of it from elsewhere.
    std::string setupExe_ = kSetupExe;
    // Its command line after its name; none for the interactive installer.
    std::string arguments_;
    // The lines of the last silent run's log.
    Texts log_;
    Texts driveBefore_;
    // The texts of the message boxes that Answer pressed since the last launch, in order.
    Texts messages_;
    // SETUP's exit code once Answer or Finish saw it end; 1234 before.
    DWORD exitCode_ = 1234;
    FakeProgman fake_;

private:
    // When HookWith was called: sets the library's hook on the thread of `welcome`, before
    // Continue is pressed, so that it is in SETUP before anything after Welcome runs.
    ::testing::AssertionResult SetHook(HWND welcome);
    // Once SETUP has ended: its exit code into exitCode_, which must not be an exception's.
    ::testing::AssertionResult TakeExitCode();
    // Waits until every visible window of SETUP has finished painting, so that the screen
    // shows what a person would see.
    ::testing::AssertionResult Settle();

    robot::TreeSums mediumSums_;
    Texts cleanLater_;
    Texts changedMediumFiles_;
    Texts hookVariables_;
    std::string hookLog_;
    HMODULE hookLibrary_ = nullptr;
    HHOOK hook_ = nullptr;
};

using support::HeldFile;
using support::ReadWholeFile;
using support::WriteWholeFile;
