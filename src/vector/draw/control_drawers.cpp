#include "vector/draw/control_drawers.h"

#include <cmath>

#include "core/numeric.h"
#include "vector/draw/accessible_drawers.h"
#include "vector/draw/bar_drawers.h"
#include "vector/draw/class_names.h"
#include "vector/draw/list_drawers.h"

namespace plumbo {

namespace {

// Tool bar buttons: squares 0.8 of the bar's height, about 0.7 as many as would fit.
constexpr double kToolButtonScale = 0.8;
constexpr double kToolButtonShare = 0.7;
constexpr double kToolButtonTop = 0.1;  // of the button size, below the bar's top
// The rule runs 2 px above the bar, 2 px in at each end; a double, so that a bar at the ends of
// 32 bits puts it beyond them instead of overflowing.
constexpr double kToolRuleOffset = 2;
// Group frame caption: 16 px in from the left edge, 8 px above the top edge.
constexpr int32_t kFrameCaptionDx = 16;
constexpr int32_t kFrameCaptionDy = -8;
constexpr uint32_t kStaticNoPrefix = 0x80;  // SS_NOPREFIX: '&' shown as it is
constexpr uint32_t kToolBarNoDivider = 0x40;  // CCS_NODIVIDER

RectPart ControlBox(const ControlPlace& p) { return Box(p.x, p.y, p.w, p.h); }

PolylinePart ComboArrow(double ox, double oy, double d) {
    PolylinePart a = Arrow(ox, oy, {d / 4, 3 * d / 4, d / 2}, {d / 4, d / 4, 3 * d / 4});
    return a;
}

// A circle as a closed polyline of 24 sides, which every player draws alike.
PolylinePart Circle(double cx, double cy, double r) {
    constexpr int kSides = 24;
    constexpr double kTurn = 6.283185307179586;
    PolylinePart c = Arrow(cx, cy, {r, r, r}, {0, 0, 0});
    c.xs.clear();
    c.ys.clear();
    for (int i = 0; i <= kSides; ++i) {
        c.xs.push_back(cx + r * std::cos(kTurn * i / kSides));
        c.ys.push_back(cy + r * std::sin(kTurn * i / kSides));
    }
    return c;
}

RectPart FilledBox(double x, double y, double w, double h) {
    RectPart b = Box(x, y, w, h, Fill::Solid);
    b.fillColor = kBlack;
    return b;
}

// A tick in a square of side d at (x, y): down to the lower third, then up to the far corner.
PolylinePart Tick(double x, double y, double d) {
    PolylinePart t = Arrow(x, y, {d / 5, 2 * d / 5, 4 * d / 5}, {d / 2, 7 * d / 10, 3 * d / 10});
    t.xs.pop_back();
    t.ys.pop_back();
    return t;
}

}  // namespace

bool DrawChildren(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    for (const WindowRecord& child : control.children)
        if (DrawControl(ctx, child, list) == DrawOutcome::Abandoned) return false;
    return true;
}

std::optional<ControlPlace> PlaceOf(const Rect32& t, const Rect32& c) {
    auto x = Sub32(c.left, t.left), y = Sub32(c.top, t.top);
    auto w = Sub32(c.right, c.left), h = Sub32(c.bottom, c.top);
    auto r = Sub32(c.right, t.left), b = Sub32(c.bottom, t.top);
    if (!x || !y || !w || !h || !r || !b) return std::nullopt;
    return ControlPlace{*x, *y, *w, *h, *r, *b};
}

bool DrawStyleScrollBars(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    const bool hBar = HasStyleBits(control.style, style_bits::kHScroll);
    const bool vBar = HasStyleBits(control.style, style_bits::kVScroll);
    if (!hBar && !vBar) return true;
    auto p = PlaceOf(ctx.target, control.window);
    auto cwi = Sub32(control.client.right, control.client.left);
    auto chi = Sub32(control.client.bottom, control.client.top);
    if (!p || !cwi || !chi) return false;
    const double S = ctx.metrics.cxHThumb, T = ctx.metrics.cyVThumb;
    const double x = p->x, y = p->y, w = p->w, h = p->h, cw = *cwi, ch = *chi;

    // Both bars sit in the gap between client area and outer edge; borders are ignored and
    // the arrows scale with S across and T down in either bar.
    PartAppender out{list};
    if (hBar) {
        out.Add(Box(x, y + ch, cw, h - ch));
        out.Add(Box(x, y + ch, S, h - ch));
        out.Add(Box(x + cw - S, y + ch, S, h - ch));
        out.Add(Arrow(x, y + ch, {3 * S / 4, 3 * S / 4, S / 4}, {T / 4, 3 * T / 4, T / 2}));
        out.Add(Arrow(x + cw - S, y + ch, {S / 4, 3 * S / 4, S / 4}, {T / 4, T / 2, 3 * T / 4}));
    }
    if (vBar) {
        out.Add(Box(x + cw, y, w - cw, ch));
        out.Add(Box(x + cw, y, w - cw, T));
        out.Add(Box(x + cw, y + ch - T, w - cw, T));
        out.Add(Arrow(x + cw, y, {S / 2, 3 * S / 4, S / 4}, {T / 4, 3 * T / 4, 3 * T / 4}));
        out.Add(Arrow(x + cw, y + ch - T, {S / 4, 3 * S / 4, S / 2}, {T / 4, T / 4, 3 * T / 4}));
    }
    return out.ok;
}

bool DrawPlainBox(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    return p && AddPart(list, ControlBox(*p));
}

bool DrawTextBox(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    out.Add(BoxedText(p->x, p->y, p->w, p->h, LiteralText(control.text), kLayoutLeft));
    return out.ok && DrawStyleScrollBars(ctx, control, list);
}

bool DrawGroupFrame(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    // Opaque, so the caption cuts the top edge; the empty face takes the last named one.
    out.Add(PointText(p->x + kFrameCaptionDx, p->y + kFrameCaptionDy, L"", control.text, true));
    return out.ok && DrawChildren(ctx, control, list);
}

bool DrawPushButton(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    out.Add(BoxedText(p->x, p->y, p->w, p->h, control.text, kLayoutCentred));
    return out.ok;
}

bool DrawCheckBox(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    // The square is as tall as the control; the text takes the rest of it. A check is
    // a tick through the square's middle, the third state a filled square inside it.
    const double x = p->x, y = p->y, d = p->h;
    PartAppender out{list};
    out.Add(Box(x, y, d, d));
    if (control.check == kButtonIndeterminate) out.Add(FilledBox(x + d / 4, y + d / 4, d / 2, d / 2));
    if (control.check == kButtonChecked) out.Add(Tick(x, y, d));
    out.Add(BoxedText(x + d, y, p->w - d, p->h, control.text, kLayoutLeft));
    return out.ok;
}

bool DrawRadioButton(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    // The circle fills the square a check box would take; the chosen one has a dot in it.
    const double d = p->h, cx = p->x + d / 2, cy = p->y + d / 2;
    PartAppender out{list};
    out.Add(Circle(cx, cy, d / 2));
    if (control.check == kButtonChecked) out.Add(Circle(cx, cy, d / 5));
    out.Add(BoxedText(p->x + d, p->y, p->w - d, p->h, control.text, kLayoutLeft));
    return out.ok;
}

bool DrawStandardButton(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    switch (ClassifyButton(control.style)) {
    case ButtonLook::GroupFrame: return DrawGroupFrame(ctx, control, list);
    case ButtonLook::PushButton:
    case ButtonLook::CommandLink: return DrawPushButton(ctx, control, list);
    case ButtonLook::SplitButton: {
        // The drop arrow in a square at the right end, the caption centred in what is left.
        auto p = PlaceOf(ctx.target, control.window);
        if (!p) return false;
        const double d = p->h, bx = static_cast<double>(p->right) - d;
        PartAppender out{list};
        out.Add(ControlBox(*p));
        out.Add(Line(bx, p->y, bx, p->bottom));
        out.Add(ComboArrow(bx, p->y, d));
        out.Add(BoxedText(p->x, p->y, bx - p->x, d, control.text, kLayoutCentred));
        return out.ok;
    }
    case ButtonLook::CheckBox: return DrawCheckBox(ctx, control, list);
    case ButtonLook::RadioButton: return DrawRadioButton(ctx, control, list);
    case ButtonLook::OwnerDrawn: return DrawPlainBox(ctx, control, list);
    }
    return true;
}

bool DrawComboBox(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    if ((control.style & kComboTypeMask) == kComboSimple) {
        // Its list always shown: the edit field first, then the list's visible items.
        for (const ItemRecord& item : control.content.items) {
            auto r = PlaceOf(ctx.target, item.rect);
            if (!r) return false;
            if (item.flags & item_flags::kSelected) out.Add(ControlBox(*r));
            out.Add(BoxedText(r->x, r->y, r->w, r->h, LiteralText(item.text), kLayoutLeft));
        }
        return out.ok;
    }
    const double d = p->h;
    const double bx = static_cast<double>(p->right) - d;
    out.Add(Box(bx, p->y, d, d));
    out.Add(ComboArrow(bx, p->y, d));
    // The edit field's text, or for a drop-down list (no edit field) the selected item's, which
    // is its window text; either stops at the button.
    const bool dropList = (control.style & kComboTypeMask) == kComboDropDownList;
    if (dropList || control.hasDescendant)
        out.Add(BoxedText(p->x, p->y, bx - p->x, p->h, LiteralText(dropList ? control.text : control.firstDescendantText),
                          kLayoutLeft));
    return out.ok;
}

bool DrawBoxWithScrollBars(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    return DrawPlainBox(ctx, control, list) && DrawStyleScrollBars(ctx, control, list);
}

bool DrawListBox(const DrawContext& ctx, const WindowRecord& control, PartList& list, bool checkBoxes) {
    if (!DrawBoxWithScrollBars(ctx, control, list)) return false;
    PartAppender out{list};
    for (const ItemRecord& item : control.content.items) {
        auto r = PlaceOf(ctx.target, item.rect);
        if (!r) return false;
        // A check list's toolkit paints each row's box at its left end, as tall as the row.
        const double d = checkBoxes ? r->h : 0;
        if (checkBoxes) out.Add(Box(r->x + 1, r->y + 1, d - 2, d - 2));
        out.Add(BoxedText(r->x + d, r->y, r->w - d, r->h, LiteralText(item.text), kLayoutLeft));
    }
    return out.ok;
}

bool DrawPanel(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    if (!control.text.empty()) out.Add(BoxedText(p->x, p->y, p->w, p->h, control.text, kLayoutCentred));
    return out.ok && DrawChildren(ctx, control, list);
}

bool DrawHScrollBar(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    const double S = ctx.metrics.cxHThumb;
    const double x = p->x, y = p->y, h = p->h, rx = p->right - S;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    out.Add(Box(x, y, S, h));
    out.Add(Box(rx, y, S, h));
    out.Add(Arrow(x, y, {3 * S / 4, 3 * S / 4, S / 4}, {S / 4, 3 * S / 4, S / 2}));
    out.Add(Arrow(rx, y, {S / 4, 3 * S / 4, S / 4}, {S / 4, S / 2, 3 * S / 4}));
    return out.ok;
}

bool DrawVScrollBar(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    const double V = ctx.metrics.cyVThumb;
    const double x = p->x, y = p->y, w = p->w, by = p->bottom - V;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    out.Add(Box(x, y, w, V));
    out.Add(Box(x, by, w, V));
    out.Add(Arrow(x, y, {V / 2, 3 * V / 4, V / 4}, {V / 4, 3 * V / 4, 3 * V / 4}));
    out.Add(Arrow(x, by, {V / 4, 3 * V / 4, V / 2}, {V / 4, V / 4, 3 * V / 4}));
    return out.ok;
}

bool DrawToolBar(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    const bool common = control.className == kCommonToolBarClass;
    // A common tool bar draws its divider only without CCS_NODIVIDER, as in a rebar's bands.
    if (!common || !HasStyleBits(control.style, kToolBarNoDivider))
        out.Add(Line(p->x + kToolRuleOffset, p->y - kToolRuleOffset, p->right - kToolRuleOffset,
                     p->y - kToolRuleOffset));
    if (common) {
        // Its real buttons where it placed them; a separator as a line down its middle.
        for (const ItemRecord& button : control.content.items) {
            auto r = PlaceOf(ctx.target, button.rect);
            if (!r) return false;
            if (button.flags & item_flags::kSeparator) {
                out.Add(Line(r->x + r->w / 2.0, r->y, r->x + r->w / 2.0, r->bottom));
                continue;
            }
            out.Add(ControlBox(*r));
            // A tool bar takes '&' for a mnemonic, as the player does.
            if (!button.text.empty()) out.Add(BoxedText(r->x, r->y, r->w, r->h, button.text, kLayoutCentred));
        }
    }
    // The older tool bars: generic squares, the real buttons neither counted nor placed.
    const int32_t b = RoundHalfEven(kToolButtonScale * p->h);
    if (b != 0 && !common) {
        const int32_t n = RoundHalfEven(kToolButtonShare * IntDiv(p->w, b));
        for (int32_t i = 0; i <= n && out.ok; ++i)
            out.Add(Box(p->x + static_cast<double>(b) * i, p->y + kToolButtonTop * b, b, b));
    }
    return out.ok && DrawChildren(ctx, control, list);
}

bool DrawMdiClient(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    return DrawBoxWithScrollBars(ctx, control, list) && DrawChildren(ctx, control, list);
}

bool DrawStatic(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    if (HasStyleBits(control.style, style_bits::kBorder)) out.Add(ControlBox(*p));
    // The text kinds wrap at words within the rectangle, except the simple and no-wrap ones.
    if (!StaticShowsText(control.style)) return out.ok;
    const uint32_t type = control.style & kStaticTypeMask;
    TextLayout layout = type == kStaticCentre  ? kLayoutCentred
                        : type == kStaticRight ? kLayoutRight
                                               : kLayoutLeft;
    if (type != kStaticSimple && type != kStaticNoWrap) layout = Wrapped(layout);
    const bool prefix = !HasStyleBits(control.style, kStaticNoPrefix);
    out.Add(BoxedText(p->x, p->y, p->w, p->h, prefix ? control.text : LiteralText(control.text), layout));
    return out.ok;
}

bool DrawUnlisted(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    auto p = PlaceOf(ctx.target, control.window);
    if (!p) return false;
    PartAppender out{list};
    out.Add(ControlBox(*p));
    out.Add(PointText(p->x, p->y, kDrawerFace, control.className, false));
    return out.ok && DrawChildren(ctx, control, list) && DrawAccessibleElements(ctx, control, list);
}

DrawOutcome DrawControl(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    if (!HasStyleBits(control.style, style_bits::kVisible)) return DrawOutcome::Hidden;
    bool ok = true;
    // What the screen showed lies under every outline and text that could be read.
    if (control.pixels) {
        auto p = PlaceOf(ctx.target, control.window);
        if (!p || !AddPart(list, Image(p->x, p->y, p->w, p->h, control.pixels))) return DrawOutcome::Abandoned;
    }
    const DrawerKind kind = LookupDrawer(control.className);
    switch (kind) {
    case DrawerKind::PictureBox:
    case DrawerKind::UserControl: ok = DrawPlainBox(ctx, control, list); break;
    case DrawerKind::StatusBar: ok = DrawPlainBox(ctx, control, list) && DrawChildren(ctx, control, list); break;
    case DrawerKind::CheckBox: ok = DrawCheckBox(ctx, control, list); break;
    case DrawerKind::RadioButton: ok = DrawRadioButton(ctx, control, list); break;
    case DrawerKind::CheckList:
    case DrawerKind::ListBox: ok = DrawListBox(ctx, control, list, kind == DrawerKind::CheckList); break;
    case DrawerKind::Panel: ok = DrawPanel(ctx, control, list); break;
    case DrawerKind::TextBox:
        ok = HasStyleBits(control.style, kEditMultiLine) ? DrawEditLines(ctx, control, list) : DrawTextBox(ctx, control, list);
        break;
    case DrawerKind::GroupFrame: ok = DrawGroupFrame(ctx, control, list); break;
    case DrawerKind::PushButton: ok = DrawPushButton(ctx, control, list); break;
    case DrawerKind::StandardButton: ok = DrawStandardButton(ctx, control, list); break;
    case DrawerKind::Nothing: break;
    case DrawerKind::ComboBox: ok = DrawComboBox(ctx, control, list); break;
    case DrawerKind::Grid: ok = DrawBoxWithScrollBars(ctx, control, list); break;
    case DrawerKind::HScrollBar: ok = DrawHScrollBar(ctx, control, list); break;
    case DrawerKind::VScrollBar: ok = DrawVScrollBar(ctx, control, list); break;
    case DrawerKind::ToolBar: ok = DrawToolBar(ctx, control, list); break;
    case DrawerKind::MdiClient: ok = DrawMdiClient(ctx, control, list); break;
    case DrawerKind::Static: ok = DrawStatic(ctx, control, list); break;
    case DrawerKind::Unlisted: ok = DrawUnlisted(ctx, control, list); break;
    // A dialog inside a window is only the room its controls sit in.
    case DrawerKind::ChildDialog: ok = DrawChildren(ctx, control, list); break;
    default:
        ok = IsItemList(kind) ? DrawListControl(ctx, kind, control, list) : DrawBarControl(ctx, kind, control, list);
        break;
    }
    return ok ? DrawOutcome::Drawn : DrawOutcome::Abandoned;
}

std::optional<WindowSize> LayOutWindow(const TargetRecord& target, PartList& list) {
    auto size = DrawWindowFrame(target, list);
    if (!size) return std::nullopt;
    const DrawContext ctx{target.window.window, target.metrics};
    if (!DrawChildren(ctx, target.window, list) || !DrawAccessibleElements(ctx, target.window, list)) return std::nullopt;
    return size;
}

}  // namespace plumbo
