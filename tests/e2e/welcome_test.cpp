// The Welcome dialog: the first step a person sees, and the two ways out of it.
#include "setup_fixture.h"

namespace {

const std::vector<std::string> kWelcomeTexts = {
    "ZEL 1.1B3 Setup will:",
    "- Install ZEL executable",
    "- Install ZEL fonts",
    "- Install required DLLs",
    "- Create an application group (optional)",
};

constexpr int kStaticId = 0xFFFF;

const robot::ControlInfo* Find(const std::vector<robot::ControlInfo>& controls, int id) {
    for (const robot::ControlInfo& c : controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

class Welcome : public SetupTest {
protected:
    // Leaves the Welcome dialog by `leave` and checks that SETUP then ends by itself without
    // showing anything new (no message box, no further step) and leaves drive C as it was.
    template <typename Leave> void ExpectQuietEnd(Leave leave) {
        std::vector<robot::WindowInfo> shown = robot::DialogsOf(setup_.Id());
        const size_t before = shown.size();
        ASSERT_TRUE(leave());
        DWORD code = 0;
        ASSERT_TRUE(WaitExit(&code, &shown));
        EXPECT_EQ(1u, code) << "exit code 0x" << std::hex << code << ": cancelled by the user";
        for (size_t i = before; i < shown.size(); ++i)
            ADD_FAILURE() << "SETUP showed \"" << shown[i].text << "\" while ending";
        EXPECT_FALSE(robot::PathExists(kDefaultDestination));
        EXPECT_EQ(DriveChanges(), "");
    }
};

TEST_F(Welcome, ShowsItsButtonsAndTexts) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    Screenshot("welcome");

    std::vector<robot::ControlInfo> controls = robot::Controls(welcome);
    const robot::ControlInfo* ok = Find(controls, IDOK);
    const robot::ControlInfo* cancel = Find(controls, IDCANCEL);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->className, "button");
    EXPECT_EQ(ok->text, "Continue");
    EXPECT_TRUE(ok->visible && ok->enabled);
    EXPECT_EQ(ok->style & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "Continue is the default button";
    EXPECT_EQ(cancel->className, "button");
    EXPECT_EQ(cancel->text, "Cancel");
    EXPECT_TRUE(cancel->visible && cancel->enabled);
    EXPECT_EQ(cancel->style & BS_TYPEMASK, BS_PUSHBUTTON);

    EXPECT_EQ(robot::TextsOf(welcome, "static"), kWelcomeTexts);
    for (const robot::ControlInfo& c : controls)
        if (c.className == "static") {
            EXPECT_EQ(c.id, kStaticId) << c.text;
            EXPECT_TRUE(c.visible) << c.text;
        }
    EXPECT_EQ(controls.size(), 2 + kWelcomeTexts.size());
}

TEST_F(Welcome, HasCaptionButNoSystemMenu) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    LONG style = robot::StyleOf(welcome);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "no system menu and so no close box";
}

TEST_F(Welcome, FocusStartsOnContinue) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    HWND focus = robot::FocusOf(welcome);
    EXPECT_EQ(focus, GetDlgItem(welcome, IDOK))
        << "focus is on \"" << robot::TextOf(focus) << "\" (id " << GetDlgCtrlID(focus) << ")";
}

TEST_F(Welcome, CancelEndsQuietlyAndTouchesNothing) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    ExpectQuietEnd([&] { return Click(welcome, IDCANCEL); });
}

TEST_F(Welcome, EscapeActsLikeCancel) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    ExpectQuietEnd([&] { return Key(welcome, VK_ESCAPE); });
}

TEST_F(Welcome, ContinueLeadsToInstallDirectory) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    ASSERT_TRUE(Click(welcome, IDOK));
    HWND next = WaitDialog("Install Directory");
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(Gone(welcome));
    EXPECT_TRUE(setup_.IsRunning());
    EXPECT_FALSE(robot::PathExists(kDefaultDestination)) << "created before it was confirmed";
    Screenshot("install-directory");
}

TEST_F(Welcome, EnterActsLikeContinue) {
    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    ASSERT_TRUE(Key(welcome, VK_RETURN));
    HWND next = WaitDialog("Install Directory");
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(Gone(welcome));
}

} // namespace
