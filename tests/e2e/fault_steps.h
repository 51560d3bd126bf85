// Shared steps of the fault catalogue (the fault_*_test.cpp files): SETUP started with any
// destination typed in, from any directory; a hook inside SETUP that acts at an exact moment of
// the copy (fault_hook.c); the message boxes answered up to a chosen dialog; a fake Program
// Manager; and a drive that a test fills to a chosen point.
#pragma once

#include "install_steps.h"
#include "progman_fake.h"

#include <cstdint>
#include <string>
#include <vector>

class FaultTest : public InstallTest {
protected:
    void TearDown() override;

    // Launches SETUP in `workDir`, continues past Welcome and leaves Install Directory with OK,
    // with exactly `destination` in its edit box (also when it is empty).
    ::testing::AssertionResult Start(const std::string& destination,
                                     const std::string& workDir = "C:\\");
    // Has the hook library do `action` inside SETUP when SETUP sends `when` (see fault_hook.c
    // for both); Start then sets the hook on SETUP's thread. Call before Start.
    void HookAt(const std::string& when, const std::string& action);
    // "<when> -> <action>: ok" once the hook has acted; empty before.
    std::string HookLog() const;

    // Answers every message box of SETUP with OK, noting its text in `texts`, until a dialog
    // captioned `caption` appears; returns it, or null (and a failure) when SETUP ends or shows
    // another dialog first.
    HWND MessagesUntilDialog(const std::string& caption, std::vector<std::string>* texts,
                             DWORD timeoutMs = robot::kDefaultTimeoutMs);

    // Makes the folder `name` (a drive letter such as "m:", or "unc" for the shares) among the
    // prefix's dosdevices, where Wine finds its drives and shares, and removes it after the test;
    // returns it as Windows sees it through drive Z:, or empty without a private prefix.
    std::string MakeDosDevice(const std::string& name);

    // The drive that the disk-full tests fill themselves (E2E_FILL_DRIVE, e.g. "T:"), or empty
    // when the runner could not map one.
    static std::string FillDrive();
    // Makes empty files in `dir` until the file system of its drive takes no further entry,
    // then removes `spare` of them again.
    static ::testing::AssertionResult UseUpEntries(const std::string& dir, int spare);
    // Writes the file `path` so large that exactly `bytesFree` bytes stay free on `drive`.
    static ::testing::AssertionResult FillUpTo(const std::string& drive, const std::string& path,
                                               uint64_t bytesFree);
    static uint64_t FreeBytes(const std::string& drive);

    FakeProgman fake_;

private:
    std::string hookLog_;
};
