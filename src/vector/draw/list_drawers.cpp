#include "vector/draw/list_drawers.h"

#include <algorithm>

namespace plumbo {

namespace {

// Window styles of the item lists that change what is drawn.
constexpr uint32_t kTabsBelow = 0x0002;        // TCS_BOTTOM
constexpr uint32_t kListViewMask = 0x0003;     // LVS_TYPEMASK
constexpr uint32_t kListViewIcon = 0x0000;     // LVS_ICON: labels centred under the icons, wrapped
constexpr uint32_t kTreeButtons = 0x0001;      // TVS_HASBUTTONS
constexpr uint32_t kTreeLines = 0x0002;        // TVS_HASLINES
constexpr uint32_t kTreeLinesAtRoot = 0x0004;  // TVS_LINESATROOT

// The controls leave a gap before an item's text; ours keeps the text that far in.
constexpr int32_t kTextInset = 2;
// The selected tab stands out of the row by this much on its three free sides.
constexpr int32_t kSelectedTabRaise = 2;
// The expand box's side, centred in its slot, and its sign's reach from the centre.
constexpr int32_t kExpandBox = 9;
constexpr int32_t kExpandSign = 2;

struct Place {
    double x, y, w, h;
};

std::optional<Place> PlaceOfItem(const DrawContext& ctx, const Rect32& r) {
    auto p = PlaceOf(ctx.target, r);
    if (!p) return std::nullopt;
    return Place{static_cast<double>(p->x), static_cast<double>(p->y), static_cast<double>(p->w),
                 static_cast<double>(p->h)};
}

RectTextPart ItemText(const Place& p, std::wstring text, TextLayout layout) {
    return BoxedText(p.x + kTextInset, p.y, std::max(0.0, p.w - kTextInset), p.h, std::move(text), layout);
}

bool DrawChildWindows(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    for (const WindowRecord& child : control.children)
        if (DrawControl(ctx, child, list) == DrawOutcome::Abandoned) return false;
    return true;
}

// The body under (or over) the tabs, then each tab; the selected one last and raised, so it
// stands over its neighbours and hides the body's edge below it, as the control shows it.
bool DrawTabs(const DrawContext& ctx, const ControlPlace& p, const WindowRecord& control, PartList& list) {
    const bool below = HasStyleBits(control.style, kTabsBelow);
    double top = p.y, bottom = p.bottom;
    std::vector<std::pair<Place, const ItemRecord*>> tabs;
    for (const ItemRecord& item : control.content.items) {
        auto t = PlaceOfItem(ctx, item.rect);
        if (!t) return false;
        if (below) bottom = std::min(bottom, t->y);
        else top = std::max(top, t->y + t->h);
        tabs.emplace_back(*t, &item);
    }
    std::stable_partition(tabs.begin(), tabs.end(),
                          [](const auto& t) { return !(t.second->flags & item_flags::kSelected); });
    PartAppender out{list};
    // Only an outline: the pages lie on the body and may come before it in the window order.
    out.Add(Box(p.x, top, p.w, bottom - top, Fill::None));
    for (auto& [t, item] : tabs) {
        Place box = t;
        const bool selected = item->flags & item_flags::kSelected;
        if (selected) {
            box.x -= kSelectedTabRaise;
            box.w += 2 * kSelectedTabRaise;
            box.h += kSelectedTabRaise;
            if (!below) box.y -= kSelectedTabRaise;
        }
        // The selected tab stands over its neighbours' edges, as on the screen.
        out.Add(selected ? CoveringBox(box.x, box.y, box.w, box.h) : Box(box.x, box.y, box.w, box.h));
        // A tab shows "&File" as File with the F underlined, as DrawText does.
        out.Add(BoxedText(t.x, t.y, t.w, t.h, item->text, kLayoutCentred));
    }
    return out.ok;
}

bool DrawHeader(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    PartAppender out{list};
    for (const ItemRecord& item : control.content.items) {
        auto t = PlaceOfItem(ctx, item.rect);
        if (!t) return false;
        out.Add(Box(t->x, t->y, t->w, t->h));
        out.Add(ItemText(*t, item.text, kLayoutLeft));
    }
    return out.ok;
}

bool DrawListItems(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    const bool iconView = (control.style & kListViewMask) == kListViewIcon;
    const TextLayout layout = iconView ? Wrapped(kLayoutCentred) : kLayoutLeft;
    PartAppender out{list};
    for (const ItemRecord& item : control.content.items) {
        auto t = PlaceOfItem(ctx, item.rect);
        if (!t) return false;
        if (item.flags & (item_flags::kIcon | item_flags::kSelected)) out.Add(Box(t->x, t->y, t->w, t->h));
        if (!(item.flags & item_flags::kIcon)) out.Add(ItemText(*t, LiteralText(item.text), layout));
    }
    return out.ok;
}

bool DrawTree(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    const auto& items = control.content.items;
    const auto& slots = control.content.marks;
    const auto links = LinkTreeRows(items);
    const bool lines = HasStyleBits(control.style, kTreeLines);
    const bool buttons = HasStyleBits(control.style, kTreeButtons);
    const bool atRoot = HasStyleBits(control.style, kTreeLinesAtRoot);
    PartAppender out{list};
    for (size_t i = 0; i < items.size(); ++i) {
        const ItemRecord& item = items[i];
        auto t = PlaceOfItem(ctx, item.rect);
        if (!t) return false;
        if (item.flags & item_flags::kSelected) out.Add(Box(t->x, t->y, t->w, t->h));
        out.Add(ItemText(*t, LiteralText(item.text), kLayoutLeft));
        // Root items have neither lines nor buttons unless the style puts them at the root.
        if (i >= slots.size() || (item.level == 0 && !atRoot)) continue;
        auto s = PlaceOfItem(ctx, slots[i]);
        if (!s) return false;
        const double cx = s->x + s->w / 2, cy = s->y + s->h / 2, top = s->y, bottom = s->y + s->h;
        if (lines) {
            out.Add(Line(cx, cy, s->x + s->w, cy));
            if (links[i].fromAbove) out.Add(Line(cx, top, cx, cy));
            if (links[i].onBelow) out.Add(Line(cx, cy, cx, bottom));
            // Lines of the ancestors that go on past this row to a later sibling.
            for (int32_t level = atRoot ? 0 : 1; level < item.level; ++level) {
                if (!links[i].passing[static_cast<size_t>(level)]) continue;
                const double x = cx - s->w * (item.level - level);
                out.Add(Line(x, top, x, bottom));
            }
        }
        if (buttons && (item.flags & item_flags::kHasChildren)) {
            const double half = kExpandBox / 2.0;
            // The button hides the lines that meet under it, so that only its sign shows.
            out.Add(CoveringBox(cx - half, cy - half, kExpandBox, kExpandBox));
            out.Add(Line(cx - kExpandSign, cy, cx + kExpandSign + 1, cy));
            if (!(item.flags & item_flags::kExpanded)) out.Add(Line(cx, cy - kExpandSign, cx, cy + kExpandSign + 1));
        }
    }
    return out.ok;
}

}  // namespace

std::vector<TreeRowLinks> LinkTreeRows(const std::vector<ItemRecord>& rows) {
    std::vector<TreeRowLinks> links(rows.size());
    // From the bottom up: open[d] says a later row of depth d comes before any shallower one.
    std::vector<bool> open;
    for (size_t i = rows.size(); i-- > 0;) {
        const size_t d = static_cast<size_t>(std::max<int32_t>(rows[i].level, 0));
        if (open.size() <= d) open.resize(d + 1, false);
        links[i].onBelow = open[d];
        links[i].passing.assign(open.begin(), open.begin() + static_cast<std::ptrdiff_t>(d));
        open[d] = true;
        std::fill(open.begin() + static_cast<std::ptrdiff_t>(d) + 1, open.end(), false);
    }
    // A row has a line from above when a row of its depth or its parent is above it; scrolled
    // away counts too, when it is not the first row shown.
    for (size_t i = 0; i < rows.size(); ++i)
        links[i].fromAbove = i > 0 || rows[i].level > 0;
    return links;
}

bool DrawListControl(const DrawContext& ctx, DrawerKind kind, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    bool ok = true;
    switch (kind) {
    case DrawerKind::TabControl: ok = DrawTabs(ctx, *p, control, list); break;
    case DrawerKind::Header: ok = DrawHeader(ctx, control, list); break;
    case DrawerKind::ListView:
        ok = DrawBoxWithScrollBars(ctx, control, list) && DrawListItems(ctx, control, list);
        break;
    case DrawerKind::TreeView:
        ok = DrawBoxWithScrollBars(ctx, control, list) && DrawTree(ctx, control, list);
        break;
    default: ok = DrawUnlisted(ctx, control, list); break;
    }
    // A list view's header, a tab control's pages: over the content, by their own drawers.
    return ok && DrawChildWindows(ctx, control, list);
}

}  // namespace plumbo
