// The walk that scripts/demo shows without a display: the default path through every step, a
// screenshot of each, and the installed files checked at the end.
#include "setup_fixture.h"

#include <algorithm>
#include <map>

namespace {

class Demo : public SetupTest {};

// The README's pictures are made from these screenshots, made small in a palette: a picture
// with an alpha channel, or one all of one colour, comes out as a blank one. A screen has no
// alpha, and every step shows a dialog on the backdrop's bands, of which no colour covers more
// than a few per cent.
::testing::AssertionResult OpaqueAndNotOfOneColour(const std::string& path) {
    if (path.empty())
        return ::testing::AssertionFailure() << "got no screenshot, expected one (E2E_SHOTS)";
    robot::Picture picture;
    std::string error;
    if (!robot::ReadScreenshot(path, &picture, &error))
        return ::testing::AssertionFailure() << error;
    if (picture.bitsPerPixel != 24)
        return ::testing::AssertionFailure() << path << ": got " << picture.bitsPerPixel
                                             << " bits per pixel, expected 24 (no alpha channel)";
    std::map<COLORREF, size_t> counts;
    for (COLORREF colour : picture.pixels)
        counts[colour]++;
    const auto commonest =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    if (commonest == counts.end() || commonest->second * 10 >= picture.pixels.size() * 9)
        return ::testing::AssertionFailure()
               << path << ": got " << (commonest == counts.end() ? 0 : commonest->second) << " of "
               << picture.pixels.size() << " pixels of one colour, expected under 90 per cent";
    return ::testing::AssertionSuccess();
}

TEST_F(Demo, DefaultPathWithAScreenshotOfEveryStep) {
    // A larger help file keeps the Installing dialog up long enough to be photographed.
    ASSERT_TRUE(ReplaceMediumFile("ZEL.HLP", 48u << 20));
    HWND welcome = Reach(Step::kWelcome);
    ASSERT_NE(nullptr, welcome);
    EXPECT_TRUE(OpaqueAndNotOfOneColour(Screenshot("1-welcome")));
    ASSERT_TRUE(Click(welcome, IDOK));

    HWND installDir = WaitDialog("Install Directory");
    ASSERT_NE(nullptr, installDir);
    EXPECT_TRUE(OpaqueAndNotOfOneColour(Screenshot("2-install-directory")));
    ASSERT_TRUE(Click(installDir, IDC_DIRECTORY_BROWSE));
    HWND selectDir = WaitDialog("Select Directory");
    ASSERT_NE(nullptr, selectDir);
    EXPECT_TRUE(OpaqueAndNotOfOneColour(Screenshot("3-select-directory")));
    ASSERT_TRUE(Click(selectDir, IDCANCEL));
    ASSERT_TRUE(Gone(selectDir));
    ASSERT_TRUE(Click(installDir, IDOK));

    HWND installing = WaitDialog("Installing...");
    ASSERT_NE(nullptr, installing);
    RECT bar;
    GetWindowRect(GetDlgItem(installing, IDC_INSTALLING_BAR), &bar);
    for (int i = 0; i < 300 && robot::ScreenPixel(bar.left + 1, bar.top + 1) != RGB(255, 0, 0); i++)
        Sleep(10);
    EXPECT_TRUE(OpaqueAndNotOfOneColour(Screenshot("4-installing")));

    HWND createGroup = WaitDialog("Create Application Group");
    ASSERT_NE(nullptr, createGroup);
    EXPECT_TRUE(OpaqueAndNotOfOneColour(Screenshot("5-create-group")));
    ASSERT_TRUE(Click(createGroup, IDCANCEL));

    HWND success = WaitDialog("Success");
    ASSERT_NE(nullptr, success);
    EXPECT_TRUE(OpaqueAndNotOfOneColour(Screenshot("6-success")));
    ASSERT_TRUE(CloseSuccess(success));
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
}

} // namespace
