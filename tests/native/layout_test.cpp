// Layout arithmetic without a window: the rulers' scales and places, and the settings
// dialog's preview, centring and the version box's gradient.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <tuple>

#include "dialogs/dialog_layout.h"
#include "ruler/placement.h"
#include "ruler/scale_layout.h"
#include "rows.h"

namespace plumbo {
namespace {

constexpr float kEps = 0.01f;  // twips
constexpr RulerUnit kMm = RulerUnit::Millimetre, kTenths = RulerUnit::InchTenths, kEighths = RulerUnit::InchEighths, kPixels = RulerUnit::Pixel;

// A ruler whose client area is `length` long and 470 thick inside a 500-thick window.
RulerModel Ruler(float length, bool horizontal) {
    if (horizontal) return {length + 30, 500.f, length, 470.f};
    return {500.f, length + 30, 470.f, length};
}

// 15 twips per pixel across, 12 down, so a ruler using the other direction's resolution
// shows. Numbers measure 90 twips per character and 180 high.
ScaleContext Ctx(bool inside = false, double lengthScale = 1.0) {
    auto measure = [](std::wstring_view c) { return std::pair(90.f * c.size(), 180.f); };
    return {{15.0, 12.0}, inside, measure, lengthScale};
}

size_t Shown(const auto& all) { return std::ranges::count_if(all, [](auto& e) { return e.visible; }); }

// Each row lays out one ruler and looks at tick i (its place along the ruler and its tip) and
// number k (caption, place along the ruler and across it). Ticks run from the window's outer
// edge (500) to a tip at 470 minus their length: long 270, medium 320, short 370; inside the
// vertical ruler from its left edge (0) to their length. A number stands on the long tips:
// 470 - 200 - 180 = 90 from the top of the horizontal ruler; on the vertical one it ends at
// them, 470 - 200 - 90 per character, or starts at 200 inside.
TEST(ScaleByUnit, TicksAndNumbersOfEachUnitAndPlacementElementsOnlyAddedAndOnlyAUnitLaysAnyOut) {
    enum Where { kHorizontal, kOutside, kInside };
    const struct { const char* name; RulerUnit unit; Where where; float length; size_t ticks, numbers, i; float at, tip;
                   size_t k; const wchar_t* caption; float numberAt, across; double scale = 1.0; } cases[] = {
        {"mm, 168.73 rounds up", kMm, kHorizontal, 8999, 169, 16, 160, 9070.866f, 270, 10, L"10", 5669.291f, 90},
        {"mm, vertical", kMm, kOutside, 8970, 168, 16, 165, 9354.331f, 320, 12, L"12", 6803.150f, 90},
        {"mm, vertical inside", kMm, kInside, 8970, 168, 16, 10, 566.929f, 200, 10, L"10", 5669.291f, 200},
        {"tenths", kTenths, kHorizontal, 2880, 30, 3, 10, 1440, 270, 2, L"2", 2880, 90},
        // Even a ruler of no length shows the margin its unit adds (1 inch). Quarter inches are
        // short; 2.5 and 3.5 whole inches round to the even neighbour.
        {"eighths, no length", kEighths, kHorizontal, 0, 8, 1, 2, 360, 370, 0, L"0", 0, 90},
        {"eighths, 2.5 in", kEighths, kHorizontal, 2160, 16, 2, 4, 720, 320, 1, L"1", 1440, 90},
        {"eighths, 3.5 in, vertical", kEighths, kOutside, 3600, 32, 4, 8, 1440, 270, 3, L"3", 4320, 180},
        // 100 px + 32 = 132: 132 \ 4 ticks, 132 \ 32 numbers; 95 px: 127 \ 4, 127 \ 32.
        {"pixels 100", kPixels, kHorizontal, 1500, 33, 4, 4, 240, 320, 3, L"96", 1440, 90},
        {"pixels 95", kPixels, kHorizontal, 1425, 31, 3, 8, 480, 270, 2, L"64", 960, 90},
        {"pixels 100, vertical", kPixels, kOutside, 1200, 33, 4, 1, 48, 370, 3, L"96", 1152, 90},
        // "1056" would start at 470 - 200 - 360 = -90: it starts at the edge instead.
        {"pixels 1100, vertical", kPixels, kOutside, 13200, 283, 35, 40, 1920, 270, 33, L"1056", 12672, 0},
        // Calibrated at 1.25 (a line of 100 of Windows' millimetres measured 80): 8999 twips =
        // 158.7 of Windows' mm = 127 true ones, 137 ticks with the 10 mm margin; the 10th tick and
        // the 1st number at 1.25 cm, the 8th eighth at 1.25 in; a pixel tick where it always was.
        {"mm, calibrated", kMm, kHorizontal, 8999, 137, 13, 10, 708.661f, 270, 1, L"1", 708.661f, 90, 1.25},
        {"eighths, calibrated", kEighths, kHorizontal, 8999, 48, 6, 8, 1800, 270, 1, L"1", 1800, 90, 1.25},
        {"pixels, calibrated", kPixels, kHorizontal, 8999, 158, 19, 1, 60, 370, 1, L"32", 480, 90, 1.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool horizontal = c.where == kHorizontal;
        RulerModel r = Ruler(c.length, horizontal);
        ASSERT_TRUE(ScaleByUnit(c.unit, horizontal, r, Ctx(c.where == kInside, c.scale)));
        // One spare element is loaded beyond those shown, none when the pattern element will do.
        EXPECT_EQ(std::tuple(Shown(r.ticks), r.ticks.Count(), Shown(r.numbers), r.numbers.Count()),
                  std::tuple(c.ticks, c.ticks + 1, c.numbers, c.numbers == 1 ? 1 : c.numbers + 1));
        const LineElement& t = r.ticks[c.i];
        auto [at, at2, from, tip] = horizontal ? std::tie(t.x1, t.x2, t.y1, t.y2) : std::tie(t.y1, t.y2, t.x1, t.x2);
        EXPECT_NEAR(at, c.at, kEps);
        EXPECT_EQ(std::tuple(at2, from, tip), std::tuple(at, c.where == kInside ? 0.0f : 500.0f, c.tip));
        const LabelElement& n = r.numbers[c.k];
        EXPECT_NEAR(horizontal ? n.left : n.top, c.numberAt, kEps);
        EXPECT_EQ(std::pair(n.caption, horizontal ? n.top : n.left), std::pair(std::wstring(c.caption), c.across));
    }
    // Elements are only ever added, and only a unit lays any out.
    RulerModel r = Ruler(0.0f, true);
    auto lay = [&r](float width, RulerUnit unit = kMm) {
        r.clientWidth = width;
        return ScaleByUnit(unit, true, r, Ctx());
    };
    r.ticks.SetColor(0x10203);
    ASSERT_TRUE(lay(0.0f) && lay(8970.0f));
    // Copies of the shown element 0 start hidden and take its colour; a colour set later
    // reaches every element.
    r.numbers.SetColor(0x40506);
    EXPECT_EQ(std::tuple(r.ticks[168].color, r.ticks[168].visible, r.numbers[12].color), std::tuple(0x10203u, false, 0x40506u));
    // Shorter: nothing unloaded, nothing beyond what is needed touched.
    const float tick100 = r.ticks[100].x1;
    ASSERT_TRUE(lay(0.0f));
    EXPECT_EQ(std::tuple(r.ticks.Count(), r.numbers.Count(), r.ticks[100].visible, r.ticks[100].x1), std::tuple(169u, 17u, true, tick100));
    // A unit change hides everything first, so the fewer ticks of the new unit leave none of
    // the old ones showing: 6.23 in -> 7 whole inches of eighths. A value that names no unit
    // then lays out nothing.
    HideScale(r);
    ASSERT_TRUE(lay(8970.0f, kEighths));
    for (int value : {3, 5, -1}) EXPECT_FALSE(lay(8970.0f, static_cast<RulerUnit>(value))) << value;
    EXPECT_EQ(std::tuple(Shown(r.ticks), r.ticks.Count(), Shown(r.numbers)), std::tuple(56u, 169u, 7u));
}

using Places = std::array<int32_t, 8>;  // horizontal, then vertical: left, top, width, height; refused: -1s
Places Of(const std::optional<RulerPlaces>& places) {
    const auto [h, v, vInside] = places.value_or(RulerPlaces{{-1, -1, -1, -1}, {}});
    return {h.left, h.top, h.width, h.height, v.left, v.top, v.width, v.height};
}

// Worked by hand: outside = above and left of the frame, inside = along the bottom and left
// edges within it. The horizontal ruler is 34 thick, the vertical one 33, so a swap shows. On a
// work area (a 1280 x 800 screen whose taskbar takes the bottom 30 pixels) both thicknesses stay
// on it, inside the target where outside has no room.
TEST(PlaceRulers, LaysBothRulersAlongTheTargetKeepsThemOnTheWorkAreaOrRefusesBeyond32Bits) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
    const PixelRect work{0, 0, 1280, 770};
    const struct { const char* name; PixelRect target; bool inside; Places want;
                   std::optional<PixelRect> area = {}; } rows[] = {
        // A monitor left of and above the primary: no pixel may be lost to rounding toward zero.
        {"negative outside", {-1919, -1079, -1, -1}, false, {-1919, -1113, 1918, 34, -1952, -1079, 33, 1078}},
        {"negative inside", {-1919, -1079, -1, -1}, true, {-1919, -35, 1918, 34, -1919, -1079, 33, 1078}},
        {"extreme that fits", {kMin + 33, 0, -1, 10}, false, {kMin + 33, -34, kMax - 33, 34, kMin, 0, 33, 10}},
        // Width and height overflow whatever the placement; the left and top edges only outside.
        {"too wide", {kMin, 0, kMax, 10}, true, {-1, -1, -1, -1}},
        {"too high", {0, kMin, 10, kMax}, true, {-1, -1, -1, -1}},
        {"top edge outside", {0, kMin + 10, 10, kMin + 40}, false, {-1, -1, -1, -1}},
        {"top edge inside", {0, kMin + 10, 10, kMin + 40}, true, {0, kMin + 6, 10, 34, 0, kMin + 10, 33, 30}},
        {"left edge outside", {kMin + 10, 0, kMin + 20, 10}, false, {-1, -1, -1, -1}},
        {"room outside", {100, 100, 500, 400}, false, {100, 66, 400, 34, 67, 100, 33, 300}, work},
        {"maximized", {0, 0, 1280, 770}, false, {0, 736, 1280, 34, 0, 0, 33, 770}, work},
        {"snapped right", {640, 0, 1280, 770}, false, {640, 736, 640, 34, 607, 0, 33, 770}, work},
        {"snapped to the top", {300, 0, 900, 400}, false, {300, 366, 600, 34, 267, 0, 33, 400}, work},
        {"touching the left edge", {33, 200, 400, 500}, false, {33, 166, 367, 34, 0, 200, 33, 300}, work},
        {"half off the left", {-200, 100, 300, 400}, false, {-200, 66, 500, 34, 0, 100, 33, 300}, work},
        {"half below, inside", {100, 600, 500, 1000}, true, {100, 736, 400, 34, 100, 600, 33, 400}, work},
        {"off the right", {1300, 100, 1600, 400}, false, {1300, 66, 300, 34, 1247, 100, 33, 300}, work},
    };
    ExpectRows(rows, [](auto& c) { return Of(PlaceRulers(c.target, 34, 33, c.inside, c.area)); });
}

TEST(Dialogs, PreviewHasATickPerWholeMillimetreANumberPerCentimetreTheDialogIsKeptOnTheWorkAreaAndTheVersionBoxBandsEverySixteenth) {
    constexpr double kMmTwips = 1440.0 / 25.4;
    // 4995 twips = 88.11 mm. Ticks and numbers.
    const struct { double width; std::pair<size_t, size_t> want; } previews[] = {
        {4995.0, {88, 8}}, {87.6 * kMmTwips, {88, 8}}, {9 * kMmTwips, {9, 0}}, {0.0, {0, 0}}, {-100.0, {0, 0}}};
    ExpectRows(previews, [](auto& c) {
        const PreviewLayout l = LayoutSettingsPreview(c.width, 500.0, 180.0);
        return std::pair(l.ticks.size(), l.numbers.size());
    });
    // Ticks stand on the bottom edge: long (200) every 10 mm, medium (150) every 5, short (100)
    // elsewhere. Numbers stand on the long tips: 500 - 200 - 180.
    const PreviewLayout l = LayoutSettingsPreview(4995.0, 500.0, 180.0);
    for (auto [i, x, top] : {std::tuple{5, 283.465, 350.0}, {7, 396.850, 400.0}, {80, 4535.433, 300.0}}) {
        EXPECT_NEAR(l.ticks[i].x, x, 1e-3) << i << " mm";
        EXPECT_EQ(std::pair(l.ticks[i].yTop, l.ticks[i].yBottom), std::pair(top, 500.0)) << i << " mm";
    }
    EXPECT_EQ(std::pair(l.numbers[7].value, l.numbers[7].top), std::pair(7, 120.0));
    EXPECT_NEAR(l.numbers[7].left, 3968.504, 1e-3);
    // A dialog kept on a work area: moved the least, a left monitor's negative pixels exact, one
    // larger than the area at its corner.
    const struct { PixelRect area; int32_t left, top, width, height; PixelRect want; } kept[] = {
        {{0, 0, 1280, 770}, 1200, 700, 300, 200, {980, 570, 1280, 770}},
        {{0, 0, 1280, 770}, 100, 100, 300, 200, {100, 100, 400, 300}},
        {{-1920, 0, 0, 1040}, -100, -50, 400, 300, {-400, 0, 0, 300}},
        {{0, 0, 1280, 770}, 10, 10, 2000, 900, {0, 0, 2000, 900}},
    };
    ExpectRows(kept, [](auto& c) { return KeptWithin(c.left, c.top, c.width, c.height, c.area); });
    // A band: right the width, its top and bottom rows, and its blue. 6150 x 3735
    // twips at 15 twips per pixel: step 15, y = 0, 15, ..., 240, blue 255 - 30600 \ 249 at
    // y 120 and 255 - 61200 \ 249 at 240. The last step may land on the height; a box under 16
    // high gets one-pixel bands instead of looping forever; 9e6 * 255 passes 32 bits.
    // No width or a negative height: no bands. Count, then the band's top, right, bottom, colour.
    using Band = std::tuple<size_t, int32_t, int32_t, int32_t, uint32_t>;
    const struct { int32_t w, h; size_t index; Band want; } bands[] = {
        {410, 249, 8, {17, 119, 410, 135, 133 << 16}}, {410, 249, 16, {17, 239, 410, 255, 10 << 16}},
        {100, 256, 16, {17, 255, 100, 272, 0}}, {50, 10, 5, {11, 4, 50, 6, 128 << 16}},
        {100, 16000000, 9, {17, 8999999, 100, 10000000, 112 << 16}}, {0, 249, 0, {}}, {410, -3, 0, {}}};
    ExpectRows(bands, [](auto& c) {
        const std::vector<GradientBand> all = VersionBoxGradient(c.w, c.h);
        const GradientBand b = all.empty() ? GradientBand{} : all.at(c.index);
        return Band(all.size(), b.top, b.right, b.bottom, b.color);
    });
}

}  // namespace
}  // namespace plumbo
