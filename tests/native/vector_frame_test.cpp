#include <gtest/gtest.h>

#include <climits>

#include "vector/frame_layout.h"
#include "vector_test_util.h"

namespace plumbo {
namespace {

using test::Describe;
using Lines = std::vector<std::string>;

constexpr uint32_t kCap = style_bits::kCaption;
constexpr uint32_t kSys = style_bits::kSysMenu;
constexpr uint32_t kMax = style_bits::kMaximizeBox;
constexpr uint32_t kDis = style_bits::kDisabled;
constexpr uint32_t kMin = 0x00020000;  // WS_MINIMIZEBOX, which the middle button ignores

// 401 x 300 at (50, 60); caption 19, buttons 18 x 18, so m = 0.5. W = 401 makes the close
// box start at 382.5, which rounds to even 382 (half-up would give 383).
TargetRecord Window(uint32_t style) {
    TargetRecord t;
    t.window.style = style;
    t.window.window = {50, 60, 451, 360};
    t.window.text = L"Title";
    t.metrics = {19, 18, 18, 16, 16};
    return t;
}

const Lines kOuter{"R 0,0 401x300 h0"};
const Lines kCaptionBar{"R 0,0 401x19 h8", "B 19,0 382x19 f4 'Title'"};
const Lines kClose{"R 382.5,0.5 18x18 h8", "L (386.5,4.5)-(395.5,13.5)", "L (395.5,4.5)-(386.5,13.5)"};
// 401 - 2 (18 - 0.5) = 366; the symbol is a half-size square from round(366) + 4.5.
const Lines kMiddle{"R 366,0.5 18x18 h8", "R 370.5,4.5 9x9 h8"};
// 401 - 3 (18 - 0.5) = 348.5, rounded to even 348 for the low bar.
const Lines kLeft{"R 348.5,0.5 18x18 h8", "L (352.5,13.5)-(361.5,13.5)"};

Lines Join(std::initializer_list<Lines> groups) {
    Lines out;
    for (const Lines& g : groups) out.insert(out.end(), g.begin(), g.end());
    return out;
}

TEST(DrawWindowFrame, CaptionButtonsForEachStyleCombination) {
    struct Case {
        uint32_t style;
        Lines expected;
    };
    const Case cases[] = {
        {kCap, Join({kOuter, kCaptionBar})},
        {kCap | kMax, Join({kOuter, kCaptionBar})},  // no system menu: no buttons at all
        {kCap | kDis, Join({kOuter, kCaptionBar})},
        {kCap | kMax | kDis, Join({kOuter, kCaptionBar})},
        {kCap | kSys, Join({kOuter, kCaptionBar, kClose})},
        {kCap | kSys | kMin, Join({kOuter, kCaptionBar, kClose})},
        {kCap | kSys | kMax, Join({kOuter, kCaptionBar, kClose, kMiddle, kLeft})},
        {kCap | kSys | kDis, Join({kOuter, kCaptionBar, kClose, kMiddle})},
        {kCap | kSys | kMax | kDis, Join({kOuter, kCaptionBar, kClose, kMiddle, kLeft})},
        // Either caption bit is enough.
        {style_bits::kBorder | kSys, Join({kOuter, kCaptionBar, kClose})},
        {0x00400000 | kSys, Join({kOuter, kCaptionBar, kClose})},
        // No caption: the system menu bits alone draw nothing.
        {kSys | kMax | kDis, kOuter},
    };
    for (const Case& c : cases) {
        PartList list;
        auto size = DrawWindowFrame(Window(c.style), list);
        ASSERT_TRUE(size) << std::hex << c.style;
        EXPECT_EQ(Describe(list), c.expected) << std::hex << c.style;
        // The list's header and the viewer's size.
        EXPECT_EQ(size->width, 401);
        EXPECT_EQ(size->height, 300);
        EXPECT_EQ(list.unit, kUnitPixels);
        EXPECT_EQ(list.width, 401);
        EXPECT_EQ(list.height, 300);
    }
}

TEST(DrawWindowFrame, OddMarginOffsetsUseTheSameRounding) {
    // Caption 22, buttons 16 x 14: m = 4, so the buttons overlap by 2m = 8 px.
    TargetRecord t = Window(kCap | kSys | kMax);
    t.metrics = {22, 16, 14, 16, 16};
    t.window.text = L"";
    PartList list;
    ASSERT_TRUE(DrawWindowFrame(t, list));
    EXPECT_EQ(Describe(list), (Lines{"R 0,0 401x300 h0", "R 0,0 401x22 h8", "B 22,0 379x22 f4 ''",
                                     "R 381,4 16x14 h8", "L (385,7.5)-(393,14.5)", "L (393,7.5)-(385,14.5)",
                                     "R 377,4 16x14 h8", "R 381,7.5 8x7 h8", "R 365,4 16x14 h8",
                                     "L (369,14.5)-(377,14.5)"}));
}

TEST(DrawWindowFrame, MenuCaptionsWithAndWithoutACaptionBar) {
    TargetRecord t = Window(0);
    t.menuItems = {{{54, 82, 90, 101}, L"ファイル(&F)"}, {{90, 82, 130, 101}, L"&Edit"}};
    PartList list;
    ASSERT_TRUE(DrawWindowFrame(t, list));
    EXPECT_EQ(Describe(list),
              (Lines{"R 0,0 401x300 h0", "B 4,22 36x19 f4 '\\u30D5\\u30A1\\u30A4\\u30EB(&F)'", "B 40,22 40x19 f4 '&Edit'"}));
    // After the caption buttons.
    t.window.style = kCap | kSys;
    t.menuItems.pop_back();
    list = {};
    ASSERT_TRUE(DrawWindowFrame(t, list));
    EXPECT_EQ(Describe(list), Join({kOuter, kCaptionBar, kClose, {"B 4,22 36x19 f4 '\\u30D5\\u30A1\\u30A4\\u30EB(&F)'"}}));
}

TEST(DrawWindowFrame, DifferencesBeyond32BitsAbandon) {
    PartList list;
    TargetRecord wide = Window(kCap);
    wide.window.window = {INT32_MIN, 0, INT32_MAX, 100};
    EXPECT_FALSE(DrawWindowFrame(wide, list));

    TargetRecord menu = Window(0);
    menu.menuItems = {{{INT32_MAX, 82, INT32_MAX, 101}, L"far"}};  // left - window left overflows
    menu.window.window = {-10, 0, 100, 100};
    EXPECT_FALSE(DrawWindowFrame(menu, list));
}

}  // namespace
}  // namespace plumbo
