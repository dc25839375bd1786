#include "dialogs/dialog_layout.h"

#include <gtest/gtest.h>

namespace plumbo {
namespace {

constexpr double kMm = 1440.0 / 25.4;

TEST(PreviewTickCount, IsTheWidthInWholeMillimetres) {
    EXPECT_EQ(PreviewTickCount(4995.0), 88);    // 88.11 mm
    EXPECT_EQ(PreviewTickCount(87.6 * kMm), 88);
    EXPECT_EQ(PreviewTickCount(0.0), 0);
}

TEST(LayoutSettingsPreview, EightyEightTicksAndNumbersZeroToSeven) {
    PreviewLayout l = LayoutSettingsPreview(4995.0, 500.0, 180.0);
    ASSERT_EQ(l.ticks.size(), 88u);
    int longTicks = 0, mediumTicks = 0;
    for (size_t i = 0; i < l.ticks.size(); ++i) {
        const PreviewTick& t = l.ticks[i];
        EXPECT_NEAR(t.x, i * kMm, 1e-9) << i;
        EXPECT_DOUBLE_EQ(t.yBottom, 500.0) << i;
        // Long at 0, 10, ..., 80; medium at 5, 15, ..., 85; the rest short.
        const double expectedTop = i % 10 == 0 ? 300.0 : i % 5 == 0 ? 350.0 : 400.0;
        EXPECT_EQ(t.yTop, expectedTop) << i << " mm";
        longTicks += t.yTop == 300.0;
        mediumTicks += t.yTop == 350.0;
    }
    EXPECT_EQ(longTicks, 9);
    EXPECT_EQ(mediumTicks, 9);

    // Each number stands on its long tick: 500 - 200 - 180.
    ASSERT_EQ(l.numbers.size(), 8u);
    for (size_t j = 0; j < l.numbers.size(); ++j) {
        const PreviewNumber& n = l.numbers[j];
        EXPECT_EQ(n.value, static_cast<int32_t>(j));
        EXPECT_NEAR(n.left, l.ticks[10 * j].x, 1e-9) << j;
        EXPECT_DOUBLE_EQ(n.top, 120.0) << j;
    }

    l = LayoutSettingsPreview(9 * kMm, 500.0, 180.0);
    EXPECT_EQ(l.ticks.size(), 9u);
    EXPECT_TRUE(l.numbers.empty()) << "too narrow for a number";
}

TEST(CentredOffsetTwips, RoundsToWholeTwipsThenHalvesTowardZero) {
    struct Case { double screen, dialog; int32_t offset; };
    const Case cases[] = {
        {28800.0, 6840.0, 10980},
        {19200.0, 6841.0, 6179},    // 12359 \ 2
        {28800.0, 6840.5, 10980},   // 21959.5 -> 21960
        {28800.0, 6841.5, 10979},   // 21958.5 -> 21958
        {4000.0, 6841.0, -1420},    // -2841 \ 2
    };
    for (const Case& c : cases) EXPECT_EQ(CentredOffsetTwips(c.screen, c.dialog), c.offset) << c.screen << " - " << c.dialog;
}

TEST(VersionBoxGradient, SeventeenBandsFromBlueTowardBlack) {
    // 6150 x 3735 twips at 15 twips per pixel: 410 x 249 px, step 15, y = 0, 15, ..., 240.
    std::vector<GradientBand> bands = VersionBoxGradient(410, 249);
    ASSERT_EQ(bands.size(), 17u);
    struct Case { size_t index; int32_t top, bottom; uint32_t blue; };
    const Case cases[] = {
        {0, -1, 15, 255},    // y 0
        {8, 119, 135, 133},  // 30600 \ 249 = 122
        {16, 239, 255, 10},  // 61200 \ 249 = 245
    };
    for (const Case& c : cases) {
        const GradientBand& b = bands[c.index];
        EXPECT_EQ(b.left, -1) << c.index;
        EXPECT_EQ(b.right, 410) << c.index;
        EXPECT_EQ(b.top, c.top) << c.index;
        EXPECT_EQ(b.bottom, c.bottom) << c.index;
        EXPECT_EQ(b.color, c.blue << 16) << c.index;
    }
    for (size_t i = 1; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].top, bands[i - 1].bottom - 1) << "bands overlap by one row";
        EXPECT_LT(bands[i].color, bands[i - 1].color);
        EXPECT_EQ(bands[i].color & 0xFF00FFFFu, 0u) << "only blue";
    }
}

TEST(VersionBoxGradient, EdgeCases) {
    // The last step lands on the height: the last band is black.
    std::vector<GradientBand> bands = VersionBoxGradient(100, 256);  // step 16, y up to 256
    ASSERT_EQ(bands.size(), 17u);
    EXPECT_EQ(bands.back().top, 255);
    EXPECT_EQ(bands.back().color, 0u);
    // A short box uses one-pixel bands instead of looping forever.
    bands = VersionBoxGradient(50, 10);  // 10 \ 16 = 0
    ASSERT_EQ(bands.size(), 11u);        // y = 0 .. 10
    EXPECT_EQ(bands[5].top, 4);
    EXPECT_EQ(bands[5].bottom, 6);
    EXPECT_EQ(bands[5].color, 128u << 16);  // 255 - 1275 \ 10
    // An empty client area has no bands.
    EXPECT_TRUE(VersionBoxGradient(0, 249).empty());
    EXPECT_TRUE(VersionBoxGradient(410, -3).empty());
}

}  // namespace
}  // namespace plumbo
