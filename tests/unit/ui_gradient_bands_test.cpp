#include <gtest/gtest.h>

#include "GradientBandList.h"

namespace {

COLORREF Shade(int s) {
    return RGB(0, s / 3, s);
}

} // namespace

TEST(GradientShade, FallsFrom236TowardSeventeenTruncatingTowardZero) {
    EXPECT_EQ(236, GradientShade(0, 455));
    EXPECT_EQ(236, GradientShade(2, 455)); // -440/455 truncates to 0, not to -1
    EXPECT_EQ(235, GradientShade(3, 455));
    EXPECT_EQ(17, GradientShade(454, 455)); // -99880/455 = -219.5 truncates to -219
    EXPECT_EQ(16, GradientShade(455, 455)); // rows past the client area follow the same rule
    EXPECT_EQ(234, GradientShade(1, 100));
}

TEST(GradientBands, A455RowAreaHas220BandsEachReachingIntoTheNextShade) {
    std::vector<GradientBand> bands = GradientBands(455);
    ASSERT_EQ(220u, bands.size());
    EXPECT_EQ(0, bands[0].nTop);
    EXPECT_EQ(4, bands[0].nBottom) << "rows 0 to 3: row 3 is already shade 235";
    EXPECT_EQ(RGB(0, 78, 236), bands[0].crColor);
    EXPECT_EQ(4, bands[1].nTop);
    EXPECT_EQ(RGB(0, 78, 235), bands[1].crColor);
    EXPECT_EQ(454, bands.back().nTop);
    EXPECT_EQ(456, bands.back().nBottom) << "the last band reaches row 455, below the area";
    EXPECT_EQ(RGB(0, 5, 17), bands.back().crColor);
}

TEST(GradientBands, A100RowAreaHas50BandsOfTwoRows) {
    std::vector<GradientBand> bands = GradientBands(100);
    ASSERT_EQ(50u, bands.size());
    const int firstShades[] = {236, 232, 228, 223};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(Shade(firstShades[i]), bands[i].crColor) << "band " << i;
    for (size_t i = 0; i < bands.size(); i++) {
        EXPECT_EQ(static_cast<int>(2 * i), bands[i].nTop) << "band " << i;
        EXPECT_EQ(static_cast<int>(2 * i + 2), bands[i].nBottom) << "band " << i;
    }
}

TEST(GradientBands, AOneRowAreaHasOneBandOfTwoRows) {
    std::vector<GradientBand> bands = GradientBands(1);
    ASSERT_EQ(1u, bands.size());
    EXPECT_EQ(0, bands[0].nTop);
    EXPECT_EQ(2, bands[0].nBottom);
    EXPECT_EQ(RGB(0, 78, 236), bands[0].crColor);
}

TEST(GradientBands, AnEmptyOrNegativeAreaHasNoBands) {
    EXPECT_TRUE(GradientBands(0).empty());
    EXPECT_TRUE(GradientBands(-5).empty());
}

// For every height a screen can have: the bands tile the area from row 0 without gaps or
// overlaps, each band's colour is the shade of its first row, every row of a band but its last
// has that shade and its last row has another one.
TEST(GradientBands, TileEveryHeightByTheShadeRule) {
    for (int h = 1; h <= 1200; h++) {
        std::vector<GradientBand> bands = GradientBands(h);
        ASSERT_FALSE(bands.empty()) << "height " << h;
        int next = 0;
        for (const GradientBand& band : bands) {
            ASSERT_EQ(next, band.nTop) << "height " << h;
            ASSERT_GE(band.nBottom - band.nTop, 2) << "height " << h << ", band at " << band.nTop;
            int s = GradientShade(band.nTop, h);
            ASSERT_EQ(Shade(s), band.crColor) << "height " << h << ", band at " << band.nTop;
            for (int r = band.nTop; r < band.nBottom - 1; r++)
                ASSERT_EQ(s, GradientShade(r, h)) << "height " << h << ", row " << r;
            ASSERT_NE(s, GradientShade(band.nBottom - 1, h)) << "height " << h;
            next = band.nBottom;
        }
        EXPECT_TRUE(next == h || next == h + 1) << "height " << h << " ends at " << next;
        if (h >= 440)
            EXPECT_EQ(220u, bands.size()) << "height " << h;
        else
            EXPECT_LT(bands.size(), 220u) << "height " << h;
    }
}
