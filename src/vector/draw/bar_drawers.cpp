#include "vector/draw/bar_drawers.h"

#include <algorithm>
#include <cwctype>

namespace plumbo {

namespace {

constexpr uint32_t kProgressVertical = 0x4;  // PBS_VERTICAL
constexpr uint32_t kUpDownAcross = 0x40;     // UDS_HORZ
constexpr uint32_t kDateUpDown = 0x1;        // DTS_UPDOWN: an up-down instead of the drop button

// Places of the control and of rectangles it reported, relative to the target.
struct Placer {
    const DrawContext& ctx;
    bool ok = true;
    ControlPlace operator()(const Rect32& r) {
        auto p = PlaceOf(ctx.target, r);
        if (!p) ok = false;
        return p.value_or(ControlPlace{});
    }
};

RectPart BoxAt(const ControlPlace& p) { return Box(p.x, p.y, p.w, p.h); }

// One drawer's output: the places it works out and the parts it adds, either of which can fail.
struct Drawing {
    Placer place;
    PartAppender out;
    Drawing(const DrawContext& ctx, PartList& list) : place{ctx}, out{list} {}
    bool Ok() const { return place.ok && out.ok; }
    // The control's outline; its place, for what goes inside.
    ControlPlace Outline(const WindowRecord& control) {
        const ControlPlace p = place(control.window);
        out.Add(BoxAt(p));
        return p;
    }
};

RectTextPart TextAt(const ControlPlace& p, std::wstring text, TextLayout layout) {
    return BoxedText(p.x, p.y, p.w, p.h, std::move(text), layout);
}

// A triangle pointing down, up, left or right inside a box of w x h at (x, y), half its size.
PolylinePart Pointer(double x, double y, double w, double h, char towards) {
    switch (towards) {
    case 'u': return Arrow(x, y, {w / 4, 3 * w / 4, w / 2}, {3 * h / 4, 3 * h / 4, h / 4});
    case 'l': return Arrow(x, y, {3 * w / 4, 3 * w / 4, w / 4}, {h / 4, 3 * h / 4, h / 2});
    case 'r': return Arrow(x, y, {w / 4, w / 4, 3 * w / 4}, {h / 4, 3 * h / 4, h / 2});
    default: return Arrow(x, y, {w / 4, 3 * w / 4, w / 2}, {h / 4, h / 4, 3 * h / 4});
    }
}

// The box, then the first item's text where the control reported it, then a drop button in the
// room right of it (or an up-down there) for the date picker and the extended combo box.
bool DrawFieldWithButton(const DrawContext& ctx, const WindowRecord& control, PartList& list, bool upDown) {
    Drawing d(ctx, list);
    const ControlPlace p = d.Outline(control);
    if (!control.content.items.empty()) {
        const ItemRecord& field = control.content.items.front();
        const ControlPlace f = d.place(field.rect);
        d.out.Add(TextAt(f, LiteralText(field.text), kLayoutLeft));
        const double bx = f.right, bw = p.right - f.right;
        if (bw > 0) {
            d.out.Add(Box(bx, p.y, bw, p.h));
            if (upDown) {
                d.out.Add(Line(bx, p.y + p.h / 2.0, bx + bw, p.y + p.h / 2.0));
                d.out.Add(Pointer(bx, p.y, bw, p.h / 2.0, 'u'));
                d.out.Add(Pointer(bx, p.y + p.h / 2.0, bw, p.h / 2.0, 'd'));
            } else {
                d.out.Add(Pointer(bx, p.y, bw, p.h, 'd'));
            }
        }
    }
    return d.Ok();
}

// Each item's outline and its text in it: status-bar parts, rebar bands.
bool DrawItemBoxes(const DrawContext& ctx, const WindowRecord& control, PartList& list, bool literal) {
    Drawing d(ctx, list);
    d.Outline(control);
    for (const ItemRecord& item : control.content.items) {
        const ControlPlace r = d.place(item.rect);
        d.out.Add(BoxAt(r));
        // A status-bar part's tabs only say where its text stands; the text shows without them.
        std::wstring text = item.text;
        std::replace(text.begin(), text.end(), L'\t', L' ');
        text = TrimSpaces(text);
        if (!text.empty()) d.out.Add(TextAt(r, literal ? LiteralText(text) : text, kLayoutLeft));
    }
    return d.Ok();
}

bool DrawTrackbar(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    const ControlContent& c = control.content;
    if (c.channel.right <= c.channel.left && c.channel.bottom <= c.channel.top) return DrawPlainBox(ctx, control, list);
    Drawing d(ctx, list);
    d.out.Add(BoxAt(d.place(c.channel)));
    for (const Rect32& mark : c.marks) {
        const ControlPlace m = d.place(mark);
        d.out.Add(Line(m.x, m.y, m.right, m.bottom));
    }
    d.out.Add(BoxAt(d.place(c.thumb)));
    return d.Ok();
}

bool DrawProgress(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    Drawing d(ctx, list);
    d.Outline(control);
    const ControlContent& c = control.content;
    if (c.maximum > c.minimum && c.channel.right > c.channel.left) {
        const ControlPlace in = d.place(c.channel);
        const double share =
            std::clamp((static_cast<double>(c.position) - c.minimum) / (static_cast<double>(c.maximum) - c.minimum), 0.0, 1.0);
        const bool vertical = HasStyleBits(control.style, kProgressVertical);
        RectPart filled = vertical ? Box(in.x, in.y + in.h * (1 - share), in.w, in.h * share, Fill::Diagonal)
                                   : Box(in.x, in.y, in.w * share, in.h, Fill::Diagonal);
        filled.fillColor = kBlack;
        if (share > 0) d.out.Add(filled);
    }
    return d.Ok();
}

bool DrawUpDown(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    Drawing d(ctx, list);
    const ControlPlace p = d.Outline(control);
    if (HasStyleBits(control.style, kUpDownAcross)) {
        const double half = p.w / 2.0;
        d.out.Add(Line(p.x + half, p.y, p.x + half, p.bottom));
        d.out.Add(Pointer(p.x, p.y, half, p.h, 'l'));
        d.out.Add(Pointer(p.x + half, p.y, half, p.h, 'r'));
    } else {
        const double half = p.h / 2.0;
        d.out.Add(Line(p.x, p.y + half, p.right, p.y + half));
        d.out.Add(Pointer(p.x, p.y, p.w, half, 'u'));
        d.out.Add(Pointer(p.x, p.y + half, p.w, half, 'd'));
    }
    return d.Ok();
}

// The box and each item's text where the control reported it: hot key, month calendar, link.
bool DrawTexts(const DrawContext& ctx, const WindowRecord& control, PartList& list, bool boxed, TextLayout layout) {
    Drawing d(ctx, list);
    if (boxed) d.Outline(control);
    for (const ItemRecord& item : control.content.items) d.out.Add(TextAt(d.place(item.rect), item.text, layout));
    return d.Ok();
}

bool DrawLink(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    Drawing d(ctx, list);
    for (const ItemRecord& item : control.content.items)
        d.out.Add(TextAt(d.place(item.rect), LiteralText(WithoutLinkMarkup(item.text)), Wrapped(kLayoutLeft)));
    return d.Ok();
}

WindowRecord WithLiteralTexts(const WindowRecord& control) {
    WindowRecord copy = control;
    for (ItemRecord& item : copy.content.items) item.text = LiteralText(item.text);
    return copy;
}

}  // namespace

std::wstring WithoutLinkMarkup(std::wstring_view text) {
    auto lower = [](std::wstring_view s) {
        std::wstring l(s);
        for (wchar_t& c : l) c = static_cast<wchar_t>(std::towlower(c));
        return l;
    };
    const std::wstring folded = lower(text);
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        const bool opening = folded.compare(i, 2, L"<a") == 0 && i + 2 < text.size() &&
                             (folded[i + 2] == L'>' || std::iswspace(folded[i + 2]));
        const bool closing = folded.compare(i, 4, L"</a>") == 0;
        if (opening || closing) {
            const size_t end = text.find(L'>', i);
            if (end == std::wstring_view::npos) break;
            i = end + 1;
            continue;
        }
        out += text[i++];
    }
    return out;
}

bool DrawEditLines(const DrawContext& ctx, const WindowRecord& control, PartList& list) {
    if (control.content.items.empty()) return DrawTextBox(ctx, control, list);
    Drawing d(ctx, list);
    d.Outline(control);
    for (const ItemRecord& line : control.content.items)
        if (!line.text.empty()) d.out.Add(TextAt(d.place(line.rect), LiteralText(line.text), kLayoutLeft));
    return d.Ok() && DrawStyleScrollBars(ctx, control, list);
}

bool DrawBarControl(const DrawContext& ctx, DrawerKind kind, const WindowRecord& control, PartList& list) {
    bool ok = true;
    switch (kind) {
    case DrawerKind::CommonStatusBar: ok = DrawItemBoxes(ctx, control, list, true); break;
    case DrawerKind::Rebar: ok = DrawItemBoxes(ctx, control, list, false); break;
    case DrawerKind::Trackbar: ok = DrawTrackbar(ctx, control, list); break;
    case DrawerKind::ProgressBar: ok = DrawProgress(ctx, control, list); break;
    case DrawerKind::UpDown: ok = DrawUpDown(ctx, control, list); break;
    case DrawerKind::HotKey: ok = DrawTexts(ctx, WithLiteralTexts(control), list, true, kLayoutLeft); break;
    case DrawerKind::MonthCalendar: ok = DrawTexts(ctx, WithLiteralTexts(control), list, true, kLayoutCentred); break;
    case DrawerKind::DateTimePicker:
        ok = DrawFieldWithButton(ctx, control, list, HasStyleBits(control.style, kDateUpDown));
        break;
    case DrawerKind::ComboBoxEx: ok = DrawFieldWithButton(ctx, control, list, false); break;
    case DrawerKind::Link: ok = DrawLink(ctx, control, list); break;
    case DrawerKind::RichEdit: ok = DrawEditLines(ctx, control, list); break;
    default: return DrawUnlisted(ctx, control, list);
    }
    return ok && DrawChildren(ctx, control, list);
}

}  // namespace plumbo
