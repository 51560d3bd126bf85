#include <gtest/gtest.h>

#include "install/Progress.h"

// 175 dialog units of the bar come to about this many pixels with the dialog's font.
static const int kBarWidth = 262;

TEST(ProgressAfter, IsTheFractionOfBytesDone) {
    EXPECT_DOUBLE_EQ(0.0, ProgressAfter(0.0, 0, 1000));
    EXPECT_DOUBLE_EQ(0.25, ProgressAfter(0.0, 250, 1000));
    EXPECT_DOUBLE_EQ(4096.0 / 10000.0, ProgressAfter(0.1, 4096, 10000));
}

TEST(ProgressAfter, DoneEqualToTotalIsExactlyComplete) {
    EXPECT_EQ(1.0, ProgressAfter(0.3, 3000000, 3000000));
    EXPECT_EQ(1.0, ProgressAfter(0.3, 0, 0)) << "nothing to copy counts as complete";
}

TEST(ProgressAfter, ATotalOfZeroOrLessLeavesTheFraction) {
    EXPECT_EQ(0.3, ProgressAfter(0.3, 5, 0));
    // 2 GiB and more reads as a negative total.
    EXPECT_EQ(0.3, ProgressAfter(0.3, 5, 0x80000000u));
}

TEST(ProgressAfter, IsNotClampedPastComplete) {
    EXPECT_DOUBLE_EQ(1.5, ProgressAfter(1.0, 1500, 1000));
}

TEST(ProgressAfter, ReadsTheCountsAsSigned) {
    // A done count of 2 GiB or more is outside the design; it reads as negative.
    EXPECT_LT(ProgressAfter(0.0, 0x80000000u, 1000), 0.0);
}

TEST(ProgressBar, FilledWidthRoundsToTheNearestPixel) {
    EXPECT_EQ(0, ProgressFilledWidth(0.0, kBarWidth));
    EXPECT_EQ(261, ProgressFilledWidth(0.995, kBarWidth)); // 260.69 + 0.5
    EXPECT_EQ(kBarWidth, ProgressFilledWidth(1.0, kBarWidth));
    EXPECT_EQ(393, ProgressFilledWidth(1.5, kBarWidth)) << "past the bar's right edge";
    EXPECT_EQ(1, ProgressFilledWidth(0.5, 1)) << "a half rounds up";
    EXPECT_EQ(0, ProgressFilledWidth(0.49, 1));
}

TEST(ProgressBar, LabelPercentRounds) {
    EXPECT_EQ(0, ProgressPercent(0.0));
    EXPECT_EQ(0, ProgressPercent(0.00499));
    EXPECT_EQ(1, ProgressPercent(0.005));
    EXPECT_EQ(99, ProgressPercent(0.99));
    EXPECT_EQ(100, ProgressPercent(0.9951)) << "already 100 while a white strip may remain";
    // The double nearest to 0.995 lies just below it, but times 100 it rounds to 99.5 as a
    // double: 100, in every build.
    EXPECT_EQ(100, ProgressPercent(ProgressAfter(0.0, 995, 1000)));
    EXPECT_EQ(99, ProgressPercent(ProgressAfter(0.0, 994, 1000)));
    EXPECT_EQ(100, ProgressPercent(ProgressAfter(0.0, 1991, 2000)));
    EXPECT_EQ(100, ProgressPercent(1.0));
    EXPECT_EQ(150, ProgressPercent(1.5));
}

TEST(ProgressBar, LabelHasASpaceOnEachSide) {
    EXPECT_STREQ(" 0% ", ProgressLabel(0.0));
    EXPECT_STREQ(" 42% ", ProgressLabel(0.42));
    EXPECT_STREQ(" 100% ", ProgressLabel(0.9955));
    EXPECT_STREQ(" 100% ", ProgressLabel(1.0));
    EXPECT_STREQ(" 120% ", ProgressLabel(1.2));
}

TEST(ProgressBar, AFractionFarPastCompleteStaysInRange) {
    // A file that grew to thousands of times its measured size: no overflow into negatives.
    double dHuge = ProgressAfter(0.0, 0x7FFFFFFF, 1);
    EXPECT_EQ(INT_MAX, ProgressFilledWidth(dHuge, kBarWidth));
    EXPECT_GT(ProgressPercent(dHuge), 100);
}

TEST(ProgressBar, LabelSitsInTheMiddle) {
    SIZE sizeLabel = {40, 13};
    POINT pt = ProgressLabelOrigin(kBarWidth, 21, sizeLabel);
    EXPECT_EQ(111, pt.x);
    EXPECT_EQ(4, pt.y);
    // Each half truncates toward zero, also when the label is wider than the bar.
    SIZE sizeWide = {271, 13};
    EXPECT_EQ(-4, ProgressLabelOrigin(kBarWidth, 21, sizeWide).x);
}

TEST(ProgressBar, ChangesWhenTheRedPartOrTheLabelChanges) {
    EXPECT_FALSE(ProgressChangesBar(0.25, 0.25, kBarWidth));
    // 0.2500 to 0.2505: the same pixel, the same 25.
    EXPECT_FALSE(ProgressChangesBar(0.25, 0.2505, kBarWidth));
    // One more pixel of red, the same label.
    EXPECT_TRUE(ProgressChangesBar(0.25, 0.2539, kBarWidth));
    // The label moves from 25 to 26 on a bar too narrow to show the step in red.
    EXPECT_TRUE(ProgressChangesBar(0.254, 0.256, 50));
    // 0.997 reads 100 beside one white pixel; at 1.0 that pixel turns red.
    EXPECT_EQ(261, ProgressFilledWidth(0.997, kBarWidth));
    EXPECT_TRUE(ProgressChangesBar(0.997, 1.0, kBarWidth));
    EXPECT_FALSE(ProgressChangesBar(0.999, 1.0, kBarWidth)) << "0.999 already fills the bar";
}

TEST(ProgressBar, RedBeyondTheEdgeLooksLikeAFullBar) {
    // 1.0 and 1.002 both show all red and 100.
    EXPECT_FALSE(ProgressChangesBar(1.0, 1.002, kBarWidth));
    EXPECT_TRUE(ProgressChangesBar(1.0, 1.01, kBarWidth)) << "the label reads 101";
}

TEST(ProgressBar, ACopyRepaintsOnlyWhenThePictureChanges) {
    // 10 MiB in 4096-byte blocks: 2560 reports, but at most one repaint per pixel of red or per
    // step of the label.
    const DWORD dwTotal = 10 * 1024 * 1024;
    double dShown = 0.0, dProgress = 0.0;
    int nRepaints = 0;
    for (DWORD dwDone = 4096; dwDone <= dwTotal; dwDone += 4096) {
        dProgress = ProgressAfter(dProgress, dwDone, dwTotal);
        if (ProgressChangesBar(dShown, dProgress, kBarWidth)) {
            nRepaints++;
            dShown = dProgress;
        }
    }
    EXPECT_EQ(1.0, dProgress);
    EXPECT_FALSE(ProgressChangesBar(dShown, 1.0, kBarWidth)) << "the last repaint shows it full";
    EXPECT_GE(nRepaints, kBarWidth) << "every pixel of red is shown";
    EXPECT_LE(nRepaints, kBarWidth + 100);
}
