// The item lists' drawers where the texts alone do not tell (the in-process tests check every
// text's place): the tabs on their body, the selected one raised; the tree's lines and expand
// boxes, and tree texts that show "&" as it is.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "vector/list_drawers.h"

namespace plumbo {
namespace {

using Box4 = std::tuple<double, double, double, double>;
using Text = std::tuple<double, double, double, double, std::wstring, uint32_t>;

template <typename Part, typename Read>
auto Each(const std::vector<Part>& parts, Read read) {
    std::vector<decltype(read(parts.front()))> out;
    for (const Part& p : parts) out.push_back(read(p));
    return out;
}
std::vector<Box4> Boxes(const PartList& l) {
    return Each(l.rects, [](const RectPart& r) { return Box4{r.x, r.y, r.width, r.height}; });
}
// Outlines that cover nothing: closed polylines, by their first and third corners.
std::vector<Box4> Outlines(const PartList& l) {
    return Each(l.polylines, [](const PolylinePart& p) { return Box4{p.xs[0], p.ys[0], p.xs[2] - p.xs[0], p.ys[2] - p.ys[0]}; });
}
std::vector<Text> Texts(const PartList& l) {
    return Each(l.rectTexts, [](const RectTextPart& t) { return Text{t.x, t.y, t.width, t.height, t.text, t.format}; });
}
std::vector<Box4> Lines(const PartList& l) {
    return Each(l.lines, [](const LinePart& p) { return Box4{p.x1, p.y1, p.x2, p.y2}; });
}

// The target's outer top-left is (100, 200); records are in screen coordinates.
const DrawContext kCtx{{100, 200, 900, 900}, {19, 18, 18, 16, 20}};

PartList Draw(const wchar_t* cls, uint32_t style, Rect32 r, std::vector<ItemRecord> items, std::vector<Rect32> marks = {}) {
    WindowRecord w;
    w.className = cls;
    w.style = style_bits::kVisible | style;
    w.window = r;
    w.content.items = std::move(items);
    w.content.marks = std::move(marks);
    PartList list;
    EXPECT_EQ(DrawControl(kCtx, w, list), DrawOutcome::Drawn);
    return list;
}

TEST(ListDrawers, TabsStandOnAnOutlinedBodyTheSelectedOneLastAndRaisedTheirCaptionsCentredWithTheirMnemonics) {
    for (const bool below : {false, true}) {
        SCOPED_TRACE(below ? "tabs below" : "tabs above");
        // Tabs 20 high on top of a 300 x 90 control, or along its bottom.
        const int32_t tabTop = below ? 270 : 212;
        const auto tab = [&](int32_t l, int32_t r, const wchar_t* t, uint32_t f = 0) {
            return ItemRecord{{l, tabTop, r, tabTop + 20}, t, f, 0};
        };
        const PartList l = Draw(L"SysTabControl32", below ? 0x2 : 0, {110, 210, 410, 300},
                                        {tab(112, 160, L"&File"), tab(160, 220, L"短い", item_flags::kSelected),
                                         tab(220, 300, L"Long")});
        const double ty = tabTop - 200;
        EXPECT_EQ(Outlines(l), (std::vector<Box4>{below ? Box4{10, 10, 300, 60} : Box4{10, 32, 300, 68}}));
        EXPECT_EQ(l.order.front().kind, kindPolyline) << "the body first";
        EXPECT_EQ(Boxes(l), (std::vector<Box4>{{12, ty, 48, 20}, {120, ty, 80, 20}, {58, below ? ty : ty - 2, 64, 22}}));
        EXPECT_EQ(Texts(l), (std::vector<Text>{{12, ty, 48, 20, L"&File", kFormatCentre},
                                               {120, ty, 80, 20, L"Long", kFormatCentre},
                                               {60, ty, 60, 20, L"短い", kFormatCentre}}));
    }
}

// Depths of the rows on show, worked by hand: a line comes down to each row but the first, goes
// on to a later sibling, and an ancestor's line passes the rows between it and its next sibling.
TEST(ListDrawers, TreeRowsAreLinkedToTheirSiblingsAndAncestorsLinesPassBetween) {
    struct Row {
        std::vector<int32_t> depths;
        std::vector<bool> onBelow;
        std::vector<std::vector<bool>> passing;
    };
    for (const Row& r : {Row{{0, 1, 1, 2, 0}, {true, true, false, false, false}, {{}, {true}, {true}, {true, false}, {}}},
                         Row{{2, 1, 0}, {false, false, false}, {{true, true}, {true}, {}}},
                         Row{{0, 0, 1, 2, 1}, {true, false, true, false, false}, {{}, {}, {false}, {false, true}, {false}}}}) {
        std::vector<ItemRecord> rows;
        for (int32_t d : r.depths) rows.push_back({{}, L"", 0, d});
        const auto links = LinkTreeRows(rows);
        for (size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "row " << i);
            EXPECT_EQ(links[i].onBelow, r.onBelow[i]);
            EXPECT_EQ(links[i].passing, r.passing[i]);
            EXPECT_EQ(links[i].fromAbove, i > 0 || r.depths[i] > 0);
        }
    }
}

// A tree with lines and buttons at the root: a root with children shows its expand box (a minus
// when open, a plus when closed) centred in its 20 px slot, each row a line from the slot's
// centre to the icon, and the child's line comes down from the root's row.
TEST(ListDrawers, TreeItemsSitAtTheirIndentationWithExpandBoxesAndLines) {
    const uint32_t lines = 0x1 | 0x2 | 0x4;
    const std::vector<ItemRecord> items = {
        {{140, 210, 180, 230}, L"Root & more", item_flags::kHasChildren | item_flags::kExpanded, 0},
        {{160, 230, 200, 250}, L"子", item_flags::kHasChildren, 1}};
    const std::vector<Rect32> slots = {{120, 210, 140, 230}, {140, 230, 160, 250}};
    const PartList l = Draw(L"SysTreeView32", lines, {110, 205, 300, 400}, items, slots);
    EXPECT_EQ(Texts(l), (std::vector<Text>{{42, 10, 38, 20, L"Root && more", kFormatTopLeft},
                                           {62, 30, 38, 20, L"子", kFormatTopLeft}}));
    EXPECT_EQ(Boxes(l), (std::vector<Box4>{{10, 5, 190, 195}, {25.5, 15.5, 9, 9}, {45.5, 35.5, 9, 9}}));
    EXPECT_EQ(Lines(l), (std::vector<Box4>{{30, 20, 40, 20}, {28, 20, 33, 20},
                                           {50, 40, 60, 40}, {50, 30, 50, 40}, {48, 40, 53, 40}, {50, 38, 50, 43}}));

    // Without the root style, a root row has neither.
    const PartList bare = Draw(L"SysTreeView32", 0x1 | 0x2, {110, 205, 300, 400}, items, slots);
    EXPECT_EQ(Lines(bare), (std::vector<Box4>{{50, 40, 60, 40}, {50, 30, 50, 40}, {48, 40, 53, 40}, {50, 38, 50, 43}}));
}

}  // namespace
}  // namespace plumbo
