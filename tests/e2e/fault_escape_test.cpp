// Escape in the dialogs that the Welcome and group-step tests leave out (Install Directory, Select
// Directory, Success), and Esc or the system menu's Close on the backdrop while the files are
// copied: the backdrop is not disabled then, and it has no commands of its own, so neither may hide
// it.
#include "fault_steps.h"
#include "resource.h"

namespace {

const char kBackdropCaption[] = "ZEL 1.1B3 Setup";

class FaultEscape : public FaultTest {
protected:
    // An install whose first file takes long enough to act on the backdrop during its copy.
    HWND StartLongCopy() {
        if (!ReplaceMediumFile("ZEL.EXE", 32u << 20) || !Start("C:\\ZEL\\"))
            return nullptr;
        HWND installing = WaitDialog("Installing...");
        const DWORD start = GetTickCount();
        while (installing != nullptr &&
               robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_COPYING)) !=
                   "Copying: ZEL.EXE" &&
               GetTickCount() - start < robot::kDefaultTimeoutMs)
            Sleep(5);
        return robot::FindDialog(kBackdropCaption, setup_.Id());
    }

    // The copy goes on to the end and the backdrop stays behind the next step.
    void ExpectInstallUnharmed(HWND backdrop) {
        std::vector<std::string> messages;
        HWND group = MessagesUntilDialog("Create Application Group", &messages);
        ASSERT_NE(nullptr, group);
        EXPECT_EQ(std::vector<std::string>{}, messages);
        EXPECT_TRUE(IsWindowVisible(backdrop)) << "the backdrop was hidden";
        EXPECT_EQ(backdrop, robot::FindDialog(kBackdropCaption, setup_.Id()));
        DWORD code = 1234;
        ASSERT_TRUE(FinishInstall(&code));
        EXPECT_EQ(0u, code);
        EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    }
};

TEST_F(FaultEscape, InInstallDirectoryEndsTheRun) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(nullptr, welcome);
    ASSERT_TRUE(Click(welcome, IDOK));
    HWND directory = WaitDialog("Install Directory");
    ASSERT_NE(nullptr, directory);
    std::vector<robot::WindowInfo> shown = robot::DialogsOf(setup_.Id());
    const size_t before = shown.size();
    ASSERT_TRUE(Key(directory, VK_ESCAPE));
    DWORD code = 1234;
    ASSERT_TRUE(WaitExit(&code, &shown));
    EXPECT_EQ(1u, code);
    for (size_t i = before; i < shown.size(); ++i)
        ADD_FAILURE() << "SETUP showed \"" << shown[i].text << "\" while ending";
    EXPECT_EQ("", DriveChanges());
}

TEST_F(FaultEscape, InSelectDirectoryKeepsTheTypedDirectory) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(nullptr, welcome);
    ASSERT_TRUE(Click(welcome, IDOK));
    HWND directory = WaitDialog("Install Directory");
    ASSERT_NE(nullptr, directory);
    std::string error;
    HWND edit = robot::Control(directory, IDC_DIRECTORY_EDIT, &error);
    ASSERT_NE(nullptr, edit) << error;
    ASSERT_TRUE(robot::SetText(edit, "D:\\APPS", &error)) << error;
    ASSERT_TRUE(Click(directory, IDC_DIRECTORY_BROWSE));
    HWND browse = WaitDialog("Select Directory");
    ASSERT_NE(nullptr, browse);
    ASSERT_TRUE(Key(browse, VK_ESCAPE));
    ASSERT_TRUE(Gone(browse));
    EXPECT_EQ("D:\\APPS", robot::TextOf(edit));
    EXPECT_TRUE(IsWindowVisible(directory));
    ASSERT_TRUE(Click(directory, IDCANCEL));
    DWORD code = 1234;
    std::vector<robot::WindowInfo> shown;
    ASSERT_TRUE(WaitExit(&code, &shown));
    EXPECT_EQ(1u, code);
    EXPECT_EQ("", DriveChanges());
}

TEST_F(FaultEscape, InSuccessEndsTheRunAsOkDoes) {
    ASSERT_TRUE(Start("C:\\ZEL\\"));
    std::vector<std::string> messages;
    HWND group = MessagesUntilDialog("Create Application Group", &messages);
    ASSERT_NE(nullptr, group);
    ASSERT_TRUE(Click(group, IDCANCEL));
    ASSERT_TRUE(Gone(group));
    HWND success = MessagesUntilDialog("Success", &messages);
    ASSERT_NE(nullptr, success);
    ASSERT_TRUE(Key(success, VK_ESCAPE));
    ASSERT_TRUE(Gone(success));
    DWORD code = 1234;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ(std::vector<std::string>{}, messages);
    EXPECT_EQ(0u, code);
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
}

TEST_F(FaultEscape, OnTheBackdropDuringTheCopyKeepsIt) {
    HWND backdrop = StartLongCopy();
    ASSERT_NE(nullptr, backdrop);
    ASSERT_TRUE(Key(backdrop, VK_ESCAPE));
    ExpectInstallUnharmed(backdrop);
}

TEST_F(FaultEscape, CloseOnTheBackdropDuringTheCopyKeepsIt) {
    HWND backdrop = StartLongCopy();
    ASSERT_NE(nullptr, backdrop);
    ASSERT_TRUE(robot::SysClose(backdrop));
    ExpectInstallUnharmed(backdrop);
}

} // namespace
