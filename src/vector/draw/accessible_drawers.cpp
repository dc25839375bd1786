#include "vector/draw/accessible_drawers.h"

#include <cwchar>

namespace plumbo {

namespace {

namespace role = accessible_role;
namespace state = accessible_state;

constexpr int32_t kCaptionIndent = 8;   // a group's caption, in from its left edge
constexpr int32_t kCaptionHeight = 16;  // and the line it takes at its top
constexpr int32_t kTabRaise = 2;        // the selected tab stands this much above the others

bool Inside(const Rect32& inner, const Rect32& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

bool Meets(const Rect32& a, const Rect32& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Shown(const AccessibleElement& e, const WindowRecord& control) {
    if (HiddenByState(e.state)) return false;
    if (e.rect.right <= e.rect.left || e.rect.bottom <= e.rect.top || !Meets(e.rect, control.window)) return false;
    // Child windows win: what lies under one of them is drawn by its own drawer.
    for (const WindowRecord& child : control.children)
        if (HasStyleBits(child.style, style_bits::kVisible) && Inside(e.rect, child.window)) return false;
    return true;
}

// The element as a control record, for the drawers of the classes that look the same.
WindowRecord AsControl(const AccessibleElement& e, uint32_t style, std::wstring text) {
    WindowRecord w;
    w.style = style_bits::kVisible | style;
    w.window = e.rect;
    w.text = std::move(text);
    w.check = (e.state & state::kMixed) ? kButtonIndeterminate : (e.state & state::kChecked) ? kButtonChecked : 0;
    return w;
}

// A slider's or progress bar's value as a share of its length: "40", "40%" or "0.4" of 1.
double ValueShare(const std::wstring& value) {
    wchar_t* end = nullptr;
    const double v = std::wcstod(value.c_str(), &end);
    if (end == value.c_str()) return 0;
    const double share = (v <= 1 && *end != L'%' && value.find(L'.') != std::wstring::npos) ? v : v / 100;
    return share < 0 ? 0 : share > 1 ? 1 : share;
}

bool DrawElement(const DrawContext& ctx, const AccessibleElement& e, PartList& list) {
    auto p = PlaceOf(ctx.target, e.rect);
    if (!p) return false;
    const double x = p->x, y = p->y, w = p->w, h = p->h;
    PartAppender out{list};
    switch (e.role) {
    case role::kPushButton: return DrawPushButton(ctx, AsControl(e, 0, LiteralText(e.name)), list);
    case role::kCheckButton: return DrawCheckBox(ctx, AsControl(e, 0, LiteralText(e.name)), list);
    case role::kRadioButton: return DrawRadioButton(ctx, AsControl(e, 0, LiteralText(e.name)), list);
    case role::kText: return DrawTextBox(ctx, AsControl(e, 0, e.value), list);
    case role::kComboBox: return DrawComboBox(ctx, AsControl(e, kComboDropDownList, e.value), list);
    case role::kList:
    case role::kOutline:
    case role::kToolBar:
    case role::kStatusBar:
    case role::kPageTabList:
    case role::kGraphic: out.Add(Box(x, y, w, h)); break;
    case role::kListItem:
    case role::kOutlineItem:
        // An outline item's place already stands at its level.
        if (e.state & state::kSelected) out.Add(Box(x, y, w, h));
        out.Add(BoxedText(x, y, w, h, LiteralText(e.name), kLayoutLeft));
        break;
    case role::kPageTab: {
        const double raise = (e.state & state::kSelected) ? kTabRaise : 0;
        out.Add(Box(x, y - raise, w, h + raise));
        out.Add(BoxedText(x, y - raise, w, h + raise, LiteralText(e.name), kLayoutCentred));
        break;
    }
    case role::kSlider:
    case role::kProgressBar: {
        const double at = x + w * ValueShare(e.value);
        out.Add(Box(x, y, w, h));
        out.Add(Line(at, y, at, y + h));
        break;
    }
    case role::kLink:
    case role::kStaticText: out.Add(BoxedText(x, y, w, h, LiteralText(e.name), Wrapped(kLayoutLeft))); break;
    case role::kGrouping:
        out.Add(Box(x, y, w, h));
        out.Add(BoxedText(x + kCaptionIndent, y, w - 2 * kCaptionIndent, kCaptionHeight, LiteralText(e.name), kLayoutLeft));
        break;
    default:
        out.Add(Box(x, y, w, h));
        if (!e.name.empty()) out.Add(BoxedText(x, y, w, h, LiteralText(e.name), kLayoutLeft));
        break;
    }
    return out.ok;
}

}  // namespace

ShownByRole ShownFor(uint32_t r) {
    switch (r) {
    case role::kText:
    case role::kComboBox:
    case role::kSlider:
    case role::kProgressBar: return {false, true};
    case role::kList:
    case role::kOutline:
    case role::kToolBar:
    case role::kStatusBar:
    case role::kPageTabList:
    case role::kGraphic: return {false, false};
    default: return {true, false};
    }
}

bool HiddenByState(uint32_t s) { return (s & (state::kInvisible | state::kOffscreen)) != 0; }

bool DrawAccessibleElements(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    for (const AccessibleElement& e : control.accessible)
        if (Shown(e, control) && !DrawElement(ctx, e, list)) return false;
    return true;
}

}  // namespace plumbo
