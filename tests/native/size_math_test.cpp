#include "capture/size_math.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace plumbo {
namespace {

constexpr TwipsPerPixel k96Dpi{15.0, 15.0};

// The size OK accepts, or a failed expectation and zeros.
TypedWindowSize Accepted(const wchar_t* w, const wchar_t* h, SizeUnit unit, TwipsPerPixel tpp = k96Dpi) {
    auto r = ConvertTypedSize(w, h, unit, tpp);
    EXPECT_TRUE(std::holds_alternative<TypedWindowSize>(r)) << "refused: " << w << " x " << h;
    return std::holds_alternative<TypedWindowSize>(r) ? std::get<TypedWindowSize>(r) : TypedWindowSize{};
}

TEST(SizeUnit, MapsRulerUnitsAndOptionIndices) {
    struct Case { RulerUnit ruler; SizeUnit unit; };
    const Case cases[] = {
        {RulerUnit::Millimetre, SizeUnit::Millimetre},
        {RulerUnit::InchTenths, SizeUnit::Inch},
        {RulerUnit::InchEighths, SizeUnit::Inch},
        {RulerUnit::Pixel, SizeUnit::Pixel},
    };
    for (const Case& c : cases) EXPECT_EQ(SizeUnitFor(c.ruler), c.unit) << static_cast<int>(c.ruler);

    struct Index { int32_t index; std::optional<SizeUnit> unit; };
    const Index indices[] = {{0, SizeUnit::Millimetre}, {1, SizeUnit::Inch}, {2, SizeUnit::Pixel},
                             {3, std::nullopt},         {-1, std::nullopt}};
    for (const Index& c : indices) EXPECT_EQ(SizeUnitFromIndex(c.index), c.unit) << "option " << c.index;
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
    // Width with the horizontal resolution, height with the vertical one.
    ShownSize s = ShownWindowSize(801, 600, SizeUnit::Millimetre, TwipsPerPixel{15.0, 12.0});
    EXPECT_EQ(s.width, 211);
    EXPECT_EQ(s.height, 127);
}

TEST(ShownWindowSize, FloorsButWholeUnitsStayWhole) {
    // 662 px at 96 dpi: 6.896 in, 175.15 mm.
    EXPECT_EQ(PixelsToShownValue(662, SizeUnit::Inch, 15.0), 6);
    EXPECT_EQ(PixelsToShownValue(662, SizeUnit::Millimetre, 15.0), 175);
    // 600 px at 12 twips = 7200 twips = 127 mm and 5 in exactly, in single precision too.
    EXPECT_EQ(PixelsToShownValue(600, SizeUnit::Millimetre, 12.0), 127);
    EXPECT_EQ(PixelsToShownValue(600, SizeUnit::Inch, 12.0), 5);
}

TEST(ParseSizeText, AcceptsPlainDecimalNumbersOnly) {
    struct Case { const wchar_t* text; double value; };
    const Case cases[] = {{L" 12.5 ", 12.5}, {L"\t7\t", 7.0}, {L".5", 0.5}, {L"5.", 5.0}, {L"-4", -4.0}, {L"2.5E-1", 0.25}};
    for (const Case& c : cases) {
        std::optional<double> v = ParseSizeText(c.text);
        ASSERT_TRUE(v.has_value()) << "rejected: " << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value);
    }
    const wchar_t* bad[] = {L"",  L"   ", L"12abc", L"1 2", L"1,000", L"nan", L"inf", L"0x10",
                            L"1e", L".",  L"--1",  L"１００", L"150%"};
    for (const wchar_t* text : bad) EXPECT_EQ(ParseSizeText(text), std::nullopt) << "accepted: " << text;
}

TEST(ConvertTypedSize, ConvertsEachUnitToPixelsAndRulerTwips) {
    // 100 mm at 96 dpi = 377.95 px -> 378; ruler 100 mm = 5669.29 twips.
    TypedWindowSize mm = Accepted(L"100", L"100", SizeUnit::Millimetre);
    EXPECT_EQ(mm.widthPx, 378);
    EXPECT_EQ(mm.heightPx, 378);
    EXPECT_NEAR(mm.rulerWidthTwips, 5669.29, 0.01);

    TypedWindowSize in = Accepted(L"8", L"6.25", SizeUnit::Inch);
    EXPECT_EQ(in.widthPx, 768);
    EXPECT_EQ(in.heightPx, 600);
    EXPECT_DOUBLE_EQ(in.rulerWidthTwips, 11520.0);
    EXPECT_DOUBLE_EQ(in.rulerHeightTwips, 9000.0);

    // Pixels to twips with each direction's own resolution.
    TypedWindowSize px = Accepted(L"801", L"600", SizeUnit::Pixel, TwipsPerPixel{15.0, 12.0});
    EXPECT_EQ(px.widthPx, 801);
    EXPECT_EQ(px.heightPx, 600);
    EXPECT_DOUBLE_EQ(px.rulerWidthTwips, 12015.0);
    EXPECT_DOUBLE_EQ(px.rulerHeightTwips, 7200.0);
}

TEST(ConvertTypedSize, RoundsHalvesToEvenUpToTheLargestSize) {
    struct Case { const wchar_t* text; SizeUnit unit; int32_t px; };
    const Case cases[] = {
        {L"2.5", SizeUnit::Pixel, 2},       {L"3.5", SizeUnit::Pixel, 4},
        {L"0.015625", SizeUnit::Inch, 2},   // 1/64 in = 1.5 px at 96 dpi
        {L"32767.4", SizeUnit::Pixel, 32767},
        {L"8669", SizeUnit::Millimetre, 32765},  // 32764.7 px
    };
    for (const Case& c : cases) EXPECT_EQ(Accepted(c.text, L"10", c.unit).widthPx, c.px) << c.text;
}

TEST(ConvertTypedSize, RefusesBadEntriesNamingTheBox) {
    struct Case { const wchar_t* w; const wchar_t* h; SizeUnit unit; SizeBox box; SizeProblem problem; };
    const Case cases[] = {
        {L"", L"100", SizeUnit::Millimetre, SizeBox::Width, SizeProblem::NotANumber},
        {L"100", L"NaN", SizeUnit::Pixel, SizeBox::Height, SizeProblem::NotANumber},
        {L"0", L"100", SizeUnit::Inch, SizeBox::Width, SizeProblem::NotPositive},
        {L"100", L"-5", SizeUnit::Millimetre, SizeBox::Height, SizeProblem::NotPositive},
        {L"0.3", L"100", SizeUnit::Pixel, SizeBox::Width, SizeProblem::NotPositive},  // rounds to 0 px
        {L"1e30", L"100", SizeUnit::Millimetre, SizeBox::Width, SizeProblem::TooLarge},
        {L"100", L"1e39", SizeUnit::Pixel, SizeBox::Height, SizeProblem::TooLarge},  // beyond float
        {L"1e400", L"100", SizeUnit::Pixel, SizeBox::Width, SizeProblem::TooLarge},  // beyond double
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
