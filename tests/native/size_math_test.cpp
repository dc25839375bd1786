#include "capture/size_math.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace plumbo {
namespace {

constexpr TwipsPerPixel k96Dpi{15.0, 15.0};

TEST(SizeUnitFromTani, MapsRulerUnitsOntoTheDialogOptions) {
    struct Case { int32_t tani; std::optional<SizeUnit> unit; };
    const Case cases[] = {
        {0, SizeUnit::Millimetre}, {1, SizeUnit::Inch}, {2, SizeUnit::Pixel},
        {3, std::nullopt},         {4, SizeUnit::Inch}, {5, std::nullopt}, {-1, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(SizeUnitFromTani(c.tani), c.unit) << "gTani " << c.tani;
}

TEST(SizeUnitFromIndex, OnlyTheThreeOptionsDoAnything) {
    EXPECT_EQ(SizeUnitFromIndex(0), SizeUnit::Millimetre);
    EXPECT_EQ(SizeUnitFromIndex(1), SizeUnit::Inch);
    EXPECT_EQ(SizeUnitFromIndex(2), SizeUnit::Pixel);
    EXPECT_EQ(SizeUnitFromIndex(3), std::nullopt);
    EXPECT_EQ(SizeUnitFromIndex(-1), std::nullopt);
}

TEST(ShownWindowSize, Shows801By600PixelsAt96Dpi) {
    struct Case { SizeUnit unit; int64_t w, h; };
    // 801 px = 8.34375 in = 211.93 mm; 600 px = 6.25 in = 158.75 mm.
    const Case cases[] = {{SizeUnit::Millimetre, 211, 158}, {SizeUnit::Inch, 8, 6}, {SizeUnit::Pixel, 801, 600}};
    for (const Case& c : cases) {
        ShownSize s = ShownWindowSize(801, 600, c.unit, k96Dpi);
        EXPECT_EQ(s.width, c.w) << static_cast<int>(c.unit);
        EXPECT_EQ(s.height, c.h) << static_cast<int>(c.unit);
    }
}

TEST(ShownWindowSize, FloorsRatherThanRounds) {
    // 662 px at 96 dpi: 6.896 in, 175.15 mm.
    EXPECT_EQ(PixelsToShownValue(662, SizeUnit::Inch, 15.0), 6);
    EXPECT_EQ(PixelsToShownValue(662, SizeUnit::Millimetre, 15.0), 175);
}

TEST(ShownWindowSize, WholeUnitsStayWholeInSinglePrecision) {
    // 600 px at 12 twips = 7200 twips = 127 mm and 5 in exactly; 1440 px at 15 twips = 15 in.
    EXPECT_EQ(PixelsToShownValue(600, SizeUnit::Millimetre, 12.0), 127);
    EXPECT_EQ(PixelsToShownValue(600, SizeUnit::Inch, 12.0), 5);
    EXPECT_EQ(PixelsToShownValue(1440, SizeUnit::Inch, 15.0), 15);
    EXPECT_EQ(PixelsToShownValue(480, SizeUnit::Millimetre, 15.0), 127);
}

TEST(ShownWindowSize, WidthUsesHorizontalAndHeightVerticalResolution) {
    ShownSize s = ShownWindowSize(801, 600, SizeUnit::Millimetre, TwipsPerPixel{15.0, 12.0});
    EXPECT_EQ(s.width, 211);
    EXPECT_EQ(s.height, 127);
}

TEST(ParseSizeText, AcceptsPlainDecimalNumbersWithBlanksAround) {
    struct Case { const wchar_t* text; double value; };
    const Case cases[] = {
        {L"100", 100.0}, {L" 12.5 ", 12.5}, {L"\t7\t", 7.0}, {L".5", 0.5},  {L"5.", 5.0},
        {L"+3", 3.0},    {L"-4", -4.0},     {L"1e3", 1000.0}, {L"2.5E-1", 0.25}, {L"007", 7.0},
    };
    for (const Case& c : cases) {
        std::optional<double> v = ParseSizeText(c.text);
        ASSERT_TRUE(v.has_value()) << "rejected: " << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value);
    }
}

TEST(ParseSizeText, RejectsAnythingElse) {
    const wchar_t* bad[] = {L"",   L"   ", L"abc", L"12abc", L"1 2", L"1,000", L"nan", L"NaN", L"inf",
                            L"0x10", L"1e", L"e5", L".",    L"-",   L"--1",  L"１００", L"150%"};
    for (const wchar_t* text : bad) EXPECT_EQ(ParseSizeText(text), std::nullopt) << "accepted: " << text;
}

TEST(ConvertTypedSize, ConvertsEachUnitToPixelsAndRulerTwips) {
    // 100 mm at 96 dpi = 377.95 px -> 378; ruler 100 mm = 5669.29 twips.
    auto mm = ConvertTypedSize(L"100", L"100", SizeUnit::Millimetre, k96Dpi);
    ASSERT_TRUE(std::holds_alternative<TypedWindowSize>(mm));
    EXPECT_EQ(std::get<TypedWindowSize>(mm).widthPx, 378);
    EXPECT_EQ(std::get<TypedWindowSize>(mm).heightPx, 378);
    EXPECT_NEAR(std::get<TypedWindowSize>(mm).rulerWidthTwips, 5669.29, 0.01);

    auto in = ConvertTypedSize(L"8", L"6.25", SizeUnit::Inch, k96Dpi);
    ASSERT_TRUE(std::holds_alternative<TypedWindowSize>(in));
    EXPECT_EQ(std::get<TypedWindowSize>(in).widthPx, 768);
    EXPECT_EQ(std::get<TypedWindowSize>(in).heightPx, 600);
    EXPECT_DOUBLE_EQ(std::get<TypedWindowSize>(in).rulerWidthTwips, 11520.0);
    EXPECT_DOUBLE_EQ(std::get<TypedWindowSize>(in).rulerHeightTwips, 9000.0);

    // Pixels to twips with each direction's own resolution.
    auto px = ConvertTypedSize(L"801", L"600", SizeUnit::Pixel, TwipsPerPixel{15.0, 12.0});
    ASSERT_TRUE(std::holds_alternative<TypedWindowSize>(px));
    EXPECT_EQ(std::get<TypedWindowSize>(px).widthPx, 801);
    EXPECT_EQ(std::get<TypedWindowSize>(px).heightPx, 600);
    EXPECT_DOUBLE_EQ(std::get<TypedWindowSize>(px).rulerWidthTwips, 12015.0);
    EXPECT_DOUBLE_EQ(std::get<TypedWindowSize>(px).rulerHeightTwips, 7200.0);
}

TEST(ConvertTypedSize, RoundsHalvesToEven) {
    struct Case { const wchar_t* text; SizeUnit unit; int32_t px; };
    const Case cases[] = {
        {L"2.5", SizeUnit::Pixel, 2},       {L"3.5", SizeUnit::Pixel, 4},
        {L"0.015625", SizeUnit::Inch, 2},   // 1/64 in = 1.5 px at 96 dpi
        {L"0.046875", SizeUnit::Inch, 4},   // 3/64 in = 4.5 px
        {L"32767.4", SizeUnit::Pixel, 32767},
    };
    for (const Case& c : cases) {
        auto r = ConvertTypedSize(c.text, L"10", c.unit, k96Dpi);
        ASSERT_TRUE(std::holds_alternative<TypedWindowSize>(r));
        EXPECT_EQ(std::get<TypedWindowSize>(r).widthPx, c.px);
    }
}

TEST(ConvertTypedSize, RefusesBadEntriesNamingTheBox) {
    struct Case { const wchar_t* w; const wchar_t* h; SizeUnit unit; SizeBox box; SizeProblem problem; };
    const Case cases[] = {
        {L"", L"100", SizeUnit::Millimetre, SizeBox::Width, SizeProblem::NotANumber},
        {L"100", L"", SizeUnit::Millimetre, SizeBox::Height, SizeProblem::NotANumber},
        {L"abc", L"100", SizeUnit::Pixel, SizeBox::Width, SizeProblem::NotANumber},
        {L"100", L"NaN", SizeUnit::Pixel, SizeBox::Height, SizeProblem::NotANumber},
        {L"0", L"100", SizeUnit::Inch, SizeBox::Width, SizeProblem::NotPositive},
        {L"100", L"-5", SizeUnit::Millimetre, SizeBox::Height, SizeProblem::NotPositive},
        {L"0.3", L"100", SizeUnit::Pixel, SizeBox::Width, SizeProblem::NotPositive},  // rounds to 0 px
        {L"1e30", L"100", SizeUnit::Millimetre, SizeBox::Width, SizeProblem::TooLarge},
        {L"100", L"1e39", SizeUnit::Pixel, SizeBox::Height, SizeProblem::TooLarge},  // beyond float
        {L"1e400", L"100", SizeUnit::Pixel, SizeBox::Width, SizeProblem::TooLarge},  // beyond double
        {L"32768", L"100", SizeUnit::Pixel, SizeBox::Width, SizeProblem::TooLarge},
        {L"32767.5", L"100", SizeUnit::Pixel, SizeBox::Width, SizeProblem::TooLarge},  // rounds to 32768
        {L"100", L"8670", SizeUnit::Millimetre, SizeBox::Height, SizeProblem::TooLarge},  // 32768.50 px
        {L"342", L"100", SizeUnit::Inch, SizeBox::Width, SizeProblem::TooLarge},  // 32832 px
        {L"abc", L"-1", SizeUnit::Pixel, SizeBox::Width, SizeProblem::NotANumber},  // width first
    };
    for (const Case& c : cases) {
        auto r = ConvertTypedSize(c.w, c.h, c.unit, k96Dpi);
        ASSERT_TRUE(std::holds_alternative<SizeEntryError>(r)) << "accepted: " << c.w << " x " << c.h;
        EXPECT_EQ(std::get<SizeEntryError>(r).box, c.box);
        EXPECT_EQ(std::get<SizeEntryError>(r).problem, c.problem);
    }
}

TEST(ConvertTypedSize, AcceptsTheLargestSizes) {
    // 8669 mm = 32764.7 px; 32767 px itself.
    auto r = ConvertTypedSize(L"32767", L"8669", SizeUnit::Pixel, k96Dpi);
    ASSERT_TRUE(std::holds_alternative<TypedWindowSize>(r));
    EXPECT_EQ(std::get<TypedWindowSize>(r).widthPx, 32767);
    auto mm = ConvertTypedSize(L"8669", L"1", SizeUnit::Millimetre, k96Dpi);
    ASSERT_TRUE(std::holds_alternative<TypedWindowSize>(mm));
    EXPECT_EQ(std::get<TypedWindowSize>(mm).widthPx, 32765);
}

TEST(SizeEntryMessage, NamesTheBoxByItsLabel) {
    std::wstring w = SizeEntryMessage({SizeBox::Width, SizeProblem::TooLarge});
    std::wstring h = SizeEntryMessage({SizeBox::Height, SizeProblem::NotANumber});
    EXPECT_NE(w.find(L"幅(W)"), std::wstring::npos);
    EXPECT_NE(w.find(L"32767"), std::wstring::npos);
    EXPECT_NE(h.find(L"高さ(H)"), std::wstring::npos);
    EXPECT_EQ(h.find(L"幅(W)"), std::wstring::npos);
}

}  // namespace
}  // namespace plumbo
