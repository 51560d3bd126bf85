// The Welcome dialog: the first step a person sees, and the two ways out of it.
#include "setup_fixture.h"

#include <algorithm>

namespace {

const Texts kWelcomeTexts = {
    "ZEL 1.1B3 Setup will:",
    "- Install ZEL executable",
    "- Install ZEL fonts",
    "- Install required DLLs",
    "- Create an application group (optional)",
};

class Welcome : public SetupTest {};

TEST_F(Welcome, ShowsItsButtonsTextsAndCaptionWithTheFocusOnContinue) {
    HWND welcome = Reach(Step::kWelcome);
    ASSERT_NE(welcome, nullptr);
    Screenshot("welcome");

    std::vector<robot::ControlInfo> controls = robot::Controls(welcome);
    auto find = [&](int id) {
        return std::find_if(controls.begin(), controls.end(),
                            [id](const robot::ControlInfo& c) { return c.id == id; });
    };
    auto ok = find(IDOK), cancel = find(IDCANCEL);
    ASSERT_NE(ok, controls.end());
    ASSERT_NE(cancel, controls.end());
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
            EXPECT_EQ(c.id, LOWORD(IDC_STATIC)) << c.text;
            EXPECT_TRUE(c.visible) << c.text;
        }
    EXPECT_EQ(controls.size(), 2 + kWelcomeTexts.size());

    LONG style = robot::StyleOf(welcome);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "no system menu and so no close box";
    HWND focus = robot::FocusOf(welcome);
    EXPECT_EQ(focus, GetDlgItem(welcome, IDOK))
        << "focus is on \"" << robot::TextOf(focus) << "\" (id " << GetDlgCtrlID(focus) << ")";
}

TEST_F(Welcome, CancelOrEscapeEndsQuietlyAndTouchesNothing) {
    for (UINT key : {0u, static_cast<UINT>(VK_ESCAPE)}) {
        SCOPED_TRACE(key ? "Escape" : "Cancel");
        HWND welcome = Reach(Step::kWelcome);
        ASSERT_NE(welcome, nullptr);
        ExpectQuietEnd([&] { return key ? Key(welcome, key) : Click(welcome, IDCANCEL); });
    }
}

TEST_F(Welcome, ContinueOrEnterLeadsToInstallDirectory) {
    for (UINT key : {0u, static_cast<UINT>(VK_RETURN)}) {
        SCOPED_TRACE(key ? "Enter" : "Continue");
        HWND welcome = Reach(Step::kWelcome);
        ASSERT_NE(welcome, nullptr);
        ASSERT_TRUE(key ? Key(welcome, key) : Click(welcome, IDOK));
        HWND next = WaitDialog("Install Directory");
        ASSERT_NE(next, nullptr);
        EXPECT_TRUE(Gone(welcome));
        EXPECT_TRUE(setup_.IsRunning());
        EXPECT_FALSE(robot::PathExists(kDefaultDestination)) << "created before it was confirmed";
        Screenshot(key ? "install-directory-by-enter" : "install-directory");
        setup_.Terminate();
    }
}

} // namespace
