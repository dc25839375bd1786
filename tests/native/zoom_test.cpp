#include "capture/zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace plumbo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ZoomedClientSize, ScalesTheNaturalSizeRoundingHalvesToEven) {
    struct Case { int32_t w, h; double f; int32_t zw, zh; };
    const Case cases[] = {
        {400, 300, 0.5, 200, 150},  {400, 300, 1.5, 600, 450}, {400, 300, 0.75, 300, 225},
        {400, 300, 1.0, 400, 300},
        {101, 103, 0.5, 50, 52},    // 50.5 -> 50, 51.5 -> 52
        {333, 1, 1.5, 500, 2},      // 499.5 -> 500, 1.5 -> 2
        {0, 0, 1.5, 0, 0},
    };
    for (const Case& c : cases) {
        ZoomedClient z = ZoomedClientSize(c.w, c.h, c.f);
        EXPECT_EQ(z.width, c.zw) << c.w << " x " << c.h << " at " << c.f;
        EXPECT_EQ(z.height, c.zh) << c.w << " x " << c.h << " at " << c.f;
    }
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
    EXPECT_EQ(ClassifyZoomPercent(768.0, 2000, 100, 1920, 1080), ZoomPercentVerdict::Accept);
    EXPECT_EQ(ClassifyZoomPercent(769.0, 2000, 100, 1920, 1080), ZoomPercentVerdict::TooLarge);
    EXPECT_DOUBLE_EQ(MaxZoomPercent(2000, 100, 1920, 1080), 768.0);
    // A sizeless re-drawing has no upper bound, but infinity is still refused.
    EXPECT_EQ(ClassifyZoomPercent(1e6, 0, 0, 1920, 1080), ZoomPercentVerdict::Accept);
    EXPECT_TRUE(std::isinf(MaxZoomPercent(0, 0, 1920, 1080)));
    EXPECT_NE(ClassifyZoomPercent(kInf, 0, 0, 1920, 1080), ZoomPercentVerdict::Accept);
}

TEST(ZoomTooLargeMessage, StatesTheLimitInWholePercent) {
    EXPECT_NE(ZoomTooLargeMessage(2880.75).find(L"2880％"), std::wstring::npos);
}

TEST(AskZoomPercent, AsksUntilAUsablePercentageOrCancel) {
    struct Case {
        std::vector<std::optional<std::wstring>> replies;  // past the last, Cancel
        std::optional<double> result;
        size_t asked, refused;
    };
    // 400 x 300 on a 1024 x 768 screen: 8 x 1024 / 400 = 20.48, so at most 2048 %.
    const Case cases[] = {
        {{std::nullopt, L"50"}, std::nullopt, 1, 0},          // Cancel ends without a zoom
        {{L"0", L"-5", L"abc", L"", L"150%"}, 150.0, 5, 0},  // unusable replies: asked again, silently
        {{L" 75 percent"}, 75.0, 1, 0},                       // the leading number
        {{L"100000", L"2049", L"2048", L"1"}, 2048.0, 3, 2},  // too large: refused with a message
    };
    for (const Case& c : cases) {
        size_t asked = 0;
        std::vector<std::wstring> refusals;
        auto ask = [&] { return asked < c.replies.size() ? c.replies[asked++] : std::nullopt; };
        auto refuse = [&](const std::wstring& text) { refusals.push_back(text); };
        EXPECT_EQ(AskZoomPercent(ask, refuse, 400, 300, 1024, 768), c.result) << c.asked;
        EXPECT_EQ(asked, c.asked);
        ASSERT_EQ(refusals.size(), c.refused);
        for (const auto& text : refusals) EXPECT_NE(text.find(L"2048"), std::wstring::npos) << "names the limit";
    }
}

}  // namespace
}  // namespace plumbo
