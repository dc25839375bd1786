#include "ruler/placement.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace plumbo {

std::ostream& operator<<(std::ostream& os, const PixelPlace& p) {
    return os << "{" << p.left << ", " << p.top << ", " << p.width << ", " << p.height << "}";
}

namespace {

struct PlaceCase {
    const char* name;
    PixelRect target;
    int32_t horizontalThickness;
    int32_t verticalThickness;
    bool inside;
    PixelPlace horizontal;
    PixelPlace vertical;
};

// Worked by hand: outside = above and left of the frame, inside = along the bottom and left
// edges within it.
const PlaceCase kPlaceCases[] = {
    {"origin outside", {0, 0, 640, 480}, 33, 34, false, {0, -33, 640, 33}, {-34, 0, 34, 480}},
    {"origin inside", {0, 0, 640, 480}, 33, 34, true, {0, 447, 640, 33}, {0, 0, 34, 480}},
    // A monitor left of and above the primary: no pixel may be lost to rounding toward zero.
    {"negative outside", {-1919, -1079, -1, -1}, 34, 33, false, {-1919, -1113, 1918, 34},
     {-1952, -1079, 33, 1078}},
    {"negative inside", {-1919, -1079, -1, -1}, 34, 33, true, {-1919, -35, 1918, 34},
     {-1919, -1079, 33, 1078}},
    {"straddling origin", {-5, -7, 5, 7}, 33, 33, false, {-5, -40, 10, 33}, {-38, -7, 33, 14}},
};

TEST(PlaceRulers, LaysBothRulersAlongTheTarget) {
    for (const PlaceCase& c : kPlaceCases) {
        SCOPED_TRACE(c.name);
        const auto r = PlaceRulers(c.target, c.horizontalThickness, c.verticalThickness, c.inside);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->horizontal, c.horizontal);
        EXPECT_EQ(r->vertical, c.vertical);
    }
}

TEST(PlaceRulers, RefusesResultsBeyond32Bits) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const struct {
        const char* name;
        PixelRect target;
        bool inside;
        bool fits;
    } cases[] = {
        // Width and height overflow whatever the placement.
        {"too wide", {kMin, 0, kMax, 10}, false, false},
        {"too high", {0, kMin, 10, kMax}, true, false},
        // Above the top edge and left of the left edge overflow only outside.
        {"top edge outside", {0, kMin + 10, 10, kMin + 40}, false, false},
        {"top edge inside", {0, kMin + 10, 10, kMin + 40}, true, true},
        {"left edge outside", {kMin + 10, 0, kMin + 20, 10}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceRulers(c.target, 33, 33, c.inside).has_value(), c.fits) << c.name;
    }
    // The extreme that still fits.
    const auto edge = PlaceRulers({kMin + 33, 0, -1, 10}, 33, 33, false);
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge->vertical.left, kMin);
    EXPECT_EQ(edge->horizontal.width, kMax - 33);
}

}  // namespace
}  // namespace plumbo
