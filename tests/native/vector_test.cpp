// The vector re-drawing without a window: class names, the part list, the window's frame and
// the control drawers, checked through a one-line-per-part reading of the list. The common
// controls are drawn from what they reported: each item's outline and text where the control
// placed it, '&' shown as the control shows it. For the item lists only what the texts alone do
// not tell (the in-process tests check every text's place): the tabs on their body, the selected
// one raised; the tree's lines and expand boxes, and tree texts that show "&" as it is.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "vector/draw/class_names.h"
#include "vector/draw/control_drawers.h"
#include "vector/draw/list_drawers.h"
#include "vector/read/record_bounds.h"
#include "vector/read/toolkit_names.h"
#include "describe_parts.h"
#include "rows.h"

namespace plumbo {
namespace {

constexpr uint32_t kVis = style_bits::kVisible, kH = style_bits::kHScroll, kV = style_bits::kVScroll;

// The target's outer top-left is (100, 200); controls are given in screen coordinates.
// Thumb metrics differ on purpose so a swapped metric shows: S = 16 across, T = 20 down.
const DrawContext kCtx{{100, 200, 700, 700}, {19, 18, 18, 16, 20}};

WindowRecord Ctl(std::wstring cls, uint32_t style, Rect32 r, std::wstring text = L"", Rect32 client = {},
                 std::vector<WindowRecord> children = {}) {
    return {std::move(cls), style, r, client, std::move(text), std::move(children)};
}

Lines Draw(const WindowRecord& w, DrawOutcome expected = DrawOutcome::Drawn) {
    PartList list;
    EXPECT_EQ(DrawControl(kCtx, w, list), expected) << w.className;
    return Describe(list);
}

// A common control with its items and what else it reported.
Lines Draw(std::wstring cls, uint32_t style, Rect32 r, std::vector<ItemRecord> items, ControlContent content = {}) {
    content.items = std::move(items);
    return Draw(WindowRecord{.className = std::move(cls), .style = kVis | style, .window = r,
                             .content = std::move(content)});
}

// ---- Class names ----

TEST(ClassNames, CutWithoutSplittingAPairTrimmedStrippedOfThunderAndTheVersionTagAndARecordHoldsWhatItsDrawerShows) {
    const std::wstring a100(100, L'A'), pair = {static_cast<wchar_t>(0xD842), static_cast<wchar_t>(0xDFB7)};
    const struct { std::wstring raw, want; } rows[] = {
        {L"ThunderRT6CommandButton", L"CommandButton"}, {L"RT6Frame", L"Frame"}, {L"RTxListBox", L"ListBox"},
        {L"ThunderRT", L""}, {L"rt6ListBox", L"rt6ListBox"}, {L"RTThunderEdit", L"hunderEdit"},
        {L"ThunderThunderEdit", L"ThunderEdit"}, {L"  ThunderRT6TextBox  ", L"TextBox"},
        {std::wstring(L"Foo\0Bar", 7), L"Foo"}, {L"Thunder" + a100, std::wstring(72, L'A')},
        {L"   " + a100, std::wstring(76, L'A')},  // cut to 79 units, then trimmed
        // U+20BB7 straddling the cut is left out whole; ending at the cut, it stays.
        {std::wstring(78, L'a') + pair, std::wstring(78, L'a')},
        {std::wstring(77, L'a') + pair + L'b', std::wstring(77, L'a') + pair},
    };
    ExpectRows(rows, [](auto& c) { return NormaliseClassName(c.raw); });
    // Names match exactly and case-sensitively.
    for (const wchar_t* name : {L"edit", L"Static ", L""}) EXPECT_EQ(LookupDrawer(name), DrawerKind::Unlisted) << name;
    // A field is read from the system only when the drawing shows it: leaving out a needed
    // field changes the drawing, leaving out any other changes nothing.
    const std::pair<const wchar_t*, uint32_t> needs[] = {
        {L"Edit", kH | kV},  {L"Edit", 0},        {L"ListBox", kV}, {L"ListBox", 0},  {L"MDIClient", kH},
        {L"Frame", 0},       {L"Button", 7},      {L"Button", 2},   {L"Button", 4},   {L"ComboBox", kH | kV},
        {L"Static", 0},      {L"CommandButton", 0}, {L"ToolbarWindow32", kH | kV}, {L"SysTreeView32", kH | kV},
        {L"ComboBox", 0x3},  {L"Static", 0xE},     {L"Button", 9},   {L"Button", 0xB}, {L"Button", 0xC},
        {L"StatusBar20WndClass", 0}, {L"(panel)", 0}, {L"OptionButton", 0}, {L"(check list)", kV},
    };
    for (const auto& [name, style] : needs) {
        WindowRecord full = Ctl(name, kVis | style, {110, 220, 310, 320}, L"text", {0, 0, 183, 83}, {Ctl(L"Static", kVis, {120, 230, 160, 246}, L"child")});
        std::tie(full.hasDescendant, full.firstDescendantText, full.check) = std::tuple(true, L"typed", kButtonChecked);
        // Whether the drawing changes when the record leaves the field out.
        auto shows = [&, d = Draw(full)](auto field) { WindowRecord w = full; w.*field = {}; return Draw(w) != d; };
        const RecordNeeds n = NeedsFor(name, kVis | style);
        EXPECT_EQ((std::array{shows(&WindowRecord::text), shows(&WindowRecord::client), shows(&WindowRecord::children),
                              shows(&WindowRecord::hasDescendant), shows(&WindowRecord::check)}),
                  (std::array{n.text, n.clientRect, n.children, n.firstDescendantText, n.checkState}))
            << name << " " << std::hex << style;
    }
}

// Which class a control is drawn as beyond its exact name: Windows' name for its base class
// first, then the toolkits' naming habits (a user32 family confirmed by the answer to
// WM_GETDLGCODE: -1 for none), then the answer alone; and the answer is asked only there.
TEST(ClassNames, AToolkitsControlIsDrawnAsItsBaseClassByWindowsNameItsOwnNameOrItsDialogCode) {
    const std::wstring atl = L"ATL:0040C0A8", fake = L"TFlatButton";
    auto f = [](std::wstring base) { return L"WindowsForms10." + base + L".app.0.2bf8098_r6_ad1"; };
    const std::wstring button = L"Button", edit = L"Edit", sv = L"SysListView32";
    const struct { std::wstring own, real; int64_t code; std::pair<std::wstring, bool> want; } rows[] = {
        {button, button, -1, {button, false}}, {L"OptionButton", button, -1, {L"OptionButton", false}},
        {fake, button, 0, {button, false}}, {atl, L"ListBox", 0, {L"ListBox", false}},
        {fake, L"", 0x2010, {button, true}}, {fake, L"", 0x40, {button, true}}, {fake, L"", 0, {fake, true}},
        {L"TButton", L"", 0x81, {L"TButton", true}},
        {L"TAppStaticText", L"", 0x100, {L"Static", true}}, {L"TAppStaticText", L"", 0x89, {L"TAppStaticText", true}},
        {L"TMemo", L"", 0x89, {edit, true}}, {L"TMaskEdit", L"", -1, {L"TMaskEdit", true}},
        {L"TAppCheckListBox", L"", 0x81, {L"(check list)", true}}, {L"TAppCheckListBox", L"", 0x89, {L"TAppCheckListBox", true}},
        {L"TListBox", L"", 0x81, {L"ListBox", true}}, {L"TComboBox", L"", 0, {L"TComboBox", true}},
        {L"TRichEdit", L"", 0, {L"RichEdit20W", false}}, {L"TStatusBar", L"", 0, {L"msctls_statusbar32", false}},
        {L"TListView", L"", 0, {sv, false}}, {L"TPageControl", L"", 0, {L"SysTabControl32", false}},
        {L"TAppPanel", L"", 0, {L"(panel)", false}}, {L"TGroupBox", L"", 0, {L"Frame", false}},
        {L"ListView20WndClass", L"", 0, {sv, false}}, {L"ProgressBar20WndClass", L"", 0, {L"msctls_progress32", false}},
        {f(L"BUTTON"), L"", 0x2000, {button, true}}, {f(L"EDIT"), L"", 0x89, {edit, true}},
        {f(L"SysListView32"), L"", 0, {sv, false}}, {f(L"STATIC"), L"", 0, {f(L"STATIC"), true}},
        {f(L"Window.8"), L"", 0, {f(L"Window.8"), true}}, {L"WindowsForms10", L"", 0, {L"WindowsForms10", true}},
        {L"TButtonBar", L"", 0, {L"TButtonBar", true}}, {L"Tab", L"", 0x8, {edit, true}},
        // A name that suggests nothing: a push button, a radio button, a static or an edit by the answer alone.
        {atl, L"", 0x89, {edit, true}}, {atl, L"", 0x20, {button, true}}, {atl, L"", 0x10, {button, true}},
        {atl, L"", 0x40, {button, true}}, {L"TFlat_Button", L"", 0x20, {button, true}},
        {atl, L"", 0x100, {L"Static", true}}, {atl, L"", 0x2000, {atl, true}}, {atl, L"", 0x81, {atl, true}},
        {atl, L"", -1, {atl, true}}};
    ExpectRows(rows, [](auto& c) {
        bool asked = false;
        auto code = [&]() -> std::optional<uint32_t> {
            asked = true;
            return c.code < 0 ? std::nullopt : std::optional<uint32_t>(static_cast<uint32_t>(c.code));
        };
        return std::pair(DecideClass(c.own, c.real.empty() ? c.own : c.real, code), asked);
    });
}

// ---- The part list ----

// The part builders (lines, boxed and point texts, arrows, boxes) are checked through the
// drawers that use them.
TEST(PartList, KeepsTheCallOrderOutlinesOnlySolidOutlineOnlyRectanglesAndConvertsUnits) {
    PartList list;
    // A box with no fill is kept as its outline, in the box's pen; a thinner one at least 1 wide.
    for (Fill fill : {Fill::None, Fill::Solid, Fill::Horizontal})
        ASSERT_TRUE(AddPart(list, RectPart{10, 20, 30, 40, 2.5, 0x0000FF, fill, 0x00FF00}));
    ASSERT_TRUE(AddPart(list, Box(1, 2, 3, 4, Fill::None)));
    EXPECT_EQ(Describe(list), (Lines{L"P (10,20) (40,20) (40,60) (10,60) (10,20) pen=2.5/255",
                                     L"R 10,20 30x40 solid pen=2.5/255 fill=65280",
                                     L"R 10,20 30x40 hatched pen=2.5/255 fill=65280", L"P (1,2) (4,2) (4,6) (1,6) (1,2)"}));
    // 100 px at 15 twips = 1500 twips = 2645.83 HIMETRIC, 100 HIMETRIC = 56.69 twips = 3.78 px;
    // a resolution of 0 gives nothing (-1 here). In thousandths.
    const struct { ListUnit from, to; double tpp; long want; } rows[] = {
        {ListUnit::Pixels, ListUnit::Himetric, 15, 2645833}, {ListUnit::Himetric, ListUnit::Pixels, 15, 3780},
        {ListUnit::Pixels, ListUnit::Himetric, 0, -1000}};
    ExpectRows(rows, [](auto& c) { return std::lround(1000 * ScaleUnits(100, c.from, c.to, c.tpp).value_or(-1)); });
}

// ---- The window's frame ----

// 401 x 300 at (50, 60); caption 19, buttons 16 x 18, so m = 0.5. Buttons not square, so a
// width taken for a height shows.
TargetRecord Window(uint32_t style, std::vector<MenuItemRecord> menu = {}, FrameRecord frame = {}) {
    return {Ctl(L"", style, {50, 60, 451, 360}, L"Title"), std::move(menu), {19, 16, 18, 16, 16}, frame};
}

Lines Frame(const TargetRecord& t) {
    PartList list;
    // The viewer's size, and the list's header.
    const auto [width, height] = DrawWindowFrame(t, list).value_or(WindowSize{-1, -1});
    EXPECT_EQ(std::tuple(width, height, list.unit, list.width, list.height), std::tuple(401, 300, ListUnit::Pixels, 401.0, 300.0));
    return Describe(list);
}

TEST(DrawWindowFrame, CaptionBarButtonsAndMenuCaptionsAndTheFrameWhereTheClientAreaLeavesIt) {
    constexpr uint32_t kCap = style_bits::kCaption, kSys = style_bits::kSysMenu, kMax = style_bits::kMaximizeBox, kDis = style_bits::kDisabled;
    // The close box at 401 - 16 - 0.5 = 384.5, its cross from 384 (to even; half-up gives 385);
    // the others (X - m) further left each, overlapping by 2m as they always have: 370 with a
    // half-size box, 354.5 with a low bar from 354.
    EXPECT_EQ(Frame(Window(kCap | kSys | kMax | style_bits::kMinimizeBox)),
              (Lines{L"R 0,0 401x300 hatched opaque", L"R 0,0 401x19 caption", L"B 19,0 382x19 left 'Title'", L"R 384.5,0.5 16x18 caption",
                     L"L (388,4.5)-(396,13.5)", L"L (396,4.5)-(388,13.5)", L"R 370,0.5 16x18 caption", L"R 374,4.5 8x9 caption",
                     L"R 354.5,0.5 16x18 caption", L"L (358,13.5)-(366,13.5)"}));
    // The buttons after the close box, by the style (and extended style) Windows draws them for:
    // minimize and maximize together when either is asked for, the missing one greyed (grey
    // 0x808080 = 8421504); context help in the middle where neither is; WS_DISABLED adds nothing;
    // without a system menu none, and without a caption bit no caption at all.
    constexpr uint32_t kMin = style_bits::kMinimizeBox, kHelp = style_bits::kContextHelp;
    const std::wstring mid = L"R 370,0.5 16x18 caption", maxOn = L"R 374,4.5 8x9 caption";
    const std::wstring low = L"R 354.5,0.5 16x18 caption", minOn = L"L (358,13.5)-(366,13.5)";
    const std::wstring maxOff = maxOn + L" pen=0/8421504 fill=16777215", minOff = minOn + L" pen=1/8421504";
    const struct { uint32_t style, ex; Lines want; } buttons[] = {
        {kCap | kSys, 0, {}}, {kCap | kSys | kDis, 0, {}}, {kCap | kSys | kMin, 0, {mid, maxOff, low, minOn}},
        {kCap | kSys | kMax, 0, {mid, maxOn, low, minOff}},
        {kCap | kSys | kMin | kMax | kDis, 0, {mid, maxOn, low, minOn}},
        {kCap | kSys, kHelp, {mid, L"B 370,0 16x18 centre '?'"}},
        {kCap | kSys | kMax, kHelp, {mid, maxOn, low, minOff}},
        {style_bits::kBorder | kSys | kMin, 0, {mid, maxOff, low, minOn}}, {0x00400000 | kSys, 0, {}},
        {kCap | kMin | kMax, 0, {L"(none)"}}, {kSys | kMax, 0, {L"no caption"}}};
    ExpectRows(buttons, [](auto& c) {
        const Lines all = Frame(Window(c.style, {}, {{}, c.ex}));
        return all.size() < 6 ? Lines{all.size() == 3 ? L"(none)" : L"no caption"} : Lines(all.begin() + 6, all.end());
    });
    // A tool window: only the close box, in its smaller caption (15 high, buttons 12 x 13: m = 1).
    const TargetRecord tool = Window(kCap | kSys | kMin | kMax, {},
                                     {{}, style_bits::kToolWindow | kHelp, 15, 12, 13});
    EXPECT_EQ(Frame(tool), (Lines{L"R 0,0 401x300 hatched opaque", L"R 0,0 401x15 caption", L"B 15,0 386x15 left 'Title'", L"R 388,1 12x13 caption",
                                  L"L (391,4.25)-(397,10.75)", L"L (397,4.25)-(391,10.75)"}));
    // Menu captions where the system reports them, with or without a caption bar.
    const std::vector<MenuItemRecord> items = {{{54, 82, 90, 101}, L"ファイル(&F)"}, {{90, 82, 130, 101}, L"&Edit"}};
    EXPECT_EQ(Frame(Window(0, items)), (Lines{L"R 0,0 401x300 hatched opaque", L"B 4,22 36x19 left 'ファイル(&F)'", L"B 40,22 40x19 left '&Edit'"}));
    EXPECT_EQ(Frame(Window(kCap | kSys, items)).back(), L"B 40,22 40x19 left '&Edit'");
    // The frame from where Windows put the client area: its edge, and the caption bar (19 high)
    // right above the menu bar or the client area, between the thinner side's borders. Too
    // little room above for it: the window paints its own title bar.
    const Lines thick{L"R 4,23 393x273 hatched opaque", L"R 4,4 393x19 caption", L"B 23,4 374x19 left 'Title'",
                      L"R 380.5,4.5 16x18 caption"};
    const struct { Rect32 client; std::vector<MenuItemRecord> menu; Lines want; } rows[] = {
        {{54, 83, 447, 356}, {}, thick},
        // A vertical scroll bar is outside the client area, on the right: the caption is not cut.
        {{54, 83, 430, 356}, {}, {L"R 4,23 376x273 hatched opaque", thick[1], thick[2], thick[3]}},
        // A menu bar between caption and client area.
        {{54, 102, 447, 356}, {{{54, 83, 90, 102}, L"F"}},
         {L"R 4,42 393x254 hatched opaque", thick[1], thick[2], thick[3]}},
        // Borders of one pixel, the client area's top 1 below the window's: its own title bar.
        {{51, 61, 450, 359}, {}, {L"R 1,1 399x298 hatched opaque"}},
        // The client area is the whole window: no edge and no caption.
        {{50, 60, 451, 360}, {}, {}},
    };
    ExpectRows(rows, [](auto& row) {
        const Lines all = Frame(Window(kCap | kSys, row.menu, {row.client}));
        return Lines(all.begin() + 1, all.begin() + std::min<size_t>(all.size(), 5));
    });
}

// ---- The controls ----

TEST(DrawControl, EachClassDrawsItsLookAlikeAndOlderToolBarsGetGenericSquares) {
    const Rect32 r{120, 210, 200, 235};  // x 20, y 10, 80 x 25
    const Lines push{L"R 20,10 80x25 hatched", L"B 20,10 80x25 centre 'OK'"};
    const struct { const wchar_t* name; uint32_t style; Rect32 rect; const wchar_t* text; Rect32 client; Lines want; }
        rows[] = {
            // x 10, y 20, 200 x 100; client 183 x 83: the horizontal bar under the client area
            // (track, buttons, arrows), then the vertical one right of it.
            {L"Edit", kH | kV | 0x4, {110, 220, 310, 320}, L"one\r\ntwo", {0, 0, 183, 83}, {L"R 10,20 200x100 hatched", L"B 10,20 200x100 left 'one\r\ntwo'", L"R 10,103 183x17 hatched", L"R 10,103 16x17 hatched", L"R 177,103 16x17 hatched", L"P (22,108) (22,118) (14,113) (22,108)", L"P (181,108) (189,113) (181,118) (181,108)", L"R 193,20 17x83 hatched", L"R 193,20 17x20 hatched", L"R 193,83 17x20 hatched", L"P (201,25) (205,35) (197,35) (201,25)", L"P (197,88) (205,88) (201,98) (197,88)"}},
            {L"CommandButton", 0, r, L"OK", {}, push},
            {L"CheckBox", 0, r, L"OK", {}, {L"R 20,10 25x25 hatched", L"B 45,10 55x25 left 'OK'"}},
            {L"OptionButton", 0, r, L"OK", {}, {L"C (32.5,22.5) r12.5", L"B 45,10 55x25 left 'OK'"}},
            {L"(panel)", 0, r, L"&Top", {}, {L"R 20,10 80x25 hatched", L"B 20,10 80x25 centre '&Top'"}},
            {L"(panel)", 0, r, L"", {}, {L"R 20,10 80x25 hatched"}},
            // The drop-down button is a 21-px square at the right end; a drop list shows its
            // selected item (its own text) up to the button.
            {L"ComboBox", 0x3, {120, 230, 270, 251}, L"selected", {}, {L"R 20,30 150x21 hatched", L"R 149,30 21x21 hatched", L"P (154.25,35.25) (164.75,35.25) (159.5,45.75) (154.25,35.25)", L"B 20,30 129x21 left 'selected'"}},
            {L"HScrollBar", 0, {110, 250, 310, 266}, L"", {}, {L"R 10,50 200x16 hatched", L"R 10,50 16x16 hatched", L"R 194,50 16x16 hatched", L"P (22,54) (22,62) (14,58) (22,54)", L"P (198,54) (206,58) (198,62) (198,54)"}},
            {L"VScrollBar", 0, {400, 220, 416, 370}, L"", {}, {L"R 300,20 16x150 hatched", L"R 300,20 16x20 hatched", L"R 300,150 16x20 hatched", L"P (310,25) (315,35) (305,35) (310,25)", L"P (305,155) (315,155) (310,165) (305,155)"}},
            // A static wraps at words (0x10); centred (1) or not; simple (0xB) does not wrap; an
            // icon (3) shows no text.
            {L"Static", 0, r, L"Name:", {}, {L"B 20,10 80x25 left wrap 'Name:'"}},
            {L"Static", style_bits::kBorder | 1, r, L"Name:", {}, {L"R 20,10 80x25 hatched", L"B 20,10 80x25 centre wrap 'Name:'"}},
            {L"Static", 0xB, r, L"Name:", {}, {L"B 20,10 80x25 left 'Name:'"}},
            {L"Static", 2, r, L"Name:", {}, {L"B 20,10 80x25 right wrap 'Name:'"}},
            {L"Static", 3, r, L"Name:", {}, {}},
            {L"PictureBoxDC", kH | kV, r, L"unused", {0, 0, 20, 20}, {L"R 20,10 80x25 hatched"}},
        };
    ExpectRows(rows, [](auto& c) { return Draw(Ctl(c.name, kVis | c.style, c.rect, c.text, c.client)); });
    // A standard button by its type and check state: the square or circle as tall as the control,
    // a tick or a dot when checked, a filled square in the third state; a split button's arrow in
    // a square at its right end; an owner-drawn one only its outline.
    const Lines group{push[0], L"T 36,2 'OK' op1 face='' size=9"};
    const std::wstring box = L"R 20,10 25x25 hatched", circle = L"C (32.5,22.5) r12.5", tick = L"P (25,22.5) (30,27.5) (40,17.5)", third = L"R 26.25,16.25 12.5x12.5 solid pen=0/0 fill=0",
                       dot = L"C (32.5,22.5) r5", caption = L"B 45,10 55x25 left 'OK'";
    const struct { uint32_t type, check; Lines want; } buttons[] = {
        {0x0, 0, push}, {0x1, 0, push}, {0x8, 0, push}, {0xA, 0, push}, {0xE, 0, push}, {0xF, 0, push},
        {0x2, 0, {box, caption}}, {0x3, 1, {box, tick, caption}}, {0x5, 2, {box, third, caption}},
        {0x6, 1, {box, tick, caption}}, {0x6, 2, {box, third, caption}},
        {0x4, 0, {circle, caption}}, {0x4, 1, {circle, dot, caption}}, {0x9, 1, {circle, dot, caption}},
        {0x24, 0, {circle, caption}}, {0x7, 0, group}, {0xB, 0, {push[0]}},
        {0xC, 0, {L"R 20,10 80x25 hatched", L"L (75,10)-(75,35)", L"P (81.25,16.25) (93.75,16.25) (87.5,28.75) (81.25,16.25)", L"B 20,10 55x25 centre 'OK'"}},
    };
    ExpectRows(buttons, [&](auto& c) {
        return Draw(WindowRecord{.className = L"Button", .style = kVis | c.type, .window = r, .text = L"OK",
                                 .check = c.check});
    });
    // A class no drawer knows, drawn from its accessibility tree by role where no child window of
    // its own covers the element: not the invisible, off-screen, empty or wholly outside ones.
    WindowRecord canvas = Ctl(L"Canvas", kVis, {110, 210, 410, 410}, L"", {}, {Ctl(L"Edit", kVis, {300, 300, 400, 400}, L"real")});
    const Rect32 in{120, 220, 200, 240};
    for (auto [role, state, rect] : {std::tuple{0x2Bu, 0u, in}, {0x29u, 0x8000u, in}, {0x29u, 0x10000u, in}, {0x29u, 0u, Rect32{120, 220, 120, 240}},
                                     {0x29u, 0u, Rect32{0, 0, 100, 100}}, {0x29u, 0u, Rect32{310, 310, 390, 390}}, {0x29u, 0u, Rect32{290, 310, 390, 330}}})
        canvas.accessible.push_back({rect, L"e" + std::to_wstring(canvas.accessible.size()), L"", role, state, 0});
    const Lines drawn = Draw(canvas);
    EXPECT_EQ(Lines(drawn.begin() + 2, drawn.end()), (Lines{L"R 200,100 100x100 hatched", L"B 200,100 100x100 left 'real'", L"R 20,20 80x20 hatched",
                                                            L"B 20,20 80x20 centre 'e0'", L"B 190,110 100x20 left wrap 'e6'"}));
    // A dialog inside the window is its controls alone, without the box and class name of a class
    // no drawer knows.
    EXPECT_EQ(Draw(Ctl(L"#32770", kVis, {110, 210, 410, 410}, L"Page", {}, {Ctl(L"Static", kVis, {120, 220, 200, 236}, L"On it")})),
              Lines{L"B 20,20 80x16 left wrap 'On it'"});
    // A combo box that is not a drop list shows the text of its edit field, '&' as it is.
    WindowRecord combo = Ctl(L"ComboBox", kVis | 0x2, {120, 230, 270, 251});
    std::tie(combo.hasDescendant, combo.firstDescendantText) = std::tuple(true, L"A&B");
    EXPECT_EQ(Draw(combo).back(), L"B 20,30 129x21 left 'A&&B'");
    // The older tool bars' squares b = round(0.8 h) wide, n + 1 of them with n = round(0.7 (w div b)), at y + 0.1 b,
    // under a rule 2 px above the bar: the count of parts, the first and the last.
    const struct { Rect32 rect; std::tuple<size_t, std::wstring, std::wstring> want; } bars[] = {
        {{100, 240, 400, 270}, {10, L"L (2,38)-(298,38)", L"R 192,42.4 24x24 hatched"}},  // 300 div 24 = 12: n 8
        {{110, 200, 230, 210}, {12, L"L (12,-2)-(128,-2)", L"R 90,0.8 8x8 hatched"}},     // 0.7 x 15 = 10.5: n 10
        {{110, 200, 237, 210}, {12, L"L (12,-2)-(135,-2)", L"R 90,0.8 8x8 hatched"}},     // 127 div 8 = 15 too
        {{100, 200, 200, 200}, {1, L"L (2,-2)-(98,-2)", L"L (2,-2)-(98,-2)"}},       // no height: b 0, only the rule
        {{100, 200, 120, 230}, {2, L"L (2,-2)-(18,-2)", L"R 0,2.4 24x24 hatched"}},       // narrower than a square: n 0
        {{100, 200, 32867, 201}, {4096, L"L (2,-2)-(32765,-2)", L"R 4094,0.1 1x1 hatched"}},  // b 1, n 22,937: cut at 4,096 parts
        // 2 px above -2^31
        {{100, INT32_MIN + 200, 200, INT32_MIN + 200},
         {1, L"L (2,-2.14748e+09)-(98,-2.14748e+09)", L"L (2,-2.14748e+09)-(98,-2.14748e+09)"}},
    };
    ExpectRows(bars, [](auto& c) {
        const Lines parts = Draw(Ctl(L"Toolbar20WndClass", kVis, c.rect));
        return std::tuple(parts.size(), parts.front(), parts.back());
    });
}

TEST(DrawControl, ChildrenFollowTheirContainerInOrderHiddenOnesAreSkippedAndDifferencesBeyond32BitsAbandonTheWhole) {
    // The MDI client's children come after its box and scroll bar; a minimised document is
    // hidden. An unlisted class is a box labelled with the class, then its children.
    const Lines mdi = Draw(Ctl(L"MDIClient", kVis | kH, {110, 210, 310, 410}, L"", {0, 0, 200, 184},
                               {Ctl(L"Document", kVis, {120, 220, 220, 320}, L"", {}, {Ctl(L"Edit", kVis, {125, 245, 215, 315}, L"hello")}),
                                Ctl(L"Document", 0, {130, 230, 230, 330})}));
    EXPECT_EQ(Lines(mdi.begin() + 6, mdi.end()), (Lines{L"R 20,20 100x100 hatched", L"T 20,20 'Document' op0", L"R 25,45 90x70 hatched", L"B 25,45 90x70 left 'hello'"}));
    // A frame in a frame draws each caption before its controls; a hidden frame draws nothing.
    WindowRecord outer = Ctl(L"Frame", kVis, {110, 210, 410, 410}, L"Outer", {},
                             {Ctl(L"CommandButton", kVis, {300, 215, 380, 235}, L"Go"),
                              Ctl(L"Button", kVis | 0x7, {120, 240, 400, 400}, L"Inner", {}, {Ctl(L"Button", kVis | 0x2, {130, 260, 230, 276}, L"Deep")}),
                              Ctl(L"Static", kVis, {130, 380, 200, 396}, L"Last")});
    // A caption takes the face last named before it: none for the first, the button's for the next.
    EXPECT_EQ(Draw(outer), (Lines{L"R 10,10 300x200 hatched", L"T 26,2 'Outer' op1 face='' size=9", L"R 200,15 80x20 hatched",
                                  L"B 200,15 80x20 centre 'Go'", L"R 20,40 280x160 hatched", L"T 36,32 'Inner' op1",
                                  L"R 30,60 16x16 hatched", L"B 46,60 84x16 left 'Deep'", L"B 30,180 70x16 left wrap 'Last'"}));
    outer.style = 0;
    EXPECT_EQ(Draw(outer, DrawOutcome::Hidden), Lines{});
    // The whole window: its frame, then its controls placed from its own top-left.
    PartList list;
    const auto [width, height] = LayOutWindow({Ctl(L"", 0, {100, 200, 500, 500}, L"", {}, {Ctl(L"CommandButton", kVis, {150, 230, 250, 280}, L"over")}), {}, {}}, list).value_or(WindowSize{-1, -1});
    EXPECT_EQ(std::pair(width, height), std::pair(400, 300));
    EXPECT_EQ(Describe(list), (Lines{L"R 0,0 400x300 hatched opaque", L"R 50,30 100x50 hatched", L"B 50,30 100x50 centre 'over'"}));
    // Controls left of or above the target (negative offsets) are fine. A client area, a child
    // or a menu item too far from its window for 32 bits drops the whole re-drawing.
    const auto [x, y, w, h, right, bottom] = PlaceOf({100, 200, 700, 700}, {90, 150, 95, 160}).value_or(ControlPlace{});
    EXPECT_EQ(std::tuple(x, y, w, h, right, bottom), std::tuple(-10, -50, 5, 10, -5, -40));
    // Draw checks that each of these is given up.
    Draw(Ctl(L"ListBox", kVis | kV, {110, 220, 130, 230}, L"", {INT32_MIN, 0, INT32_MAX, 10}), DrawOutcome::Abandoned);
    Draw(Ctl(L"Frame", kVis, {110, 210, 410, 410}, L"F", {}, {Ctl(L"Static", kVis, {INT32_MIN, 220, INT32_MAX, 240})}),
         DrawOutcome::Abandoned);
    EXPECT_FALSE(LayOutWindow({Ctl(L"", 0, {-100, 0, 100, 100}, L"", {}, {Ctl(L"Static", kVis, {0, 0, INT32_MAX, 10})}),
                               {}, {}}, list));
    EXPECT_FALSE(DrawWindowFrame({Ctl(L"", 0, {INT32_MIN, 0, INT32_MAX, 100}), {}, {}}, list));
    // A menu item's left minus the window's left.
    EXPECT_FALSE(DrawWindowFrame({Ctl(L"", 0, {-10, 0, 100, 100}), {{{INT32_MAX, 82, INT32_MAX, 101}, L"far"}}, {}}, list));
}

// Another program's numbers held to its windows before any drawer sees them: rectangles clamped,
// items wholly outside dropped (empty ones kept), texts cut at 1,023 units, a pair never split.
TEST(RecordBounds, RectanglesStayInTheirWindowsAndTextsNoLongerThanAWrappedWindowText) {
    TargetRecord t{Ctl(L"", 0, {100, 200, 700, 700}, L"", {}, {Ctl(L"SysTabControl32", kVis, {110, 210, 310, 410})}),
                   {{{650, 100, 800, 240}, L"far"}, {{800, 210, 900, 230}, L"gone"}}, {}};
    WindowRecord& tab = t.window.children[0];
    tab.content.items = {{{300, 210, 400, 230}, std::wstring(1022, L'a') + L"\xD83D\xDE00"},
                         {{320, 210, 400, 230}, L"out"},
                         {{150, 220, 150, 240}, L"empty"}};
    tab.accessible = {{{INT32_MIN, 0, INT32_MAX, INT32_MAX}, std::wstring(160000, L'n'), L"v"}};
    BoundTargetRecord(t);
    const auto r = [](const Rect32& x) { return std::tuple(x.left, x.top, x.right, x.bottom); };
    EXPECT_EQ(std::tuple(t.menuItems.size(), r(t.menuItems.at(0).rect)), std::tuple(size_t{1}, std::tuple(650, 200, 700, 240)));
    EXPECT_EQ(std::tuple(tab.content.items.size(), r(tab.content.items.at(0).rect)),
              std::tuple(size_t{2}, std::tuple(300, 210, 310, 230)));
    EXPECT_EQ(std::tuple(tab.content.items[0].text.size(), tab.content.items.at(1).text), std::tuple(size_t{1022}, L"empty"));
    EXPECT_EQ(std::tuple(r(tab.accessible[0].rect), tab.accessible[0].name.size()),
              std::tuple(std::tuple(110, 210, 310, 410), size_t{1023}));
}

// ---- The common controls ----

TEST(BarDrawers, EachItemIsOutlinedAndCaptionedWhereItsControlPutIt) {
    const Rect32 bar{100, 500, 400, 520};  // x 0, y 300, 300 x 20
    const struct { std::wstring cls; uint32_t style; std::vector<ItemRecord> items; ControlContent content; Lines want; } rows[] = {
        // A status bar shows '&' as it is (doubled for the player) and its tabs only align.
        {L"msctls_statusbar32", 0, {{{102, 502, 200, 518}, L"\tA&B"}, {{202, 502, 398, 518}, L""}}, {},
         {L"R 0,300 300x20 hatched", L"R 2,302 98x16 hatched", L"B 2,302 98x16 left 'A&&B'", L"R 102,302 196x16 hatched"}},
        // A tool bar takes '&' for a mnemonic; a separator is a line down its middle; the
        // divider above it goes with CCS_NODIVIDER (0x40).
        {L"ToolbarWindow32", 0, {{{100, 500, 150, 520}, L"&Open"}, {{150, 500, 158, 520}, L"", item_flags::kSeparator}}, {},
         {L"L (2,298)-(298,298)", L"R 0,300 50x20 hatched", L"B 0,300 50x20 centre '&Open'", L"L (54,300)-(54,320)"}},
        {L"ToolbarWindow32", 0x40, {{{100, 500, 150, 520}, L"Go"}}, {}, {L"R 0,300 50x20 hatched", L"B 0,300 50x20 centre 'Go'"}},
        // 40 of 0..100 filled with a hatch, from the left or, standing, from the bottom.
        {L"msctls_progress32", 0, {}, {{}, {}, {}, {101, 501, 301, 519}, {}, 0, 100, 40},
         {L"R 0,300 300x20 hatched", L"R 1,301 80x18 diagonal pen=0/0 fill=0"}},
        {L"msctls_progress32", 0x4, {}, {{}, {}, {}, {101, 501, 301, 519}, {}, 0, 100, 50},
         {L"R 0,300 300x20 hatched", L"R 1,310 200x9 diagonal pen=0/0 fill=0"}},
        {L"msctls_trackbar32", 0, {}, {{}, {}, {{110, 515, 110, 518}}, {104, 508, 396, 512}, {150, 502, 160, 520}},
         {L"R 4,308 292x4 hatched", L"L (10,315)-(10,318)", L"R 50,302 10x18 hatched"}},
        {L"msctls_updown32", 0, {}, {}, {L"R 0,300 300x20 hatched", L"L (0,310)-(300,310)", L"P (75,307.5) (225,307.5) (150,302.5) (75,307.5)", L"P (75,312.5) (225,312.5) (150,317.5) (75,312.5)"}},
        // The selected item in the field the control gave, the drop button in the room after it.
        {L"ComboBoxEx32", 0, {{{102, 502, 380, 518}, L"日本語"}}, {},
         {L"R 0,300 300x20 hatched", L"B 2,302 278x16 left '日本語'", L"R 280,300 20x20 hatched", L"P (285,305) (295,305) (290,315) (285,305)"}},
        {L"SysLink", 0, {{{100, 500, 400, 520}, L"Read <a href=\"x\">the</a> <A>manual</A> & <b>"}}, {},
         {L"B 0,300 300x20 left wrap 'Read the manual && <b>'"}},
        // The lines a multi-line edit shows, each from its first character's place; an empty
        // one draws nothing.
        {L"Edit", 0x4, {{{104, 502, 390, 510}, L"one & two"}, {{104, 510, 390, 518}, L""}}, {},
         {L"R 0,300 300x20 hatched", L"B 4,302 286x8 left 'one && two'"}},
        // A list box's items as it shows them, '&' as it is; a check list's with a box as tall as the row.
        {L"ListBox", 0, {{{102, 502, 398, 518}, L"A&B"}}, {}, {L"R 0,300 300x20 hatched", L"B 2,302 296x16 left 'A&&B'"}},
        {L"(check list)", 0, {{{102, 502, 398, 518}, L"Item"}}, {},
         {L"R 0,300 300x20 hatched", L"R 3,303 14x14 hatched", L"B 18,302 280x16 left 'Item'"}},
        // A simple combo box: its edit field outlined, then the list's visible items.
        {L"ComboBox", 0x1, {{{101, 501, 399, 510}, L"A", item_flags::kSelected}, {{102, 511, 398, 519}, L"B&"}}, {},
         {L"R 0,300 300x20 hatched", L"R 1,301 298x9 hatched", L"B 1,301 298x9 left 'A'", L"B 2,311 296x8 left 'B&&'"}},
    };
    for (const auto& row : rows) EXPECT_EQ(Draw(row.cls, row.style, bar, row.items, row.content), row.want) << row.cls;
}

TEST(ListDrawers, TabsStandOnAnOutlinedBodyTheSelectedOneLastAndRaisedTheirCaptionsCentredWithTheirMnemonics) {
    // Tabs 20 high on top of a 300 x 90 control, or along its bottom.
    for (const auto& [style, top, want] : {
             std::tuple{0u, 212, Lines{L"P (10,32) (310,32) (310,100) (10,100) (10,32)", L"R 12,12 48x20 hatched", L"B 12,12 48x20 centre '&File'",
                                       L"R 120,12 80x20 hatched", L"B 120,12 80x20 centre 'Long'", L"R 58,10 64x22 hatched opaque", L"B 60,12 60x20 centre '短い'"}},
             {0x2u, 270, Lines{L"P (10,10) (310,10) (310,70) (10,70) (10,10)", L"R 12,70 48x20 hatched", L"B 12,70 48x20 centre '&File'",
                               L"R 120,70 80x20 hatched", L"B 120,70 80x20 centre 'Long'", L"R 58,70 64x22 hatched opaque", L"B 60,70 60x20 centre '短い'"}}}) {
        const auto tab = [&](int32_t l, int32_t r, const wchar_t* t, uint32_t f = 0) {
            return ItemRecord{{l, top, r, top + 20}, t, f, 0};
        };
        EXPECT_EQ(Draw(L"SysTabControl32", style, {110, 210, 410, 300},
                       {tab(112, 160, L"&File"), tab(160, 220, L"短い", item_flags::kSelected), tab(220, 300, L"Long")}),
                  want);
    }
}

// Depths of the rows on show, worked by hand: a line comes down to each row but the first, goes
// on to a later sibling, and an ancestor's line passes the rows between it and its next sibling.
TEST(ListDrawers, TreeRowsAreLinkedToTheirSiblingsAndAncestorsLinesPassBetween) {
    // Each row on show: its depth, a line from above, a line on below, the ancestors' lines passing.
    using Link = std::tuple<int32_t, bool, bool, std::vector<bool>>;
    const std::vector<Link> trees[] = {
        {{0, false, true, {}}, {1, true, true, {true}}, {1, true, false, {true}},
         {2, true, false, {true, false}}, {0, true, false, {}}},
        {{2, true, false, {true, true}}, {1, true, false, {true}}, {0, true, false, {}}},
        {{0, false, true, {}}, {0, true, false, {}}, {1, true, true, {false}},
         {2, true, false, {false, true}}, {1, true, false, {false}}}};
    for (const std::vector<Link>& tree : trees) {
        std::vector<ItemRecord> rows;
        for (const Link& row : tree) rows.push_back({{}, L"", 0, std::get<0>(row)});
        std::vector<Link> got;
        for (const TreeRowLinks& link : LinkTreeRows(rows))
            got.emplace_back(rows[got.size()].level, link.fromAbove, link.onBelow, link.passing);
        EXPECT_EQ(got, tree);
    }
}

// A tree with lines and buttons at the root: a root with children shows its expand box (a minus
// when open, a plus when closed) centred in its 20 px slot, each row a line from the slot's
// centre to the icon, and the child's line comes down from the root's row. Without the root
// style, a root row has neither.
TEST(ListDrawers, TreeItemsSitAtTheirIndentationWithExpandBoxesAndLines) {
    const std::vector<ItemRecord> items = {
        {{140, 210, 180, 230}, L"Root & more", item_flags::kHasChildren | item_flags::kExpanded, 0},
        {{160, 230, 200, 250}, L"子", item_flags::kHasChildren, 1}};
    const ControlContent slots{.marks = {{120, 210, 140, 230}, {140, 230, 160, 250}}};
    // The root row, then the child's.
    Lines root{L"R 10,5 190x195 hatched", L"B 42,10 38x20 left 'Root && more'", L"L (30,20)-(40,20)",
               L"R 25.5,15.5 9x9 hatched opaque", L"L (28,20)-(33,20)", L"B 62,30 38x20 left '子'",
               L"L (50,40)-(60,40)", L"L (50,30)-(50,40)", L"R 45.5,35.5 9x9 hatched opaque",
               L"L (48,40)-(53,40)", L"L (50,38)-(50,43)"};
    EXPECT_EQ(Draw(L"SysTreeView32", 0x1 | 0x2 | 0x4, {110, 205, 300, 400}, items, slots), root);
    root.erase(root.begin() + 2, root.begin() + 5);  // the root row's line and expand box
    EXPECT_EQ(Draw(L"SysTreeView32", 0x1 | 0x2, {110, 205, 300, 400}, items, slots), root);
}

}  // namespace
}  // namespace plumbo
