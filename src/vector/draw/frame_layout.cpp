#include "vector/draw/frame_layout.h"

#include <algorithm>

#include "core/numeric.h"
#include "vector/draw/class_names.h"

namespace plumbo {

namespace {

// A caption button's glyph where the button is there but does nothing.
constexpr uint32_t kDisabledGrey = 0x808080;

}  // namespace

std::optional<WindowSize> DrawWindowFrame(const TargetRecord& target, PartList& list) {
    const Rect32& outer = target.window.window;
    const auto width = Sub32(outer.right, outer.left);
    const auto height = Sub32(outer.bottom, outer.top);
    if (!width || !height) return std::nullopt;

    list.width = *width;
    list.height = *height;
    list.unit = ListUnit::Pixels;
    const double W = *width, H = *height;
    const uint32_t style = target.window.style;
    const SystemMetrics& sm = target.metrics;

    PartAppender out{list};
    // The window hides what lies behind it, whatever a reader of the picture shows it over.
    out.Add(CoveringBox(0, 0, W, H));

    // The frame as Windows lays it out, side by side from where it put the client area: the
    // caption bar between the side borders, right above the menu bar or the client area. A scroll
    // bar is outside the client area too, so the caption takes the thinner side for both. A window
    // that answers WM_NCCALCSIZE with its caption's room for its client area (as most of today's
    // programs do) paints its own title bar, which its children show: none is made up. A client
    // area not read leaves the caption at the outer top, edge to edge.
    const FrameRecord& frame = target.frame;
    const bool tool = HasStyleBits(frame.exStyle, style_bits::kToolWindow);
    const double C = tool ? frame.cySmCaption : sm.cyCaption;
    const bool clientRead = frame.client.right > frame.client.left || frame.client.bottom > frame.client.top;
    const auto clientLeft = Sub32(frame.client.left, outer.left);
    const auto clientTop = Sub32(frame.client.top, outer.top);
    const auto clientRight = Sub32(outer.right, frame.client.right);
    const auto clientBottom = Sub32(outer.bottom, frame.client.bottom);
    if (clientRead && (!clientLeft || !clientTop || !clientRight || !clientBottom)) return std::nullopt;
    const double L = clientRead ? *clientLeft : 0;
    const double R = clientRead ? *clientRight : 0;
    const double T = clientRead ? *clientTop : 0;
    const double B = clientRead ? *clientBottom : 0;
    // The client area's edge, where the frame has any thickness.
    if (L > 0 || T > 0 || R > 0 || B > 0) out.Add(CoveringBox(L, T, W - L - R, H - T - B));
    double captionBottom = clientRead ? T : C;
    for (const MenuItemRecord& item : target.menuItems) {
        const auto y = Sub32(item.rect.top, outer.top);
        if (y && clientRead) captionBottom = std::min<double>(captionBottom, *y);
    }
    const double top = captionBottom - C;
    const double side = std::min(L, R);
    const double right = W - side;
    if (HasStyleBits(style, style_bits::kCaption) && top >= 0) {
        out.Add(Box(side, top, right - side, C, Fill::Caption));
        // The C x C square at the left end stays empty where the system icon would be.
        out.Add(BoxedText(side + C, top, right - side - C, C, target.window.text, kLayoutLeft));

        if (HasStyleBits(style, style_bits::kSysMenu)) {
            const double X = tool ? frame.cxSmSize : sm.cxSize, Y = tool ? frame.cySmSize : sm.cySize;
            const double m = (C - Y) / 2;

            out.Add(Box(right - X - m, top + m, X, Y, Fill::Caption));
            const double x0 = RoundHalfEven(right - X - m), y0 = RoundHalfEven(top + m);
            out.Add(Line(x0 + X / 4, y0 + Y / 4, x0 + 3 * X / 4, y0 + 3 * Y / 4));
            out.Add(Line(x0 + 3 * X / 4, y0 + Y / 4, x0 + X / 4, y0 + 3 * Y / 4));

            // The offsets are (X - m), not (X + m): the buttons overlap by 2m, as they always
            // have. Windows shows minimize and maximize together when either box is asked for,
            // the other disabled (greyed here); a tool window has only the close button; context
            // help takes the middle place where neither box is. A disabled window has the same
            // buttons as an enabled one.
            const bool minimize = HasStyleBits(style, style_bits::kMinimizeBox);
            const bool maximize = HasStyleBits(style, style_bits::kMaximizeBox);
            const double x1 = RoundHalfEven(right - 2 * (X - m)), y1 = RoundHalfEven(top + m);
            if (!tool && (minimize || maximize)) {
                out.Add(Box(right - 2 * (X - m), top + m, X, Y, Fill::Caption));
                RectPart glyph = Box(x1 + X / 4, y1 + Y / 4, X / 4 * 2, Y / 4 * 2, Fill::Caption);
                if (!maximize) glyph.penColor = kDisabledGrey;
                out.Add(glyph);
                out.Add(Box(right - 3 * (X - m), top + m, X, Y, Fill::Caption));
                const double x2 = RoundHalfEven(right - 3 * (X - m)), y2 = RoundHalfEven(top + m);
                LinePart low = Line(x2 + X / 4, y2 + 3 * Y / 4, x2 + 3 * X / 4, y2 + 3 * Y / 4);
                if (!minimize) low.color = kDisabledGrey;
                out.Add(low);
            } else if (!tool && HasStyleBits(frame.exStyle, style_bits::kContextHelp)) {
                out.Add(Box(right - 2 * (X - m), top + m, X, Y, Fill::Caption));
                out.Add(BoxedText(x1, y1, X, Y, L"?", kLayoutCentred));
            }
        }
    }

    // Menu captions at the places the system reports, with or without a caption bar.
    for (const MenuItemRecord& item : target.menuItems) {
        const auto x = Sub32(item.rect.left, outer.left);
        const auto y = Sub32(item.rect.top, outer.top);
        const auto w = Sub32(item.rect.right, item.rect.left);
        const auto h = Sub32(item.rect.bottom, item.rect.top);
        if (!x || !y || !w || !h) return std::nullopt;
        out.Add(BoxedText(*x, *y, *w, *h, item.text, kLayoutLeft));
    }

    if (!out.ok) return std::nullopt;
    return WindowSize{*width, *height};
}

}  // namespace plumbo
