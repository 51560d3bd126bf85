// Shared steps of the file-installation end-to-end tests: SETUP driven to its copy with a chosen
// destination, the message boxes that follow read one by one, the remaining steps finished, and
// the medium's files changed for one test and put back before the fixture compares the medium.
#pragma once

#include "setup_fixture.h"

#include <string>
#include <vector>

class InstallTest : public SetupTest {
protected:
    void TearDown() override;

    // Launches SETUP, continues past Welcome and leaves the Install Directory dialog with OK,
    // with `destination` typed in (the proposed directory when empty).
    ::testing::AssertionResult StartInstall(const std::string& destination = "");
    // Waits for SETUP's next message box, stores its text and presses OK.
    ::testing::AssertionResult NextMessage(std::string* text);
    // The texts of every message box until SETUP ends by itself, each answered with OK; fails
    // when SETUP shows another dialog meanwhile, or ends with an exception code. The exit code
    // goes to `exitCode` when given.
    ::testing::AssertionResult MessagesUntilExit(std::vector<std::string>* texts,
                                                 DWORD* exitCode = nullptr);
    // After a successful copy: Skip in Create Application Group, OK in Success, then SETUP must
    // end by itself (with its exit code in `exitCode` when given).
    ::testing::AssertionResult FinishInstall(DWORD* exitCode = nullptr);
    // From the Success dialog: OK, then SETUP must end by itself without another message.
    ::testing::AssertionResult CloseSuccess(HWND success, DWORD* exitCode);

    // Replaces a file of the medium for this test (before the launch); the original comes back
    // from the staged medium when the test ends, so the fixture still sees the medium unchanged.
    ::testing::AssertionResult ReplaceMediumFile(const std::string& name, size_t size);
    ::testing::AssertionResult RemoveMediumFile(const std::string& name);
    // A file of the medium that the test has changed some other way; put back in the same way.
    void RestoreMediumFileLater(const std::string& name) { changedMediumFiles_.push_back(name); }

    // Empty when every product file in `dir` equals its copy on the medium; otherwise what
    // differs. `except` names files that are not checked.
    std::string CompareWithMedium(const std::string& dir,
                                  const std::vector<std::string>& except = {}) const;

private:
    std::vector<std::string> changedMediumFiles_;
};

// Holds a file open with no sharing, as a program that uses a font does, until released.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE handle_;
};

// Whether a window of SETUP with this caption stays up behind its message boxes: the backdrop,
// and after a failure the Installing dialog.
bool IsBackground(const std::string& caption);

// The whole content of a file, or empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
