#include "app/dialog_layout.h"

#include <gtest/gtest.h>

namespace plumbo {
namespace {

constexpr double kMm = 1440.0 / 25.4;

TEST(PreviewTickCount, IsTheWidthInWholeMillimetres) {
    EXPECT_EQ(PreviewTickCount(4995.0), 88);    // 88.11 mm
    EXPECT_EQ(PreviewTickCount(100 * kMm), 100);
    EXPECT_EQ(PreviewTickCount(87.6 * kMm), 88);
    EXPECT_EQ(PreviewTickCount(0.0), 0);
}

TEST(LayoutSettingsPreview, EightyEightTicksInThreeLengths) {
    PreviewLayout l = LayoutSettingsPreview(4995.0, 500.0, 180.0);
    ASSERT_EQ(l.ticks.size(), 88u);
    int longTicks = 0, mediumTicks = 0, shortTicks = 0;
    for (size_t i = 0; i < l.ticks.size(); ++i) {
        const PreviewTick& t = l.ticks[i];
        EXPECT_NEAR(t.x, i * kMm, 1e-9) << i;
        EXPECT_DOUBLE_EQ(t.yBottom, 500.0) << i;
        if (t.yTop == 300.0) {
            ++longTicks;
            EXPECT_EQ(i % 10, 0u) << "long tick at " << i << " mm";
        } else if (t.yTop == 350.0) {
            ++mediumTicks;
            EXPECT_EQ(i % 10, 5u) << "medium tick at " << i << " mm";
        } else {
            ++shortTicks;
            EXPECT_EQ(t.yTop, 400.0) << i;
            EXPECT_NE(i % 5, 0u) << "short tick at " << i << " mm";
        }
    }
    EXPECT_EQ(longTicks, 9);    // 0, 10, ..., 80
    EXPECT_EQ(mediumTicks, 9);  // 5, 15, ..., 85
    EXPECT_EQ(shortTicks, 70);
    EXPECT_NEAR(l.ticks[87].x, 4932.28, 0.01);
}

TEST(LayoutSettingsPreview, NumbersZeroToSevenStandOnTheLongTicks) {
    PreviewLayout l = LayoutSettingsPreview(4995.0, 500.0, 180.0);
    ASSERT_EQ(l.numbers.size(), 8u);
    for (size_t j = 0; j < l.numbers.size(); ++j) {
        const PreviewNumber& n = l.numbers[j];
        EXPECT_EQ(n.value, static_cast<int32_t>(j));
        EXPECT_NEAR(n.left, l.ticks[10 * j].x, 1e-9) << j;
        EXPECT_NEAR(n.left, j * 566.929, 0.001) << j;
        EXPECT_DOUBLE_EQ(n.top, 120.0) << j;  // 500 - 200 - 180
        EXPECT_DOUBLE_EQ(n.top + 180.0, l.ticks[10 * j].yTop) << j;
    }
}

TEST(LayoutSettingsPreview, NarrowPreviewHasNoNumbers) {
    PreviewLayout l = LayoutSettingsPreview(9 * kMm, 500.0, 180.0);
    EXPECT_EQ(l.ticks.size(), 9u);
    EXPECT_TRUE(l.numbers.empty());
}

TEST(CentredOffsetTwips, RoundsToWholeTwipsThenHalvesTowardZero) {
    struct Case { double screen, dialog; int32_t offset; };
    const Case cases[] = {
        {28800.0, 6840.0, 10980},
        {19200.0, 6841.0, 6179},    // 12359 \ 2
        {28800.0, 6840.5, 10980},   // 21959.5 -> 21960
        {28800.0, 6841.5, 10979},   // 21958.5 -> 21958
        {4000.0, 6841.0, -1420},    // -2841 \ 2
        {6840.0, 6840.0, 0},
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
        {1, 14, 30, 240},    // 3825 \ 249 = 15
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

TEST(VersionBoxGradient, EndsInBlackWhenTheLastStepLandsOnTheHeight) {
    std::vector<GradientBand> bands = VersionBoxGradient(100, 256);  // step 16, y up to 256
    ASSERT_EQ(bands.size(), 17u);
    EXPECT_EQ(bands.back().top, 255);
    EXPECT_EQ(bands.back().color, 0u);
}

TEST(VersionBoxGradient, ShortBoxUsesOnePixelBandsInsteadOfLoopingForever) {
    std::vector<GradientBand> bands = VersionBoxGradient(50, 10);  // 10 \ 16 = 0
    ASSERT_EQ(bands.size(), 11u);                                    // y = 0 .. 10
    EXPECT_EQ(bands[5].top, 4);
    EXPECT_EQ(bands[5].bottom, 6);
    EXPECT_EQ(bands[5].color, 128u << 16);  // 255 - 1275 \ 10
    EXPECT_EQ(bands[10].color, 0u);
}

TEST(VersionBoxGradient, EmptyClientAreaHasNoBands) {
    EXPECT_TRUE(VersionBoxGradient(0, 249).empty());
    EXPECT_TRUE(VersionBoxGradient(410, 0).empty());
    EXPECT_TRUE(VersionBoxGradient(410, -3).empty());
}

}  // namespace
}  // namespace plumbo
