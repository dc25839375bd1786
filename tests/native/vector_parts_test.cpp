#include <gtest/gtest.h>

#include "vector/parts.h"
#include "vector_test_util.h"

namespace plumbo {
namespace {

using test::Describe;
using Lines = std::vector<std::string>;

DrawPart RectRequest(int32_t hatch, int32_t outline, int32_t penWidth) {
    DrawPart p;
    p.kind = kindRect;
    p.rect = {10, 20, 30, 40, penWidth, 2, 0x0000FF, 0x00FF00, hatch, outline};
    return p;
}

TEST(AddPart, SolidOutlineOnlyRectangleBecomesAFivePointOutline) {
    // A solid brush with outline -1 is the one combination that turns into an outline.
    struct Case {
        int32_t hatch, outline, penWidth;
        int32_t storedKind;
    };
    const Case cases[] = {
        {999, -1, 1, kindPolyline},
        {999, -1, 25, kindPolyline},  // 25 stays 25: not 2.5, not 3
        {999, 0, 1, kindRect},        // a solid filled rectangle
        {0, -1, 1, kindRect},         // the drawers' boxes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hatch " << c.hatch << " outline " << c.outline << " pen " << c.penWidth);
        PartList list;
        ASSERT_TRUE(AddPart(list, RectRequest(c.hatch, c.outline, c.penWidth)));
        ASSERT_EQ(list.order.size(), 1u);
        EXPECT_EQ(list.order[0].kind, c.storedKind);
        EXPECT_EQ(list.order[0].index, 0);
        if (c.storedKind == kindPolyline) {
            ASSERT_TRUE(list.rects.empty());
            const PolylinePart& p = list.polylines.at(0);
            EXPECT_EQ(p.xs, (std::vector<double>{10, 40, 40, 10, 10}));
            EXPECT_EQ(p.ys, (std::vector<double>{20, 20, 60, 60, 20}));
            EXPECT_EQ(p.PointCount(), 5u);
            EXPECT_EQ(p.penWidth, c.penWidth) << "an outline's pen is not divided by 10";
            EXPECT_EQ(p.penStyle, 2);
            EXPECT_EQ(p.color, 0x0000FFu);
        } else {
            ASSERT_TRUE(list.polylines.empty());
            const RectPart& r = list.rects.at(0);
            EXPECT_EQ(r.hatch, c.hatch);
            EXPECT_EQ(r.outline, c.outline);
            EXPECT_EQ(r.penWidth, c.penWidth);
            EXPECT_EQ(r.fillColor, 0x00FF00u);
        }
    }
}

TEST(AddPart, KindsOutsideTheTableAreIgnoredButAccepted) {
    PartList list;
    for (int32_t kind : {-1, 5, 1000}) {
        DrawPart p = RectRequest(0, -1, 1);
        p.kind = kind;
        EXPECT_TRUE(AddPart(list, p)) << kind;
    }
    EXPECT_TRUE(list.order.empty());
    EXPECT_TRUE(list.rects.empty());
}

TEST(AddPart, OrderListFollowsCallsAcrossKinds) {
    PartList list;
    AddPart(list, Box(1, 1, 1, 1));
    AddPart(list, Line(0, 0, 5, 5));
    AddPart(list, Box(2, 2, 2, 2));
    AddPart(list, BoxedText(0, 0, 9, 9, L"a", kFormatCentre));
    AddPart(list, PointText(3, 4, L"", L"b", -1));
    AddPart(list, RectRequest(999, -1, 1));  // stored among the polylines
    AddPart(list, Arrow(0, 0, {1, 2, 3}, {4, 5, 6}));
    EXPECT_EQ(Describe(list), (Lines{"R 1,1 1x1 h0", "L (0,0)-(5,5)", "R 2,2 2x2 h0", "B 0,0 9x9 f5 'a'",
                                     "T 3,4 'b' op-1 face=''", "P (10,20) (40,20) (40,60) (10,60) (10,20) pen=1/255",
                                     "P (1,4) (2,5) (3,6) (1,4)"}));
}

TEST(AddPart, StoresCopiesSoTheRequestCanBeReused) {
    PartList list;
    DrawPart p = BoxedText(1, 2, 3, 4, L"first", kFormatVCenter);
    AddPart(list, p);
    p.rectText.text = L"second";
    p.rectText.x = 50;
    AddPart(list, p);
    DrawPart a = Arrow(0, 0, {1, 2, 3}, {1, 2, 3});
    AddPart(list, a);
    a.polyline.xs[0] = 99;
    EXPECT_EQ(Describe(list), (Lines{"B 1,2 3x4 f4 'first'", "B 50,2 3x4 f4 'second'", "P (1,1) (2,2) (3,3) (1,1)"}));
}

TEST(ScaleUnits, ConvertsBetweenTheListUnits) {
    struct Case {
        double value;
        int32_t from, to;
        double twipsPerPixel;
        double expected;
    };
    const Case cases[] = {
        {100, kUnitPixels, kUnitHimetric, 15, 1500 * 2540.0 / 1440.0},  // 2645.83
        {1440, kUnitTwips, kUnitInches, 15, 1},
        {1500, kUnitTwips, kUnitPixels, 15, 100},
    };
    for (const Case& c : cases) {
        auto v = ScaleUnits(c.value, c.from, c.to, c.twipsPerPixel);
        ASSERT_TRUE(v.has_value()) << c.from << "->" << c.to;
        EXPECT_NEAR(*v, c.expected, 1e-9) << c.value << " " << c.from << "->" << c.to;
    }
    EXPECT_FALSE(ScaleUnits(1, 2, kUnitTwips, 15).has_value());
    EXPECT_FALSE(ScaleUnits(1, kUnitTwips, 0, 15).has_value());
    EXPECT_FALSE(ScaleUnits(1, kUnitPixels, kUnitTwips, 0).has_value());
}

}  // namespace
}  // namespace plumbo
