#include "ruler/scale_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plumbo {
namespace {

constexpr float kEps = 0.01f;  // twips

// Labels measure 90 twips per character and 180 high, like a small UI font at 96 dpi.
LabelMeasure FakeMeasure(float perChar = 90.0f, float height = 180.0f) {
    return [=](std::wstring_view caption) {
        return std::pair<float, float>{perChar * static_cast<float>(caption.size()), height};
    };
}

ScaleContext Ctx(double tppX = 15.0, double tppY = 15.0, bool inside = false) {
    return ScaleContext{TwipsPerPixel{tppX, tppY}, inside, FakeMeasure()};
}

// A horizontal ruler whose client area is `length` x 470 inside a 15-twip frame.
RulerModel Horizontal(float length) {
    RulerModel r;
    r.outerWidth = length + 30.0f;
    r.outerHeight = 500.0f;
    r.clientWidth = length;
    r.clientHeight = 470.0f;
    return r;
}

RulerModel Vertical(float length) {
    RulerModel r;
    r.outerWidth = 500.0f;
    r.outerHeight = length + 30.0f;
    r.clientWidth = 470.0f;
    r.clientHeight = length;
    return r;
}

template <typename T>
std::size_t CountVisible(const ElementArray<T>& a) {
    std::size_t n = 0;
    for (const T& e : a) n += e.visible ? 1 : 0;
    return n;
}

// Horizontal ticks hang up from the bottom edge of the 470-high `pBase`.
constexpr float kLongTipY = 270.0f;
constexpr float kMediumTipY = 320.0f;
constexpr float kShortTipY = 370.0f;

struct ZeroLengthCase {
    int tani;
    const char* name;
    std::size_t ticks;
    float tick1;  // where the second tick stands, which tells the units apart
};

// Even a ruler of no length shows the margin the unit adds: 10 mm, 1 inch, 32 pixels.
const ZeroLengthCase kZeroLength[] = {
    {kTaniMill, "mm", 10, 56.693f},
    {kTaniInch10, "tenths", 10, 144.0f},
    {kTaniPixel, "pixels", 8, 60.0f},
    {kTaniInch8, "eighths", 8, 180.0f},
};

TEST(ScaleLayout, ZeroLengthRulerInEveryUnitAndOrientation) {
    for (const ZeroLengthCase& c : kZeroLength) {
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (horizontal ? " horizontal" : " vertical"));
            RulerModel r = horizontal ? Horizontal(0.0f) : Vertical(0.0f);
            ASSERT_TRUE(ScaleByUnit(c.tani, horizontal, r, Ctx()));

            EXPECT_EQ(r.lines.Count(), c.ticks + 1);
            EXPECT_EQ(CountVisible(r.lines), c.ticks);
            EXPECT_FALSE(r.lines[c.ticks].visible);
            const LineElement& t1 = r.lines[1];
            EXPECT_NEAR(horizontal ? t1.x1 : t1.y1, c.tick1, kEps);

            // One number: the designed element is enough, so none is loaded.
            ASSERT_EQ(r.labels.Count(), 1u);
            EXPECT_TRUE(r.labels[0].visible);
            EXPECT_EQ(r.labels[0].caption, L"0");
        }
    }
}

TEST(ScaleLayout, UnknownUnitDrawsNothing) {
    for (int tani : {3, 5, -1}) {
        RulerModel r = Horizontal(3000.0f);
        r.baseWidth = 123.0f;
        EXPECT_FALSE(ScaleByUnit(tani, true, r, Ctx()));
        EXPECT_EQ(r.lines.Count(), 1u);
        EXPECT_EQ(r.labels.Count(), 1u);
        EXPECT_FALSE(r.lines[0].visible);
        EXPECT_EQ(r.baseWidth, 123.0f);
    }
}

TEST(ScaleLayout, PictureBoxIsFittedToTheClientArea) {
    RulerModel r = Horizontal(1000.0f);
    r.baseLeft = 40.0f;
    r.baseTop = -15.0f;
    r.baseWidth = 5.0f;
    r.baseHeight = 900.0f;
    ScaleHrzMill(r, Ctx());
    EXPECT_EQ(r.baseLeft, 0.0f);
    EXPECT_EQ(r.baseTop, 0.0f);
    EXPECT_EQ(r.baseWidth, 1000.0f);
    EXPECT_EQ(r.baseHeight, 470.0f);
}

struct TickCase {
    std::size_t index;
    float x;
    float tipY;
};

TEST(ScaleLayout, MillimetresOn8970Twips) {
    RulerModel r = Horizontal(8970.0f);  // 158.22 mm
    ScaleHrzMill(r, Ctx());

    ASSERT_EQ(r.lines.Count(), 169u);
    EXPECT_EQ(CountVisible(r.lines), 168u);

    const TickCase ticks[] = {
        {0, 0.0f, kLongTipY},         {1, 56.693f, kShortTipY},     {5, 283.465f, kMediumTipY},
        {7, 396.850f, kShortTipY},    {10, 566.929f, kLongTipY},    {15, 850.394f, kMediumTipY},
        {160, 9070.866f, kLongTipY},  {165, 9354.331f, kMediumTipY}, {167, 9467.717f, kShortTipY},
    };
    for (const TickCase& t : ticks) {
        SCOPED_TRACE(t.index);
        const LineElement& l = r.lines[t.index];
        EXPECT_NEAR(l.x1, t.x, kEps);
        EXPECT_EQ(l.x1, l.x2);
        EXPECT_EQ(l.y1, 500.0f);  // from below `pBase`
        EXPECT_EQ(l.y2, t.tipY);
    }

    // Long at 0, 10, ..., 160; medium at 5, 15, ..., 165; the rest short.
    int longs = 0, mediums = 0, shorts = 0;
    for (std::size_t i = 0; i < 168; ++i) {
        const float tip = r.lines[i].y2;
        longs += tip == kLongTipY;
        mediums += tip == kMediumTipY;
        shorts += tip == kShortTipY;
    }
    EXPECT_EQ(longs, 17);
    EXPECT_EQ(mediums, 17);
    EXPECT_EQ(shorts, 134);

    ASSERT_EQ(r.labels.Count(), 17u);
    EXPECT_EQ(CountVisible(r.labels), 16u);
    for (std::size_t k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        const LabelElement& n = r.labels[k];
        EXPECT_EQ(n.caption, std::to_wstring(k));
        // Each number's left edge is on its centimetre's long tick, its foot on the tick tips.
        EXPECT_EQ(n.left, r.lines[10 * k].x1);
        EXPECT_EQ(n.top + n.height, kLongTipY);
    }
    EXPECT_NEAR(r.labels[15].left, 8503.937f, kEps);
    EXPECT_EQ(r.labels[15].width, 180.0f);
    EXPECT_EQ(r.labels[15].top, 90.0f);
}

struct CountCase {
    int tani;
    float length;  // twips
    std::size_t ticks;
    std::size_t numbers;
};

// Counts round to the nearest whole unit, halves to even, before the integer division.
const CountCase kCounts[] = {
    {kTaniMill, 8970.0f, 168, 16},   // 168.22 -> 168
    {kTaniMill, 8999.0f, 169, 16},   // 168.73 -> 169
    {kTaniMill, 9070.866f, 170, 17},  // 170.00
    {kTaniInch8, 720.0f, 16, 2},     // 1.5 -> 2
    {kTaniInch8, 2016.0f, 16, 2},    // 2.4 -> 2
    {kTaniInch8, 2160.0f, 16, 2},    // 2.5 -> 2, half to even
    {kTaniInch8, 2304.0f, 24, 3},    // 2.6 -> 3
    {kTaniInch8, 3600.0f, 32, 4},    // 3.5 -> 4, half to even
    {kTaniInch10, 2160.0f, 20, 2},
    {kTaniInch10, 2880.0f, 30, 3},
    {kTaniPixel, 1500.0f, 33, 4},    // 100 px at 15: 132 \ 4, 132 \ 32
    {kTaniPixel, 1425.0f, 31, 3},    //  95 px: 127 \ 4, 127 \ 32
};

TEST(ScaleLayout, TickAndNumberCounts) {
    for (const CountCase& c : kCounts) {
        SCOPED_TRACE(testing::Message() << "tani " << c.tani << ", " << c.length << " twips");
        RulerModel r = Horizontal(c.length);
        ASSERT_TRUE(ScaleByUnit(c.tani, true, r, Ctx()));
        EXPECT_EQ(CountVisible(r.lines), c.ticks);
        EXPECT_EQ(r.lines.Count(), c.ticks + 1);
        EXPECT_EQ(CountVisible(r.labels), c.numbers);
        EXPECT_EQ(r.labels.Count(), c.numbers + 1);
    }
}

TEST(ScaleLayout, PixelNumbersStandOnEvery32ndPixel) {
    struct PixelCase {
        double tpp;
        float length;
        std::vector<float> numberLeft;
    };
    const PixelCase cases[] = {
        {15.0, 1500.0f, {0.0f, 480.0f, 960.0f, 1440.0f}},
        {12.0, 1200.0f, {0.0f, 384.0f, 768.0f, 1152.0f}},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.tpp);
        RulerModel r = Horizontal(c.length);  // 100 px either way
        ScaleHrzPixel(r, Ctx(c.tpp, 99.0));
        ASSERT_EQ(CountVisible(r.labels), c.numberLeft.size());
        for (std::size_t k = 0; k < c.numberLeft.size(); ++k) {
            const LabelElement& n = r.labels[k];
            EXPECT_EQ(n.caption, std::to_wstring(32 * k));
            EXPECT_NEAR(n.left, c.numberLeft[k], kEps);
            EXPECT_EQ(r.lines[8 * k].x1, n.left);
            EXPECT_EQ(r.lines[8 * k].y2, kLongTipY);
        }
        EXPECT_NEAR(r.lines[1].x1, 4 * c.tpp, kEps);
        EXPECT_EQ(r.lines[1].y2, kShortTipY);
        EXPECT_NEAR(r.lines[4].x1, 16 * c.tpp, kEps);
        EXPECT_EQ(r.lines[4].y2, kMediumTipY);
        EXPECT_EQ(r.lines[12].y2, kMediumTipY);
    }
}

TEST(ScaleLayout, VerticalPixelsUseTheVerticalResolution) {
    RulerModel r = Vertical(1200.0f);  // 100 px at 12 twips per pixel
    ScaleVerPixel(r, Ctx(15.0, 12.0));
    EXPECT_EQ(CountVisible(r.lines), 33u);
    ASSERT_EQ(CountVisible(r.labels), 4u);
    EXPECT_NEAR(r.labels[3].top, 1152.0f, kEps);
    EXPECT_EQ(r.labels[3].caption, L"96");
    EXPECT_NEAR(r.lines[1].y1, 48.0f, kEps);
}

TEST(ScaleLayout, EighthsMarkWholeInchesLongAndHalvesMedium) {
    RulerModel r = Horizontal(2880.0f);  // 2 in -> 3 whole inches, 24 ticks
    ScaleHrzInch8(r, Ctx());
    ASSERT_EQ(CountVisible(r.lines), 24u);
    const TickCase ticks[] = {
        {0, 0.0f, kLongTipY},     {1, 180.0f, kShortTipY},    {2, 360.0f, kShortTipY},  // quarter
        {4, 720.0f, kMediumTipY}, {6, 1080.0f, kShortTipY},   {8, 1440.0f, kLongTipY},
        {12, 2160.0f, kMediumTipY}, {16, 2880.0f, kLongTipY}, {20, 3600.0f, kMediumTipY},
        {23, 4140.0f, kShortTipY},
    };
    for (const TickCase& t : ticks) {
        SCOPED_TRACE(t.index);
        EXPECT_NEAR(r.lines[t.index].x1, t.x, kEps);
        EXPECT_EQ(r.lines[t.index].y2, t.tipY);
    }
    ASSERT_EQ(CountVisible(r.labels), 3u);
    EXPECT_EQ(r.labels[2].caption, L"2");
    EXPECT_NEAR(r.labels[2].left, 2880.0f, kEps);
}

TEST(ScaleLayout, TenthsMarkWholeInchesLongAndHalvesMedium) {
    RulerModel r = Horizontal(2880.0f);
    ScaleHrzInch10(r, Ctx());
    ASSERT_EQ(CountVisible(r.lines), 30u);
    const TickCase ticks[] = {
        {3, 432.0f, kShortTipY},   {4, 576.0f, kShortTipY},   {5, 720.0f, kMediumTipY},
        {10, 1440.0f, kLongTipY}, {25, 3600.0f, kMediumTipY}, {29, 4176.0f, kShortTipY},
    };
    for (const TickCase& t : ticks) {
        SCOPED_TRACE(t.index);
        EXPECT_NEAR(r.lines[t.index].x1, t.x, kEps);
        EXPECT_EQ(r.lines[t.index].y2, t.tipY);
    }
    EXPECT_NEAR(r.labels[1].left, 1440.0f, kEps);
}

TEST(ScaleLayout, VerticalTicksAndNumbersFollowThePlacement) {
    struct VerticalCase {
        bool inside;
        float longX1, longX2, shortX1, shortX2;
        float left0, left10;  // numbers "0" and "10"
    };
    // `pBase` is 470 wide; outside the ticks stand out from the right edge (starting beyond it,
    // at the form's outer width), inside from the left edge.
    const VerticalCase cases[] = {
        {false, 500.0f, 270.0f, 500.0f, 370.0f, 180.0f, 90.0f},
        {true, 0.0f, 200.0f, 0.0f, 100.0f, 200.0f, 200.0f},
    };
    for (const VerticalCase& c : cases) {
        SCOPED_TRACE(c.inside ? "inside" : "outside");
        RulerModel r = Vertical(8970.0f);
        ScaleVerMill(r, Ctx(15.0, 15.0, c.inside));
        ASSERT_EQ(CountVisible(r.lines), 168u);
        const LineElement& longTick = r.lines[10];
        EXPECT_EQ(longTick.x1, c.longX1);
        EXPECT_EQ(longTick.x2, c.longX2);
        EXPECT_NEAR(longTick.y1, 566.929f, kEps);
        EXPECT_EQ(longTick.y1, longTick.y2);
        EXPECT_EQ(r.lines[3].x1, c.shortX1);
        EXPECT_EQ(r.lines[3].x2, c.shortX2);

        ASSERT_EQ(CountVisible(r.labels), 16u);
        EXPECT_EQ(r.labels[0].left, c.left0);
        EXPECT_EQ(r.labels[10].left, c.left10);
        // The number's top edge is at its tick.
        EXPECT_EQ(r.labels[10].top, r.lines[100].y1);
    }
}

TEST(ScaleLayout, VerticalOutsideNumberTooWideStartsAtTheEdge) {
    struct WideCase {
        float perChar;
        float left;  // of "10": 470 - 200 - 2 * perChar, or 0
    };
    const WideCase cases[] = {{100.0f, 70.0f}, {134.5f, 1.0f}, {135.0f, 0.0f}, {200.0f, 0.0f}};
    for (const WideCase& c : cases) {
        SCOPED_TRACE(c.perChar);
        RulerModel r = Vertical(8970.0f);
        ScaleContext ctx = Ctx();
        ctx.measure = FakeMeasure(c.perChar);
        ScaleVerMill(r, ctx);
        EXPECT_EQ(r.labels[10].left, c.left);
        EXPECT_EQ(r.labels[10].width, 2 * c.perChar);
    }
}

TEST(ScaleLayout, ArraysOnlyGrowAndElementsBeyondTheScaleStayAsTheyWere) {
    RulerModel r = Horizontal(8970.0f);
    r.lines.SetColor(0x00010203);
    ScaleHrzMill(r, Ctx());
    ASSERT_EQ(r.lines.Count(), 169u);
    EXPECT_EQ(r.lines[168].color, 0x00010203u);  // the spare copies element 0
    const LineElement tick100 = r.lines[100];
    const LabelElement number12 = r.labels[12];

    // Shorter: 10 ticks and one number needed, nothing unloaded, nothing beyond touched.
    r.clientWidth = 0.0f;
    ScaleHrzMill(r, Ctx());
    EXPECT_EQ(r.lines.Count(), 169u);
    EXPECT_EQ(r.labels.Count(), 17u);
    EXPECT_TRUE(r.lines[100].visible);
    EXPECT_EQ(r.lines[100].x1, tick100.x1);
    EXPECT_EQ(r.lines[100].y2, tick100.y2);
    EXPECT_TRUE(r.labels[12].visible);
    EXPECT_EQ(r.labels[12].caption, number12.caption);
    EXPECT_EQ(r.labels[12].left, number12.left);
    EXPECT_FALSE(r.lines[168].visible);
    EXPECT_FALSE(r.labels[16].visible);

    // A unit change hides everything of both rulers first.
    RulerModel v = Vertical(3000.0f);
    ScaleVerPixel(v, Ctx());
    HideScales(r, v);
    EXPECT_EQ(CountVisible(r.lines) + CountVisible(r.labels), 0u);
    EXPECT_EQ(CountVisible(v.lines) + CountVisible(v.labels), 0u);
    EXPECT_EQ(r.lines.Count(), 169u);

    // Eighths of a zero-length ruler need fewer elements: only 0..7 and "0" come back.
    ScaleHrzInch8(r, Ctx());
    EXPECT_EQ(CountVisible(r.lines), 8u);
    EXPECT_EQ(CountVisible(r.labels), 1u);
}

}  // namespace
}  // namespace plumbo
