// The bars and small common controls drawn from what they reported: each item's outline and
// text where the control placed it, '&' shown as the control shows it.
#include <gtest/gtest.h>

#include "describe_parts.h"
#include "vector/bar_drawers.h"

namespace plumbo {
namespace {

constexpr uint32_t kVis = style_bits::kVisible;
// The target's outer top-left is (100, 200); everything is given in screen coordinates.
const DrawContext kCtx{{100, 200, 700, 700}, {19, 18, 18, 16, 20}};

Lines Draw(std::wstring cls, uint32_t style, Rect32 r, std::vector<ItemRecord> items, ControlContent content = {}) {
    WindowRecord w{std::move(cls), kVis | style, r, {}, L"", {}, false, L"", std::move(content)};
    w.content.items = std::move(items);
    PartList list;
    EXPECT_EQ(DrawControl(kCtx, w, list), DrawOutcome::Drawn);
    return Describe(list);
}

TEST(BarDrawers, EachItemIsOutlinedAndCaptionedWhereItsControlPutIt) {
    const Rect32 bar{100, 500, 400, 520};  // x 0, y 300, 300 x 20
    const struct { std::wstring cls; uint32_t style; std::vector<ItemRecord> items; ControlContent content; Lines want; } rows[] = {
        // A status bar shows '&' as it is (doubled for the player) and its tabs only align.
        {L"msctls_statusbar32", 0, {{{102, 502, 200, 518}, L"\tA&B"}, {{202, 502, 398, 518}, L""}}, {},
         {L"R 0,300 300x20 h0", L"R 2,302 98x16 h0", L"B 2,302 98x16 f4 'A&&B'", L"R 102,302 196x16 h0"}},
        // A tool bar takes '&' for a mnemonic; a separator is a line down its middle; the
        // divider above it goes with CCS_NODIVIDER (0x40).
        {L"ToolbarWindow32", 0, {{{100, 500, 150, 520}, L"&Open"}, {{150, 500, 158, 520}, L"", item_flags::kSeparator}}, {},
         {L"L (2,298)-(298,298)", L"R 0,300 50x20 h0", L"B 0,300 50x20 f5 '&Open'", L"L (54,300)-(54,320)"}},
        {L"ToolbarWindow32", 0x40, {{{100, 500, 150, 520}, L"Go"}}, {}, {L"R 0,300 50x20 h0", L"B 0,300 50x20 f5 'Go'"}},
        // 40 of 0..100 filled with a hatch, from the left or, standing, from the bottom.
        {L"msctls_progress32", 0, {}, {{}, {}, {}, {101, 501, 301, 519}, {}, 0, 100, 40},
         {L"R 0,300 300x20 h0", L"R 1,301 80x18 h3 pen=1/0/0 fill=0 o-1"}},
        {L"msctls_progress32", 0x4, {}, {{}, {}, {}, {101, 501, 301, 519}, {}, 0, 100, 50},
         {L"R 0,300 300x20 h0", L"R 1,310 200x9 h3 pen=1/0/0 fill=0 o-1"}},
        {L"msctls_trackbar32", 0, {}, {{}, {}, {{110, 515, 110, 518}}, {104, 508, 396, 512}, {150, 502, 160, 520}},
         {L"R 4,308 292x4 h0", L"L (10,315)-(10,318)", L"R 50,302 10x18 h0"}},
        {L"msctls_updown32", 0, {}, {}, {L"R 0,300 300x20 h0", L"L (0,310)-(300,310)", L"P (75,307.5) (225,307.5) (150,302.5) (75,307.5)", L"P (75,312.5) (225,312.5) (150,317.5) (75,312.5)"}},
        // The selected item in the field the control gave, the drop button in the room after it.
        {L"ComboBoxEx32", 0, {{{102, 502, 380, 518}, L"日本語"}}, {},
         {L"R 0,300 300x20 h0", L"B 2,302 278x16 f4 '日本語'", L"R 280,300 20x20 h0", L"P (285,305) (295,305) (290,315) (285,305)"}},
        {L"SysLink", 0, {{{100, 500, 400, 520}, L"Read <a href=\"x\">the</a> <A>manual</A> & <b>"}}, {},
         {L"B 0,300 300x20 f16 'Read the manual && <b>'"}},
        // The lines a multi-line edit shows, each from its first character's place; an empty
        // one draws nothing.
        {L"Edit", 0x4, {{{104, 502, 390, 510}, L"one & two"}, {{104, 510, 390, 518}, L""}}, {},
         {L"R 0,300 300x20 h0", L"B 4,302 286x8 f0 'one && two'"}},
        // A simple combo box: its edit field outlined, then the list's visible items.
        {L"ComboBox", 0x1, {{{101, 501, 399, 510}, L"A", item_flags::kSelected}, {{102, 511, 398, 519}, L"B&"}}, {},
         {L"R 0,300 300x20 h0", L"R 1,301 298x9 h0", L"B 1,301 298x9 f4 'A'", L"B 2,311 296x8 f4 'B&&'"}},
    };
    for (const auto& row : rows) EXPECT_EQ(Draw(row.cls, row.style, bar, row.items, row.content), row.want) << row.cls;
}

}  // namespace
}  // namespace plumbo
