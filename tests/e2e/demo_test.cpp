// The walk that scripts/demo shows without a display: the default path through every step, a
// screenshot of each, and the installed files checked at the end.
#include "setup_fixture.h"

namespace {

class Demo : public SetupTest {};

TEST_F(Demo, DefaultPathWithAScreenshotOfEveryStep) {
    // A larger help file keeps the Installing dialog up long enough to be photographed.
    ASSERT_TRUE(ReplaceMediumFile("ZEL.HLP", 48u << 20));
    HWND welcome = Reach(Step::kWelcome);
    ASSERT_NE(nullptr, welcome);
    Screenshot("1-welcome");
    ASSERT_TRUE(Click(welcome, IDOK));

    HWND installDir = WaitDialog("Install Directory");
    ASSERT_NE(nullptr, installDir);
    Screenshot("2-install-directory");
    ASSERT_TRUE(Click(installDir, IDC_DIRECTORY_BROWSE));
    HWND selectDir = WaitDialog("Select Directory");
    ASSERT_NE(nullptr, selectDir);
    Screenshot("3-select-directory");
    ASSERT_TRUE(Click(selectDir, IDCANCEL));
    ASSERT_TRUE(Gone(selectDir));
    ASSERT_TRUE(Click(installDir, IDOK));

    HWND installing = WaitDialog("Installing...");
    ASSERT_NE(nullptr, installing);
    RECT bar;
    GetWindowRect(GetDlgItem(installing, IDC_INSTALLING_BAR), &bar);
    for (int i = 0; i < 300 && robot::ScreenPixel(bar.left + 1, bar.top + 1) != RGB(255, 0, 0); i++)
        Sleep(10);
    Screenshot("4-installing");

    HWND createGroup = WaitDialog("Create Application Group");
    ASSERT_NE(nullptr, createGroup);
    Screenshot("5-create-group");
    ASSERT_TRUE(Click(createGroup, IDCANCEL));

    HWND success = WaitDialog("Success");
    ASSERT_NE(nullptr, success);
    Screenshot("6-success");
    ASSERT_TRUE(CloseSuccess(success));
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
}

} // namespace
