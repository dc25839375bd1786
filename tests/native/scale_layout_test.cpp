#include "ruler/scale_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plumbo {
namespace {

constexpr float kEps = 0.01f;  // twips

// Labels measure 90 twips per character and 180 high, like a small UI font at 96 dpi.
LabelMeasure FakeMeasure(float perChar = 90.0f) {
    return [=](std::wstring_view caption) {
        return std::pair<float, float>{perChar * static_cast<float>(caption.size()), 180.0f};
    };
}

ScaleContext Ctx(double tppX = 15.0, double tppY = 15.0, bool inside = false) {
    return ScaleContext{TwipsPerPixel{tppX, tppY}, inside, FakeMeasure()};
}

// A ruler whose client area is `length` long and 470 thick inside a 15-twip frame.
RulerModel Ruler(float length, bool horizontal = true) {
    RulerModel r;
    (horizontal ? r.outerWidth : r.outerHeight) = length + 30.0f;
    (horizontal ? r.outerHeight : r.outerWidth) = 500.0f;
    (horizontal ? r.clientWidth : r.clientHeight) = length;
    (horizontal ? r.clientHeight : r.clientWidth) = 470.0f;
    return r;
}

template <typename T>
std::size_t CountVisible(const ElementArray<T>& a) {
    std::size_t n = 0;
    for (const T& e : a) n += e.visible ? 1 : 0;
    return n;
}

// Horizontal ticks stand up from the bottom edge of the 470-high client area.
constexpr float kLongTipY = 270.0f;
constexpr float kMediumTipY = 320.0f;
constexpr float kShortTipY = 370.0f;

struct TickCase {
    std::size_t index;
    float x;
    float tipY;
};

void ExpectTicks(const RulerModel& r, std::initializer_list<TickCase> ticks) {
    for (const TickCase& t : ticks) {
        SCOPED_TRACE(t.index);
        EXPECT_NEAR(r.ticks[t.index].x1, t.x, kEps);
        EXPECT_EQ(r.ticks[t.index].y2, t.tipY);
    }
}

TEST(ScaleLayout, ZeroLengthRulerInEveryUnitAndOrientation) {
    // Even a ruler of no length shows the margin the unit adds: 10 mm, 1 inch, 32 pixels.
    const struct {
        RulerUnit unit;
        std::size_t ticks;
        float tick1;  // where the second tick stands, which tells the units apart
    } cases[] = {{RulerUnit::Millimetre, 10, 56.693f},
                 {RulerUnit::InchTenths, 10, 144.0f},
                 {RulerUnit::Pixel, 8, 60.0f},
                 {RulerUnit::InchEighths, 8, 180.0f}};
    for (const auto& c : cases) {
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(testing::Message() << "unit " << static_cast<int>(c.unit)
                                            << (horizontal ? " horizontal" : " vertical"));
            RulerModel r = Ruler(0.0f, horizontal);
            ASSERT_TRUE(ScaleByUnit(c.unit, horizontal, r, Ctx()));
            EXPECT_EQ(r.ticks.Count(), c.ticks + 1);
            EXPECT_EQ(CountVisible(r.ticks), c.ticks);
            EXPECT_NEAR(horizontal ? r.ticks[1].x1 : r.ticks[1].y1, c.tick1, kEps);
            // One number: the pattern element is enough, so none is loaded.
            ASSERT_EQ(r.numbers.Count(), 1u);
            EXPECT_TRUE(r.numbers[0].visible);
            EXPECT_EQ(r.numbers[0].caption, L"0");
        }
    }
}

TEST(ScaleLayout, AValueNamingNoUnitLaysOutNothing) {
    for (int value : {3, 5, -1}) {
        RulerModel r = Ruler(3000.0f);
        EXPECT_FALSE(ScaleByUnit(static_cast<RulerUnit>(value), true, r, Ctx())) << value;
        EXPECT_EQ(r.ticks.Count(), 1u) << value;
        EXPECT_FALSE(r.ticks[0].visible) << value;
        EXPECT_EQ(r.numbers.Count(), 1u) << value;
    }
}

TEST(ScaleLayout, MillimetresOn8970Twips) {
    RulerModel r = Ruler(8970.0f);  // 158.22 mm
    ASSERT_TRUE(ScaleByUnit(RulerUnit::Millimetre, true, r, Ctx()));

    ASSERT_EQ(r.ticks.Count(), 169u);
    EXPECT_EQ(CountVisible(r.ticks), 168u);
    ExpectTicks(r, {{0, 0.0f, kLongTipY}, {1, 56.693f, kShortTipY}, {5, 283.465f, kMediumTipY},
                    {10, 566.929f, kLongTipY}, {165, 9354.331f, kMediumTipY}, {167, 9467.717f, kShortTipY}});
    EXPECT_EQ(r.ticks[7].x1, r.ticks[7].x2);
    EXPECT_EQ(r.ticks[7].y1, 500.0f);  // from beyond the client area's bottom edge

    // Long at 0, 10, ..., 160; medium at 5, 15, ..., 165; the rest short.
    int longs = 0, mediums = 0;
    for (std::size_t i = 0; i < 168; ++i) {
        longs += r.ticks[i].y2 == kLongTipY;
        mediums += r.ticks[i].y2 == kMediumTipY;
    }
    EXPECT_EQ(longs, 17);
    EXPECT_EQ(mediums, 17);

    ASSERT_EQ(r.numbers.Count(), 17u);
    EXPECT_EQ(CountVisible(r.numbers), 16u);
    for (std::size_t k = 0; k < 16; ++k) {
        // Each number's left edge is on its centimetre's long tick, its foot on the tick tips.
        EXPECT_EQ(r.numbers[k].caption, std::to_wstring(k));
        EXPECT_EQ(r.numbers[k].left, r.ticks[10 * k].x1) << k;
        EXPECT_EQ(r.numbers[k].top + r.numbers[k].height, kLongTipY) << k;
    }
    EXPECT_EQ(r.numbers[15].width, 180.0f);
}

TEST(ScaleLayout, TickAndNumberCounts) {
    // Counts round to the nearest whole unit, halves to even, before the integer division.
    const struct {
        RulerUnit unit;
        float length;  // twips
        std::size_t ticks, numbers;
    } cases[] = {
        {RulerUnit::Millimetre, 8999.0f, 169, 16},  // 168.73 -> 169
        {RulerUnit::InchEighths, 2160.0f, 16, 2},   // 2.5 -> 2, half to even
        {RulerUnit::InchEighths, 3600.0f, 32, 4},   // 3.5 -> 4, half to even
        {RulerUnit::Pixel, 1500.0f, 33, 4},         // 100 px at 15: 132 \ 4, 132 \ 32
        {RulerUnit::Pixel, 1425.0f, 31, 3},         //  95 px: 127 \ 4, 127 \ 32
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "unit " << static_cast<int>(c.unit) << ", " << c.length << " twips");
        RulerModel r = Ruler(c.length);
        ASSERT_TRUE(ScaleByUnit(c.unit, true, r, Ctx()));
        EXPECT_EQ(CountVisible(r.ticks), c.ticks);
        EXPECT_EQ(r.ticks.Count(), c.ticks + 1);
        EXPECT_EQ(CountVisible(r.numbers), c.numbers);
        EXPECT_EQ(r.numbers.Count(), c.numbers + 1);
    }
}

TEST(ScaleLayout, PixelNumbersStandOnEvery32ndPixel) {
    RulerModel r = Ruler(1500.0f);  // 100 px
    ASSERT_TRUE(ScaleByUnit(RulerUnit::Pixel, true, r, Ctx(15.0, 99.0)));
    ASSERT_EQ(CountVisible(r.numbers), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(r.numbers[k].caption, std::to_wstring(32 * k));
        EXPECT_NEAR(r.numbers[k].left, 480.0f * k, kEps);
        EXPECT_EQ(r.ticks[8 * k].x1, r.numbers[k].left);
        EXPECT_EQ(r.ticks[8 * k].y2, kLongTipY);
    }
    ExpectTicks(r, {{1, 60.0f, kShortTipY}, {4, 240.0f, kMediumTipY}, {12, 720.0f, kMediumTipY}});

    // The vertical ruler uses the vertical resolution: 100 px at 12 twips per pixel.
    r = Ruler(1200.0f, false);
    ASSERT_TRUE(ScaleByUnit(RulerUnit::Pixel, false, r, Ctx(15.0, 12.0)));
    EXPECT_EQ(CountVisible(r.ticks), 33u);
    ASSERT_EQ(CountVisible(r.numbers), 4u);
    EXPECT_NEAR(r.numbers[3].top, 1152.0f, kEps);
    EXPECT_NEAR(r.ticks[1].y1, 48.0f, kEps);
}

TEST(ScaleLayout, InchesMarkWholeInchesLongAndHalvesMedium) {
    RulerModel r = Ruler(2880.0f);  // 2 in -> 3 whole inches
    ASSERT_TRUE(ScaleByUnit(RulerUnit::InchEighths, true, r, Ctx()));
    ASSERT_EQ(CountVisible(r.ticks), 24u);
    ExpectTicks(r, {{0, 0.0f, kLongTipY}, {2, 360.0f, kShortTipY}, {4, 720.0f, kMediumTipY},
                    {8, 1440.0f, kLongTipY}, {20, 3600.0f, kMediumTipY}, {23, 4140.0f, kShortTipY}});
    ASSERT_EQ(CountVisible(r.numbers), 3u);
    EXPECT_NEAR(r.numbers[2].left, 2880.0f, kEps);

    r = Ruler(2880.0f);
    ASSERT_TRUE(ScaleByUnit(RulerUnit::InchTenths, true, r, Ctx()));
    ASSERT_EQ(CountVisible(r.ticks), 30u);
    ExpectTicks(r, {{4, 576.0f, kShortTipY}, {5, 720.0f, kMediumTipY}, {10, 1440.0f, kLongTipY},
                    {29, 4176.0f, kShortTipY}});
    EXPECT_NEAR(r.numbers[1].left, 1440.0f, kEps);
}

TEST(ScaleLayout, VerticalTicksAndNumbersFollowThePlacement) {
    // The client area is 470 wide; outside the ticks stand out from the right edge (starting
    // beyond it, at the window's outer width), inside from the left edge.
    const struct {
        bool inside;
        float longX1, longX2, shortX1, shortX2;
        float left0, left10;  // numbers "0" and "10"
    } cases[] = {
        {false, 500.0f, 270.0f, 500.0f, 370.0f, 180.0f, 90.0f},
        {true, 0.0f, 200.0f, 0.0f, 100.0f, 200.0f, 200.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inside ? "inside" : "outside");
        RulerModel r = Ruler(8970.0f, false);
        ASSERT_TRUE(ScaleByUnit(RulerUnit::Millimetre, false, r, Ctx(15.0, 15.0, c.inside)));
        ASSERT_EQ(CountVisible(r.ticks), 168u);
        EXPECT_EQ(r.ticks[10].x1, c.longX1);
        EXPECT_EQ(r.ticks[10].x2, c.longX2);
        EXPECT_NEAR(r.ticks[10].y1, 566.929f, kEps);
        EXPECT_EQ(r.ticks[10].y1, r.ticks[10].y2);
        EXPECT_EQ(r.ticks[3].x1, c.shortX1);
        EXPECT_EQ(r.ticks[3].x2, c.shortX2);
        ASSERT_EQ(CountVisible(r.numbers), 16u);
        EXPECT_EQ(r.numbers[0].left, c.left0);
        EXPECT_EQ(r.numbers[10].left, c.left10);
        EXPECT_EQ(r.numbers[10].top, r.ticks[100].y1);  // the number's top edge is at its tick
    }
}

TEST(ScaleLayout, VerticalOutsideNumberTooWideStartsAtTheEdge) {
    // The left of "10" is 470 - 200 - 2 * perChar, or 0.
    for (auto [perChar, left] : {std::pair{134.5f, 1.0f}, {135.0f, 0.0f}, {200.0f, 0.0f}}) {
        RulerModel r = Ruler(8970.0f, false);
        ScaleContext ctx = Ctx();
        ctx.measure = FakeMeasure(perChar);
        ASSERT_TRUE(ScaleByUnit(RulerUnit::Millimetre, false, r, ctx));
        EXPECT_EQ(r.numbers[10].left, left) << perChar;
        EXPECT_EQ(r.numbers[10].width, 2 * perChar) << perChar;
    }
}

TEST(ScaleLayout, ArraysOnlyGrowAndElementsBeyondTheScaleStayAsTheyWere) {
    RulerModel r = Ruler(8970.0f);
    r.ticks.SetColor(0x00010203);
    ASSERT_TRUE(ScaleByUnit(RulerUnit::Millimetre, true, r, Ctx()));
    EXPECT_EQ(r.ticks[168].color, 0x00010203u);  // the spare copies element 0
    const LineElement tick100 = r.ticks[100];
    const LabelElement number12 = r.numbers[12];

    // Shorter: nothing unloaded, nothing beyond what is needed touched.
    r.clientWidth = 0.0f;
    ASSERT_TRUE(ScaleByUnit(RulerUnit::Millimetre, true, r, Ctx()));
    EXPECT_EQ(r.ticks.Count(), 169u);
    EXPECT_EQ(r.numbers.Count(), 17u);
    EXPECT_TRUE(r.ticks[100].visible);
    EXPECT_EQ(r.ticks[100].x1, tick100.x1);
    EXPECT_TRUE(r.numbers[12].visible);
    EXPECT_EQ(r.numbers[12].left, number12.left);
    EXPECT_FALSE(r.ticks[168].visible);

    // A unit change hides everything first, and nothing is unloaded.
    HideScale(r);
    EXPECT_EQ(CountVisible(r.ticks) + CountVisible(r.numbers), 0u);
    EXPECT_EQ(r.ticks.Count(), 169u);
    // The fewer ticks of the new unit leave none of the old ones showing.
    r.clientWidth = 8970.0f;
    ASSERT_TRUE(ScaleByUnit(RulerUnit::InchEighths, true, r, Ctx()));
    EXPECT_EQ(CountVisible(r.ticks), 56u);  // 6.23 in -> 7 whole inches of eighths
    EXPECT_FALSE(r.ticks[100].visible);
}

}  // namespace
}  // namespace plumbo
