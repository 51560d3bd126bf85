// Cancel during the copy. The copy job looks at Cancel once right after the Installing dialog
// appears, once per file after its "Copying:" line is set, and twice per block: the hook inside
// SETUP (fault_hook.c) posts the click at the first two moments; Cancel, Esc, Enter on the focused
// Cancel and the system menu's Close are driven from outside, as a person would, during a long
// file. Every case: "Failed to install ZEL" alone, exit code 1, and only what was copied before the
// cancel is left. Esc, Enter and Close on the backdrop during the copy, which has no commands of
// its own, must neither hide it nor stop the copy.
#include "setup_fixture.h"

#include <algorithm>

namespace {

const Texts kFailed = {"Failed to install ZEL"};

class Cancel : public SetupTest {
protected:
    typedef std::function<::testing::AssertionResult(HWND)> Action;

    // Starts an install, its file `index` made long before, and returns the Installing dialog
    // once that file's "Copying:" line is set.
    HWND StartLongCopy(size_t index) {
        const std::string& name = kProductFiles[index];
        if (Reach(Step::kCopy, "C:\\ZEL\\") == nullptr)
            return nullptr;
        HWND installing = WaitDialog("Installing...");
        const DWORD start = GetTickCount();
        while (installing != nullptr &&
               robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_COPYING)) !=
                   "Copying: " + name) {
            if (GetTickCount() - start > robot::kDefaultTimeoutMs) {
                ADD_FAILURE() << "no \"Copying: " << name << "\" line";
                return nullptr;
            }
            Sleep(5);
        }
        return installing;
    }
};

TEST_F(Cancel, AtTheCopysOwnPolls) {
    // The first row's medium lacks README.TXT: a cancel taken right after the dialog appears
    // comes before the files are measured, so the missing file is never reported.
    const struct {
        const char* when;
        size_t copied; // the files complete before the cancel
        bool readmeMissing;
    } rows[] = {{"Copying: README.TXT", 1, false}, {"Installing...", 0, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.when);
        if (row.readmeMissing) {
            ASSERT_TRUE(RemoveMediumFile("README.TXT"));
        }
        HookAt(row.when, "cancel");
        ASSERT_NE(nullptr, Reach(Step::kCopy, "C:\\ZEL\\"));
        ASSERT_TRUE(AnswerUntilExit());
        EXPECT_EQ(std::string(row.when) + " -> cancel: ok\r\n", HookLog());
        EXPECT_EQ(kFailed, messages_);
        EXPECT_EQ(1u, exitCode_);
        EXPECT_TRUE(robot::IsDirectory(kDefaultDestination)) << "the directory is made before";
        EXPECT_EQ(Texts(kProductFiles.begin(), kProductFiles.begin() + row.copied),
                  robot::ListTree(kDefaultDestination, {}))
            << "the files before complete, the next not begun";
        EXPECT_EQ("", CompareWithMedium(kDefaultDestination, FilesFrom(row.copied)));
        std::string error;
        ASSERT_TRUE(robot::RemoveTree(kDefaultDestination, &error)) << error;
    }
}

// Enter presses the focused button, Cancel; it must never hide the dialog and leave the copy
// running out of reach.
TEST_F(Cancel, InTheMiddleOfAFile) {
    const struct {
        const char* name;
        size_t index; // of the long file
        size_t size;
        Action cancel;
    } rows[] = {
        {"Escape", 0, 32u << 20, [this](HWND d) { return Key(d, VK_ESCAPE); }},
        {"Enter", 0, 32u << 20, [this](HWND d) { return Key(d, VK_RETURN); }},
        {"Close", 0, 32u << 20,
         [](HWND d) { return ::testing::AssertionResult(robot::SysClose(d)); }},
        {"Cancel", 2, 96u << 20, [this](HWND d) { return Click(d, IDCANCEL); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string name = kProductFiles[row.index];
        robot::TreeSums mediumBefore, mediumAfter;
        std::string error;
        ASSERT_TRUE(ReplaceMediumFile(name, row.size));
        ASSERT_TRUE(robot::SumTree(kMediumDir, &mediumBefore, &error)) << error;
        HWND installing = StartLongCopy(row.index);
        ASSERT_NE(nullptr, installing);
        EXPECT_EQ("To: C:\\ZEL\\" + name, robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_TO)));
        EXPECT_EQ(GetDlgItem(installing, IDCANCEL), robot::FocusOf(installing));
        Screenshot(std::string("copying-") + row.name);
        // The bar: red from its left edge, white at its right end while the copy runs.
        RECT bar;
        GetWindowRect(GetDlgItem(installing, IDC_INSTALLING_BAR), &bar);
        for (int i = 0; i < 200 && robot::ScreenPixel(bar.left + 1, bar.top + 1) != RGB(255, 0, 0);
             i++)
            Sleep(10);
        EXPECT_EQ(RGB(255, 0, 0), robot::ScreenPixel(bar.left + 1, bar.top + 1));
        EXPECT_EQ(RGB(255, 255, 255), robot::ScreenPixel(bar.right - 2, bar.top + 1));

        ASSERT_TRUE(row.cancel(installing));
        ASSERT_NE(nullptr,
                  robot::WaitForMessageBox("SETUP", &setup_, robot::kDefaultTimeoutMs, &error))
            << error;
        EXPECT_FALSE(IsWindowVisible(installing))
            << "got the Installing dialog shown, expected it hidden by the cancel";
        ASSERT_TRUE(AnswerUntilExit());
        EXPECT_EQ(kFailed, messages_) << "a cancel has no message of its own";
        EXPECT_EQ(1u, exitCode_) << "cancelled by the user";
        EXPECT_EQ("", CompareWithMedium(kDefaultDestination, FilesFrom(row.index)))
            << "the files before it stay";
        // A whole number of blocks, each equal to the medium's, and nothing after it.
        const std::string partial = ReadWholeFile("C:\\ZEL\\" + name);
        EXPECT_GT(partial.size(), 0u) << "got an empty file, expected the first blocks";
        EXPECT_LT(partial.size(), row.size) << "the copy stopped";
        EXPECT_EQ(0u, partial.size() % 4096) << "whole blocks only";
        EXPECT_TRUE(partial == ReadWholeFile("C:\\MEDIUM\\" + name).substr(0, partial.size()))
            << "the copied blocks differ from the medium";
        Texts upToIt(kProductFiles.begin(), kProductFiles.begin() + row.index + 1);
        std::sort(upToIt.begin(), upToIt.end()); // as ListTree gives them
        EXPECT_EQ(upToIt, robot::ListTree(kDefaultDestination, {})) << "nothing after it";
        ASSERT_TRUE(robot::SumTree(kMediumDir, &mediumAfter, &error)) << error;
        EXPECT_EQ("", robot::DiffSums(mediumBefore, mediumAfter));
        ASSERT_TRUE(robot::RemoveTree(kDefaultDestination, &error)) << error;
    }
}

// The backdrop is not disabled while the files are copied, and has no commands of its own.
TEST_F(Cancel, OnTheBackdropDuringTheCopyNothingHappens) {
    const struct {
        const char* name;
        Action act;
    } rows[] = {
        {"Escape", [this](HWND w) { return Key(w, VK_ESCAPE); }},
        {"Enter", [this](HWND w) { return Key(w, VK_RETURN); }},
        {"Close", [](HWND w) { return ::testing::AssertionResult(robot::SysClose(w)); }},
    };
    ASSERT_TRUE(ReplaceMediumFile("ZEL.EXE", 32u << 20));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(nullptr, StartLongCopy(0));
        HWND backdrop = robot::FindDialog(kBackdropCaption, setup_.Id());
        ASSERT_NE(nullptr, backdrop);
        ASSERT_TRUE(row.act(backdrop));
        ASSERT_NE(nullptr, AnswerUntil(kGroupCaption));
        EXPECT_EQ(Texts{}, messages_);
        EXPECT_TRUE(IsWindowVisible(backdrop)) << "the backdrop was hidden";
        EXPECT_EQ(backdrop, robot::FindDialog(kBackdropCaption, setup_.Id()));
        ASSERT_TRUE(Finish());
        EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
        std::string error;
        ASSERT_TRUE(robot::RemoveTree(kDefaultDestination, &error)) << error;
    }
}

} // namespace
