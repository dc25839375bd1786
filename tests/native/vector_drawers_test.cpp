#include <gtest/gtest.h>

#include <climits>

#include "vector/control_drawers.h"
#include "vector_test_util.h"

namespace plumbo {
namespace {

using test::Describe;
using Lines = std::vector<std::string>;

constexpr uint32_t kVis = style_bits::kVisible;
constexpr uint32_t kH = style_bits::kHScroll;
constexpr uint32_t kV = style_bits::kVScroll;

// The target's outer top-left is (100, 200); controls are given in screen coordinates.
// Thumb metrics differ on purpose so a swapped metric shows: S = 16 across, T = 20 down.
const DrawContext kCtx{{100, 200, 700, 700}, {19, 18, 18, 16, 20}};

WindowRecord Ctl(std::wstring cls, uint32_t style, Rect32 r, std::wstring text = L"", Rect32 client = {}) {
    WindowRecord w;
    w.className = std::move(cls);
    w.style = style;
    w.window = r;
    w.text = std::move(text);
    w.client = client;
    return w;
}

Lines Draw(const WindowRecord& w, DrawOutcome expected = DrawOutcome::Drawn) {
    PartList list;
    EXPECT_EQ(DrawControl(kCtx, w, list), expected);
    return Describe(list);
}

TEST(PlaceOf, DifferencesRelativeToTheTarget) {
    // Controls left of or above the target (negative offsets) are fine.
    auto p = PlaceOf({100, 200, 700, 700}, {90, 150, 95, 160});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, -10);
    EXPECT_EQ(p->y, -50);
    EXPECT_EQ(p->w, 5);
    EXPECT_EQ(p->h, 10);
    // Differences beyond 32 bits.
    EXPECT_FALSE(PlaceOf({INT32_MIN, 0, 0, 0}, {INT32_MAX, 0, INT32_MAX, 0}));
    EXPECT_FALSE(PlaceOf({-10, 0, 0, 0}, {0, 0, INT32_MAX, 10}));  // right - target left
}

TEST(TextBoxDrawer, ScrollBarsWhereTheStyleAsks) {
    // x 10, y 20, w 200, h 100; client 183 x 83.
    WindowRecord edit = Ctl(L"Edit", kVis | kH | kV | 0x4, {110, 220, 310, 320}, L"one\r\ntwo", {0, 0, 183, 83});
    EXPECT_EQ(Draw(edit), (Lines{
                              "R 10,20 200x100 h0", "B 10,20 200x100 f4 'one\\u000D\\u000Atwo'",
                              // horizontal bar under the client area: track, buttons, arrows
                              "R 10,103 183x17 h0", "R 10,103 16x17 h0", "R 177,103 16x17 h0",
                              "P (22,108) (22,118) (14,113) (22,108)", "P (181,108) (189,113) (181,118) (181,108)",
                              // vertical bar right of it
                              "R 193,20 17x83 h0", "R 193,20 17x20 h0", "R 193,83 17x20 h0",
                              "P (201,25) (205,35) (197,35) (201,25)", "P (197,88) (205,88) (201,98) (197,88)"}));
    // No scroll bars unless the style asks.
    EXPECT_EQ(Draw(Ctl(L"TextBox", kVis, {110, 220, 310, 240}, L"abc", {0, 0, 196, 16})),
              (Lines{"R 10,20 200x20 h0", "B 10,20 200x20 f4 'abc'"}));
}

TEST(CheckBoxDrawer, SquareAsTallAsTheControl) {
    // A check box 17 high: a 17 x 17 square, the caption 17 px in, keeping the full width.
    EXPECT_EQ(Draw(Ctl(L"Button", kVis | 0x2, {105, 230, 205, 247}, L"&Wrap")),
              (Lines{"R 5,30 17x17 h0", "B 22,30 100x17 f4 '&Wrap'"}));
}

TEST(ButtonDrawer, BitTestsPickTheLook) {
    const Rect32 r{120, 210, 200, 235};  // x 20, y 10, 80 x 25
    const Lines push{"R 20,10 80x25 h0", "B 20,10 80x25 f5 'OK'"};
    const Lines check{"R 20,10 25x25 h0", "B 45,10 80x25 f4 'OK'"};
    const Lines frame{"R 20,10 80x25 h0", "T 36,2 'OK' op-1 face=''"};
    const std::pair<uint32_t, Lines> cases[] = {{0, push}, {3, push}, {6, check}, {7, frame}, {4, Lines{}}};
    for (const auto& [type, expected] : cases)
        EXPECT_EQ(Draw(Ctl(L"Button", kVis | type, r, L"OK")), expected) << "type " << type;
    EXPECT_EQ(Draw(Ctl(L"CommandButton", kVis, r, L"OK")), push);
}

TEST(ComboBoxDrawer, TextOnlyWithAnEditField) {
    // x 20, y 30, 150 x 21: the button is a 21-px square at the right end.
    WindowRecord withEdit = Ctl(L"ComboBox", kVis | 0x2, {120, 230, 270, 251});
    withEdit.hasDescendant = true;
    withEdit.firstDescendantText = L"typed";
    const Lines box{"R 20,30 150x21 h0", "R 149,30 21x21 h0",
                    "P (154.25,35.25) (164.75,35.25) (159.5,45.75) (154.25,35.25)"};
    Lines expected = box;
    expected.push_back("B 20,30 150x21 f4 'typed'");
    EXPECT_EQ(Draw(withEdit), expected);

    WindowRecord dropList = Ctl(L"ComboBox", kVis | 0x3, {120, 230, 270, 251}, L"ignored");
    EXPECT_EQ(Draw(dropList), box);

    // The arrow carries the spare fields of a filled shape.
    PartList list;
    ASSERT_TRUE(DrawComboBox(kCtx, dropList, list));
    ASSERT_EQ(list.polylines.size(), 1u);
    EXPECT_EQ(list.polylines[0].outline, -1);
    EXPECT_EQ(list.polylines[0].hatch, 999);
    EXPECT_EQ(list.polylines[0].fillColor, kBlack);
}

TEST(ScrollBarControls, OneMetricScalesBothAxes) {
    // Horizontal, x 10, y 50, 200 x 16, S = 16.
    EXPECT_EQ(Draw(Ctl(L"HScrollBar", kVis, {110, 250, 310, 266})),
              (Lines{"R 10,50 200x16 h0", "R 10,50 16x16 h0", "R 194,50 16x16 h0", "P (22,54) (22,62) (14,58) (22,54)",
                     "P (198,54) (206,58) (198,62) (198,54)"}));
    // Vertical, x 300, y 20, 16 x 150, V = 20.
    EXPECT_EQ(Draw(Ctl(L"VScrollBar", kVis, {400, 220, 416, 370})),
              (Lines{"R 300,20 16x150 h0", "R 300,20 16x20 h0", "R 300,150 16x20 h0",
                     "P (310,25) (315,35) (305,35) (310,25)", "P (305,155) (315,155) (310,165) (305,155)"}));
    // The standard class draws nothing.
    EXPECT_EQ(Draw(Ctl(L"ScrollBar", kVis, {110, 250, 310, 266})), Lines{});
}

TEST(ToolBarDrawer, GenericSquares) {
    auto toolBar = [](Rect32 r) { return Draw(Ctl(L"ToolbarWindow32", kVis, r)); };
    // 30 x 300: b 24, 300 div 24 = 12, n = round(8.4) = 8: nine squares at y + 2.4.
    EXPECT_EQ(toolBar({100, 240, 400, 270}),
              (Lines{"L (2,38)-(298,38)", "R 0,42.4 24x24 h0", "R 24,42.4 24x24 h0", "R 48,42.4 24x24 h0",
                     "R 72,42.4 24x24 h0", "R 96,42.4 24x24 h0", "R 120,42.4 24x24 h0", "R 144,42.4 24x24 h0",
                     "R 168,42.4 24x24 h0", "R 192,42.4 24x24 h0"}));
    // 10 x 120: b 8, 120 div 8 = 15, 0.7 x 15 = 10.5 rounds to even 10: eleven squares.
    Lines small = toolBar({110, 200, 230, 210});
    ASSERT_EQ(small.size(), 12u);
    EXPECT_EQ(small[0], "L (12,-2)-(128,-2)");
    EXPECT_EQ(small[1], "R 10,0.8 8x8 h0");
    EXPECT_EQ(small[11], "R 90,0.8 8x8 h0");
    // 127 div 8 = 15 too: the division truncates.
    EXPECT_EQ(toolBar({110, 200, 237, 210}).size(), 12u);
    // Too low for a button: b = round(0.8 x 0) = 0, only the rule.
    EXPECT_EQ(toolBar({100, 200, 200, 200}), (Lines{"L (2,-2)-(98,-2)"}));
    // Narrower than one button: n = 0 still draws one square.
    EXPECT_EQ(toolBar({100, 200, 120, 230}), (Lines{"L (2,-2)-(18,-2)", "R 0,2.4 24x24 h0"}));
    for (const wchar_t* name : {L"Toolbar20WndClass", L"ToolbarWndClass"})
        EXPECT_EQ(Draw(Ctl(name, kVis, {100, 240, 400, 270})).size(), 10u);
}

TEST(StaticDrawer, BoxOnlyWithABorder) {
    const Rect32 r{110, 210, 190, 226};
    EXPECT_EQ(Draw(Ctl(L"Static", kVis, r, L"Name:")), (Lines{"B 10,10 80x16 f0 'Name:'"}));
    EXPECT_EQ(Draw(Ctl(L"Static", kVis | style_bits::kBorder, r, L"Name:")),
              (Lines{"R 10,10 80x16 h0", "B 10,10 80x16 f0 'Name:'"}));
}

TEST(PlainBoxDrawers, BoxesWithAndWithoutStyleScrollBars) {
    const Rect32 r{110, 210, 150, 250};  // x 10, y 10, 40 x 40
    for (const wchar_t* name : {L"PictureBoxDC", L"StatusBar20WndClass"})
        EXPECT_EQ(Draw(Ctl(name, kVis | kH | kV, r, L"unused", {0, 0, 20, 20})), (Lines{"R 10,10 40x40 h0"}))
            << test::Narrow(name);
    for (const wchar_t* name : {L"ListBox", L"MSFlexGridWndClass"}) {
        EXPECT_EQ(Draw(Ctl(name, kVis, r, L"unused")), (Lines{"R 10,10 40x40 h0"})) << test::Narrow(name);
        Lines withBar = Draw(Ctl(name, kVis | kV, r, L"", {0, 0, 24, 40}));
        EXPECT_EQ(withBar, (Lines{"R 10,10 40x40 h0", "R 34,10 16x40 h0", "R 34,10 16x20 h0", "R 34,30 16x20 h0",
                                  "P (42,15) (46,25) (38,25) (42,15)", "P (38,35) (46,35) (42,45) (38,35)"}))
            << test::Narrow(name);
    }
}

TEST(NothingDrawers, VisibleButEmpty) {
    const Rect32 r{110, 210, 150, 250};
    for (const wchar_t* name : {L"CheckBox", L"TabStrip20WndClass", L"ReBarWindow32", L"Data"}) {
        WindowRecord w = Ctl(name, kVis, r, L"x");
        w.children.push_back(Ctl(L"Static", kVis, r, L"inside"));
        EXPECT_EQ(Draw(w), Lines{}) << test::Narrow(name);
    }
}

TEST(UnlistedDrawer, BoxLabelledWithTheClassThenItsChildren) {
    WindowRecord w = Ctl(L"SysTreeView32", kVis, {110, 210, 310, 410});
    w.children.push_back(Ctl(L"Static", kVis, {120, 220, 160, 236}, L"in"));
    EXPECT_EQ(Draw(w), (Lines{"R 10,10 200x200 h0", "T 10,10 'SysTreeView32' op0", "B 20,20 40x16 f0 'in'"}));
}

TEST(MdiClientDrawer, ChildrenAfterTheScrollBars) {
    WindowRecord mdi = Ctl(L"MDIClient", kVis | kH, {110, 210, 310, 410}, L"", {0, 0, 200, 184});
    WindowRecord doc = Ctl(L"Document", kVis, {120, 220, 220, 320});
    doc.children.push_back(Ctl(L"Edit", kVis, {125, 245, 215, 315}, L"hello"));
    mdi.children.push_back(doc);
    mdi.children.push_back(Ctl(L"Document", 0, {130, 230, 230, 330}));  // minimised away: hidden
    EXPECT_EQ(Draw(mdi), (Lines{"R 10,10 200x200 h0", "R 10,194 200x16 h0", "R 10,194 16x16 h0",
                                "R 194,194 16x16 h0", "P (22,199) (22,209) (14,204) (22,199)",
                                "P (198,199) (206,204) (198,209) (198,199)", "R 20,20 100x100 h0",
                                "T 20,20 'Document' op0", "R 25,45 90x70 h0", "B 25,45 90x70 f4 'hello'"}));
}

TEST(GroupFrameDrawer, FrameInAFrameDrawsEachCaptionBeforeItsControls) {
    WindowRecord outer = Ctl(L"Frame", kVis, {110, 210, 410, 410}, L"Outer");
    WindowRecord inner = Ctl(L"Button", kVis | 0x7, {120, 240, 400, 400}, L"Inner");
    inner.children.push_back(Ctl(L"Button", kVis | 0x2, {130, 260, 230, 276}, L"Deep"));
    outer.children.push_back(Ctl(L"CommandButton", kVis, {300, 215, 380, 235}, L"Go"));
    outer.children.push_back(inner);
    outer.children.push_back(Ctl(L"Static", kVis, {130, 380, 200, 396}, L"Last"));
    EXPECT_EQ(Draw(outer), (Lines{"R 10,10 300x200 h0", "T 26,2 'Outer' op-1 face=''", "R 200,15 80x20 h0",
                                  "B 200,15 80x20 f5 'Go'", "R 20,40 280x160 h0", "T 36,32 'Inner' op-1 face=''",
                                  "R 30,60 16x16 h0", "B 46,60 100x16 f4 'Deep'", "B 30,180 70x16 f0 'Last'"}));
}

TEST(DrawControl, HiddenControlsAndEverythingInsideAreSkipped) {
    WindowRecord frame = Ctl(L"Frame", 0, {110, 210, 410, 410}, L"Hidden");
    frame.children.push_back(Ctl(L"CommandButton", kVis, {120, 220, 200, 240}, L"Visible child"));
    EXPECT_EQ(Draw(frame, DrawOutcome::Hidden), Lines{});
    // A visible frame skips only its hidden child.
    frame.style = kVis;
    frame.children.push_back(Ctl(L"Static", 0, {130, 230, 150, 250}, L"gone"));
    EXPECT_EQ(Draw(frame), (Lines{"R 10,10 300x200 h0", "T 26,2 'Hidden' op-1 face=''", "R 20,20 80x20 h0",
                                  "B 20,20 80x20 f5 'Visible child'"}));
}

TEST(LayOutWindow, FrameThenSiblingsInEnumerationOrder) {
    TargetRecord t;
    t.window.style = 0;  // no caption: just the outer box
    t.window.window = {100, 200, 500, 500};
    t.metrics = kCtx.metrics;
    // Overlapping siblings: the later one is painted over the earlier.
    t.window.children.push_back(Ctl(L"Static", kVis | style_bits::kBorder, {110, 210, 210, 260}, L"under"));
    t.window.children.push_back(Ctl(L"CommandButton", kVis, {150, 230, 250, 280}, L"over"));
    t.window.children.push_back(Ctl(L"Edit", 0, {150, 230, 250, 280}, L"hidden"));
    PartList list;
    auto size = LayOutWindow(t, list);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 400);
    EXPECT_EQ(size->height, 300);
    EXPECT_EQ(Describe(list), (Lines{"R 0,0 400x300 h0", "R 10,10 100x50 h0", "B 10,10 100x50 f0 'under'",
                                     "R 50,30 100x50 h0", "B 50,30 100x50 f5 'over'"}));
    // A window without children is still drawn.
    t.window.children.clear();
    list = {};
    ASSERT_TRUE(LayOutWindow(t, list));
    EXPECT_EQ(Describe(list), Lines{"R 0,0 400x300 h0"});
}

TEST(DrawControl, DifferencesBeyond32BitsAbandonTheWhole) {
    PartList list;
    WindowRecord list32 = Ctl(L"ListBox", kVis | kV, {110, 220, 130, 230}, L"", {INT32_MIN, 0, INT32_MAX, 10});
    EXPECT_FALSE(DrawStyleScrollBars(kCtx, list32, list));
    EXPECT_EQ(DrawControl(kCtx, list32, list), DrawOutcome::Abandoned);
    // A child inside a frame.
    WindowRecord frame = Ctl(L"Frame", kVis, {110, 210, 410, 410}, L"F");
    frame.children.push_back(Ctl(L"Static", kVis, {INT32_MIN, 220, INT32_MAX, 240}, L"huge"));
    EXPECT_EQ(DrawControl(kCtx, frame, list), DrawOutcome::Abandoned);
    // A child of the window itself.
    TargetRecord t;
    t.window.window = {-100, 0, 100, 100};
    t.window.children.push_back(Ctl(L"Static", kVis, {0, 0, INT32_MAX, 10}, L""));
    EXPECT_FALSE(LayOutWindow(t, list));
}

}  // namespace
}  // namespace plumbo
