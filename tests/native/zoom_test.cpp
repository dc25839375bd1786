#include "capture/zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace plumbo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ZoomedOuterSize, KeepsTheFrameAndScalesTheRedrawnSize) {
    // A 400 x 300 px re-drawing at 15 twips per pixel: client 6000 x 4500 twips; the frame adds
    // 240 across and 600 down. 50 % gives a 200 x 150 px client, 150 % 600 x 450, 75 % 300 x 225.
    struct Case { double f; double outerW, outerH; };
    const Case cases[] = {{0.5, 3240.0, 2850.0}, {1.5, 9240.0, 7350.0}, {0.75, 4740.0, 3975.0}};
    for (const Case& c : cases) {
        ZoomedOuterTwips z = ZoomedOuterSize(6240.0, 5100.0, 6000.0, 4500.0, 400, 300, {15.0, 15.0}, c.f);
        EXPECT_DOUBLE_EQ(z.width, c.outerW) << c.f;
        EXPECT_DOUBLE_EQ(z.height, c.outerH) << c.f;
    }
    // A stretched viewer keeps only outer - client (1000 x 700); each direction has its own resolution.
    ZoomedOuterTwips z = ZoomedOuterSize(8000.0, 7700.0, 7000.0, 7000.0, 400, 300, {12.0, 20.0}, 0.5);
    EXPECT_DOUBLE_EQ(z.width, 3400.0);
    EXPECT_DOUBLE_EQ(z.height, 3700.0);
}

TEST(ReadLeadingNumber, ReadsFromTheStartLikeVal) {
    struct Case { const wchar_t* reply; double value; };
    const Case cases[] = {
        {L"150%", 150.0}, {L"abc", 0.0},     {L"", 0.0},     {L" 7 5", 75.0},  {L"\t12\n", 12.0},
        {L"-20", -20.0},  {L"- 5", -5.0},    {L"--5", 0.0},  {L"1.5.2", 1.5},  {L".5", 0.5},
        {L".", 0.0},      {L"2E+2", 200.0},  {L"5e-1", 0.5}, {L"1d2", 100.0},  {L"1e+", 1.0},
        {L"1ex", 1.0},    {L"&H10", 0.0},    {L"1,5", 1.0},  {L"１５０", 0.0}, {L"0e1000000", 0.0},
        {L"12abc34", 12.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ReadLeadingNumber(c.reply), c.value) << "reply: " << c.reply;
}

TEST(ReadLeadingNumber, OverflowGivesInfinityAndUnderflowZero) {
    EXPECT_EQ(ReadLeadingNumber(L"1e400"), kInf);
    EXPECT_EQ(ReadLeadingNumber(L"-1e400"), -kInf);
    EXPECT_EQ(ReadLeadingNumber(L"1e-400"), 0.0);
    EXPECT_EQ(ReadLeadingNumber(std::wstring(L"1") + std::wstring(400, L'0')), kInf);
    EXPECT_EQ(ReadLeadingNumber(std::wstring(L"0.") + std::wstring(400, L'0') + L"1e-100"), 0.0);
    // Many leading zeros but an exponent that brings the number back into range.
    EXPECT_DOUBLE_EQ(ReadLeadingNumber(std::wstring(L"0.") + std::wstring(400, L'0') + L"1e500"), 1e99);
}

TEST(ClassifyZoomPercent, BoundsTheClientAtEightVirtualScreens) {
    // 400 x 300 on 1920 x 1080: width allows 3840 %, height 2880 %.
    struct Case { double percent; ZoomPercentVerdict verdict; };
    const Case cases[] = {
        {50.0, ZoomPercentVerdict::Accept},       {2880.0, ZoomPercentVerdict::Accept},
        {2880.01, ZoomPercentVerdict::TooLarge},  {kInf, ZoomPercentVerdict::TooLarge},
        {0.0, ZoomPercentVerdict::NotPositive},   {-5.0, ZoomPercentVerdict::NotPositive},
        {std::numeric_limits<double>::quiet_NaN(), ZoomPercentVerdict::NotPositive},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyZoomPercent(c.percent, 400, 300, 1920, 1080), c.verdict) << c.percent;
    EXPECT_DOUBLE_EQ(MaxZoomPercent(400, 300, 1920, 1080), 2880.0);
    // 2000 x 100: the width is the limit, 768 %.
    EXPECT_TRUE(IsZoomPercentAcceptable(768.0, 2000, 100, 1920, 1080));
    EXPECT_FALSE(IsZoomPercentAcceptable(769.0, 2000, 100, 1920, 1080));
    EXPECT_DOUBLE_EQ(MaxZoomPercent(2000, 100, 1920, 1080), 768.0);
    // A sizeless re-drawing has no upper bound, but infinity is still refused.
    EXPECT_TRUE(IsZoomPercentAcceptable(1e6, 0, 0, 1920, 1080));
    EXPECT_TRUE(std::isinf(MaxZoomPercent(0, 0, 1920, 1080)));
    EXPECT_FALSE(IsZoomPercentAcceptable(kInf, 0, 0, 1920, 1080));
}

TEST(ZoomTooLargeMessage, StatesTheLimitInWholePercent) {
    EXPECT_NE(ZoomTooLargeMessage(2880.75).find(L"2880％"), std::wstring::npos);
}

}  // namespace
}  // namespace plumbo
