// Cancel at each of the copy's polls, and the Installing dialog's other ways out (Esc, Enter on
// the focused Cancel, and the system menu's Close). The copy job looks at Cancel once right after
// the Installing dialog appears, once per file after its "Copying:" line is set, and twice per
// block. The hook inside SETUP (fault_hook.c) posts the click at the exact moment; the keys and
// Close are driven from outside, as a person would, during a long first file. Every case: "Failed
// to install ZEL" alone, exit code 1, and only what was copied before the cancel is left.
#include "fault_steps.h"
#include "resource.h"

namespace {

constexpr DWORD kCancelled = 1;
const std::vector<std::string> kFailed = {"Failed to install ZEL"};
// A first file long enough to be still copying when a person has reached the dialog.
constexpr size_t kLongFile = 32u << 20;

class FaultCancel : public FaultTest {
protected:
    // Starts an install whose first file is long, waits for the Installing dialog and for its
    // first line, and returns the dialog.
    HWND StartLongCopy() {
        if (!ReplaceMediumFile("ZEL.EXE", kLongFile) || !Start("C:\\ZEL\\"))
            return nullptr;
        HWND installing = WaitDialog("Installing...");
        const DWORD start = GetTickCount();
        while (installing != nullptr &&
               robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_COPYING)) !=
                   "Copying: ZEL.EXE" &&
               GetTickCount() - start < robot::kDefaultTimeoutMs)
            Sleep(5);
        return installing;
    }

    // "Failed to install ZEL" alone, exit code 1, and ZEL.EXE stopped part way.
    void ExpectCancelledInTheFirstFile() {
        std::vector<std::string> messages;
        DWORD code = 0;
        ASSERT_TRUE(MessagesUntilExit(&messages, &code));
        EXPECT_EQ(kFailed, messages);
        EXPECT_EQ(kCancelled, code);
        // A whole number of blocks, each equal to the medium's, and nothing after it.
        const std::string partial = ReadWholeFile("C:\\ZEL\\ZEL.EXE");
        EXPECT_LT(partial.size(), kLongFile);
        EXPECT_EQ(0u, partial.size() % 4096);
        EXPECT_TRUE(partial == ReadWholeFile("C:\\MEDIUM\\ZEL.EXE").substr(0, partial.size()))
            << "the copied blocks differ from the medium";
        EXPECT_EQ(std::vector<std::string>{"ZEL.EXE"}, robot::ListTree(kDefaultDestination, {}));
    }
};

TEST_F(FaultCancel, RightAfterTheInstallingDialogAppears) {
    HookAt("Installing...", "cancel");
    ASSERT_TRUE(Start("C:\\ZEL\\"));
    std::vector<std::string> messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ("Installing... -> cancel: ok\r\n", HookLog());
    EXPECT_EQ(kFailed, messages);
    EXPECT_EQ(kCancelled, code);
    EXPECT_TRUE(robot::IsDirectory(kDefaultDestination)) << "the directory is made before";
    EXPECT_EQ(std::vector<std::string>{}, robot::ListTree(kDefaultDestination, {}))
        << "no file was opened";
}

TEST_F(FaultCancel, BetweenTwoFiles) {
    HookAt("Copying: README.TXT", "cancel");
    ASSERT_TRUE(Start("C:\\ZEL\\"));
    std::vector<std::string> messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ("Copying: README.TXT -> cancel: ok\r\n", HookLog());
    EXPECT_EQ(kFailed, messages);
    EXPECT_EQ(kCancelled, code);
    EXPECT_EQ(std::vector<std::string>{"ZEL.EXE"}, robot::ListTree(kDefaultDestination, {}))
        << "the first file is complete, the second not begun";
    EXPECT_EQ("", CompareWithMedium(
                      kDefaultDestination,
                      std::vector<std::string>(kProductFiles.begin() + 1, kProductFiles.end())));
}

TEST_F(FaultCancel, EscapeOnTheInstallingDialog) {
    HWND installing = StartLongCopy();
    ASSERT_NE(nullptr, installing);
    ASSERT_TRUE(Key(installing, VK_ESCAPE));
    ExpectCancelledInTheFirstFile();
}

// Enter presses the focused button, Cancel; it must never hide the dialog and leave the copy
// running out of reach.
TEST_F(FaultCancel, EnterOnTheInstallingDialogPressesTheFocusedCancel) {
    HWND installing = StartLongCopy();
    ASSERT_NE(nullptr, installing);
    EXPECT_EQ(GetDlgItem(installing, IDCANCEL), robot::FocusOf(installing));
    ASSERT_TRUE(Key(installing, VK_RETURN));
    ExpectCancelledInTheFirstFile();
}

TEST_F(FaultCancel, CloseOnTheInstallingDialogsSystemMenu) {
    HWND installing = StartLongCopy();
    ASSERT_NE(nullptr, installing);
    ASSERT_TRUE(robot::SysClose(installing));
    ExpectCancelledInTheFirstFile();
}

} // namespace
