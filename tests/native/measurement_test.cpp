// The measuring mode's rules: where the colour under the cursor ends, each unit's numbers and
// the copied text.
#include <gtest/gtest.h>

#include <string>

#include "core/measurement.h"
#include "rows.h"

namespace plumbo {
namespace {

// From the cursor's grey: 31 over in one channel, 30 over, the grey, 30 over in another, and
// 30 over in all three (each channel on its own, never their sum).
constexpr uint32_t kLine[] = {0x80809F, 0x80809E, 0x808080, 0x808080, 0x9E8080, 0x9E9E9E};

TEST(Measurement, TheColourUnderTheCursorEndsAtTheFirstPixelBeyondTheToleranceOrAtTheBorder) {
    const struct { int32_t at; int tolerance; Span want; } rows[] = {
        {2, 30, {1, 5}}, {2, 29, {2, 3}}, {2, 31, {0, 5}}, {0, 0, {0, 0}}, {5, 0, {5, 5}}, {3, 255, {0, 5}}};
    // The same pixels as a row and as a column give the same runs.
    ExpectRows(rows, [](const auto& r) { return HorizontalSpanAt({6, 1, kLine}, r.at, 0, r.tolerance); });
    ExpectRows(rows, [](const auto& r) { return VerticalSpanAt({1, 6, kLine}, 0, r.at, r.tolerance); });
}

TEST(Measurement, TheInnermostControlIsFoundAndItsGapsEndAtTheNearestSiblingBesideItOrItsParent) {
    // The target's client area, a group in it, a button in the group; right and bottom exclusive.
    const ControlBox controls[] = {{{0, 0, 200, 100}, {0, 0, 200, 100}, -1},
                                   {{10, 10, 110, 90}, {12, 18, 108, 88}, 0},
                                   {{20, 20, 60, 40}, {21, 21, 59, 39}, 1}};
    const struct { int32_t x, y, want; } points[] = {{30, 30, 2}, {15, 15, 1}, {150, 50, 0}, {110, 50, 0}, {200, 50, -1}};
    ExpectRows(points, [&](const auto& r) { return ControlAt(controls, r.x, r.y); });
    // Beside it to the left, above-left, right but higher, right, below.
    const PixelRect siblings[] = {{10, 30, 40, 50}, {0, 0, 30, 15}, {120, 0, 150, 10}, {105, 25, 115, 35}, {60, 70, 90, 90}};
    EXPECT_EQ(GapsReach({50, 20, 100, 60}, {0, 0, 200, 100}, siblings), (PixelRect{40, 0, 105, 70}));
    EXPECT_EQ(GapsReach({50, 20, 100, 60}, {5, 6, 190, 95}, {}), (PixelRect{5, 6, 190, 95}));
}

TEST(Measurement, EachUnitRoundsHalfAwayFromZeroOnTrueMillimetresAndALabelSpacesItsSignAndAddsPixels) {
    // 96 dpi: 3.7795 pixels per mm, 96 per inch; calibrated: 4 and 5 pixels per true mm.
    constexpr double k96 = 96 / 25.4, k144 = 144 / 25.4;
    const struct { double pixels; RulerUnit unit; double pixelsPerMm; const wchar_t* want; } rows[] = {
        {120, RulerUnit::Pixel, k96, L"120 px"}, {2.5, RulerUnit::Pixel, k96, L"3 px"},
        {-2.5, RulerUnit::Pixel, k96, L"-3 px"}, {0.4, RulerUnit::Pixel, k96, L"0 px"},
        {120, RulerUnit::Millimetre, k96, L"31.8 mm"}, {45, RulerUnit::Millimetre, k96, L"11.9 mm"},
        {1, RulerUnit::Millimetre, 4, L"0.3 mm"}, {-1, RulerUnit::Millimetre, 4, L"-0.3 mm"},
        {120, RulerUnit::Millimetre, 5, L"24.0 mm"}, {120, RulerUnit::Millimetre, k144, L"21.2 mm"},
        {120, RulerUnit::InchEighths, k96, L"1.25 in"}, {12, RulerUnit::InchTenths, k96, L"0.13 in"},
        {-12, RulerUnit::InchEighths, k96, L"-0.13 in"}, {120, RulerUnit::InchTenths, 5, L"0.94 in"},
        {120, RulerUnit::InchTenths, k144, L"0.83 in"}, {1, RulerUnit::InchTenths, k96, L"0.01 in"},
        {1e20, RulerUnit::Pixel, k96, L"100000000000000000000 px"}, {1e20, RulerUnit::Millimetre, 4, L"25000000000000000000.0 mm"},
        {0, RulerUnit::Millimetre, 0, L"? mm"}, {-1, RulerUnit::InchTenths, 0, L"-\u221E in"}};
    ExpectRows(rows, [](const auto& r) { return FormatLength(r.pixels, {r.unit, r.pixelsPerMm}); });
    // A label is the copied text, a space each side of the sign, then in another unit than pixels
    // the copied text in pixels.
    const MeasureScale mm{RulerUnit::Millimetre, k96}, px{RulerUnit::Pixel};
    EXPECT_EQ(SizeLabel(120, 45, mm), L"31.8 \u00D7 11.9 mm (120 \u00D7 45 px)");
    EXPECT_EQ(LengthLabel(120, mm), L"31.8 mm (120 px)");
    EXPECT_EQ(SizeLabel(120, 45, px), L"120 \u00D7 45 px");
}

}  // namespace
}  // namespace plumbo
