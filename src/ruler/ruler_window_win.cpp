#include "ruler/ruler_window_win.h"

#include <windowsx.h>

#include <optional>

#include "core/calibration.h"
#include "core/measurement.h"
#include "core/numeric.h"

namespace plumbo {

bool RulerWindow::Create(HWND owner) {
    WindowArgs a;
    a.className = L"PlumboRuler";
    a.title = L"";
    // A fixed tool window: a thin frame, no title bar, no taskbar button.
    a.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    a.exStyle = WS_EX_TOOLWINDOW;
    a.parent = owner;
    a.x = 0;
    a.y = 0;
    const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    TakeDpi(primary, MonitorDpi(primary));
    const int thickness = ThicknessPx();
    a.width = horizontal_ ? 200 : thickness;
    a.height = horizontal_ ? thickness : 200;
    a.bufferedPaint = true;
    return Window::Create(a);
}

HMONITOR RulerWindow::Monitor() const {
    return monitor_ ? monitor_ : MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST);
}

int RulerWindow::ThicknessPx() const {
    return RoundHalfEven(kRulerThicknessTwips / (horizontal_ ? twipsPerPixel_.y : twipsPerPixel_.x));
}

void RulerWindow::TakeDpi(HMONITOR monitor, Dpi dpi) {
    dpi_ = dpi;
    twipsPerPixel_ = MonitorTwipsPerPixel(monitor, dpi);
    numberFont_.Reset();
}

void RulerWindow::OnDpiChanged(Dpi dpi, const RECT& suggested) {
    TakeDpi(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), dpi);
    // Dragged by the user, it takes the rectangle Windows suggests, which keeps it under the
    // cursor. Otherwise its place is given by the window it follows, not by a scaling of where
    // it stood: it takes its new thickness, and its owner is told.
    // Either way the thickness is fixed on the way (OnWindowPosChanging). Wine, every monitor at
    // the system DPI, never sends the message.
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (inMoveLoop_) {
        SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, kFlags);
    } else {
        const RECT r = WindowRect();
        SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, kFlags | SWP_NOMOVE);
        events_.DpiChanged(*this);
    }
    Redraw();
}

void RulerWindow::SetColors(COLORREF body, COLORREF ticks, COLORREF numbers) {
    bodyColor_ = body;
    // Element 0 included, so elements loaded later take the colours too.
    model_.ticks.SetColor(ticks);
    model_.numbers.SetColor(numbers);
    Redraw();
}

void RulerWindow::SetColorKey(std::optional<COLORREF> key) {
    colorKey_ = key;
    if (!hwnd()) return;
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    if (key) {
        if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        SetLayeredWindowAttributes(hwnd(), *key, 0, LWA_COLORKEY);
        Redraw();
    } else if (exStyle & WS_EX_LAYERED) {
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        // A window leaving the layered state has nothing on screen until it is painted again,
        // frame included.
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME);
    } else {
        Redraw();
    }
}

void RulerWindow::SetPlacedInside(bool inside) {
    if (placedInside_ == inside) return;
    placedInside_ = inside;
    Redraw();
}

int RulerWindow::BorderAlong() const {
    RECT window{};
    POINT client{0, 0};
    if (!hwnd() || !GetWindowRect(hwnd(), &window) || !ClientToScreen(hwnd(), &client)) return 0;
    return horizontal_ ? client.x - window.left : client.y - window.top;
}

void RulerWindow::RunScale() {
    model_.outerWidth = Width();
    model_.outerHeight = Height();
    // The scale runs from the ruler's outer edge, so that the part under its border counts too.
    const int border = BorderAlong();
    model_.clientWidth = ScaleWidth() + (horizontal_ ? static_cast<float>(border * twipsPerPixel_.x) : 0.0f);
    model_.clientHeight = ScaleHeight() + (horizontal_ ? 0.0f : static_cast<float>(border * twipsPerPixel_.y));
    ScaleContext ctx;
    ctx.twipsPerPixel = twipsPerPixel_;
    ctx.inside = placedInside_;
    ctx.measure = &MeasureGuiText;
    ctx.lengthScale =
        program_.calibrations.LengthScaleOf(Monitor(), horizontal_ ? ctx.twipsPerPixel.x : ctx.twipsPerPixel.y);
    ScaleByUnit(program_.unit, horizontal_, model_, ctx);
}

void RulerWindow::Redraw() {
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

HFONT RulerWindow::NumberFont() {
    const bool keyed = colorKey_.has_value();
    const Dpi system = SystemDpi();
    if (!keyed && dpi_ == system) return GuiFont();
    if (!numberFont_ || numberFontKeyed_ != keyed) {
        // The stock font is the system DPI's; on a monitor of another it is scaled to match, so
        // the numbers keep their size in twips and the scale's measure of them holds.
        LOGFONTW lf{};
        GetObjectW(GuiFont(), sizeof lf, &lf);
        lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi_.y), static_cast<int>(system.y));
        lf.lfWidth = MulDiv(lf.lfWidth, static_cast<int>(dpi_.x), static_cast<int>(system.x));
        // Smoothed text would blend its edges with the key into pixels that are neither the key
        // nor the number colour: a coloured fringe around every number. The same face, unsmoothed.
        if (keyed) lf.lfQuality = NONANTIALIASED_QUALITY;
        numberFont_.Reset(CreateFontIndirectW(&lf));
        numberFontKeyed_ = keyed;
    }
    return numberFont_ ? numberFont_.Get() : GuiFont();
}

void RulerWindow::OnPaint(HDC dc, const RECT& client) {
    RunScale();
    {
        Brush body(CreateSolidBrush(colorKey_ ? *colorKey_ : bodyColor_));
        FillRect(dc, &client, body.Get());
    }

    // Element coordinates are twips from the scale's zero: the ruler's outer edge, which stands on
    // the target's edge, a border's width before the client area begins. Value v then lies over
    // the target's pixel column (or row) v.
    const int border = BorderAlong();
    POINT clientOrigin{};
    OffsetViewportOrgEx(dc, horizontal_ ? -border : 0, horizontal_ ? 0 : -border, &clientOrigin);
    const TwipsPerPixel tpp = twipsPerPixel_;
    // All ticks normally share one colour: one pen, made again only when the colour changes.
    std::optional<Selected<HPEN>> pen;
    COLORREF penColor = 0;
    for (const LineElement& tick : model_.ticks) {
        if (!tick.visible) continue;
        if (!pen || penColor != tick.color) {
            pen.reset();
            pen.emplace(dc, Pen(CreatePen(PS_SOLID, 1, tick.color)));
            penColor = tick.color;
        }
        const int x1 = RoundHalfEven(tick.x1 / tpp.x), y1 = RoundHalfEven(tick.y1 / tpp.y);
        const int x2 = RoundHalfEven(tick.x2 / tpp.x), y2 = RoundHalfEven(tick.y2 / tpp.y);
        // From the tip towards the edge, so the tip pixel is drawn; the other end lies on or
        // beyond the edge anyway.
        MoveToEx(dc, x2, y2, nullptr);
        LineTo(dc, x1, y1);
    }
    SelectGuard selectFont(dc, NumberFont());
    SetBkMode(dc, TRANSPARENT);
    for (const LabelElement& number : model_.numbers) {
        if (!number.visible) continue;
        SetTextColor(dc, number.color);
        TextOutW(dc, RoundHalfEven(number.left / tpp.x), RoundHalfEven(number.top / tpp.y), number.caption.c_str(),
                 static_cast<int>(number.caption.size()));
    }
    SetViewportOrgEx(dc, clientOrigin.x, clientOrigin.y, nullptr);
    PaintMark(dc, client);
}

void RulerWindow::MarkPointer(POINT at) {
    const bool moved = !pointer_ || (horizontal_ ? at.x != pointer_->x : at.y != pointer_->y);
    pointer_ = at;
    if (program_.settings.showCursor && moved) Redraw();
}

void RulerWindow::PaintMark(HDC dc, const RECT& client) {
    if (!program_.settings.showCursor || !pointer_) return;
    const POINT at = *pointer_;
    POINT inClient = at;
    ScreenToClient(hwnd(), &inClient);
    const int along = horizontal_ ? inClient.x : inClient.y;
    if (along < 0 || along >= (horizontal_ ? client.right : client.bottom)) return;
    {
        Pen pen(CreatePen(PS_SOLID, 1, model_.ticks[0].color));
        SelectGuard selectPen(dc, pen.Get());
        MoveToEx(dc, horizontal_ ? along : 0, horizontal_ ? 0 : along, nullptr);
        LineTo(dc, horizontal_ ? along : client.right, horizontal_ ? client.bottom : along);
    }
    // From the target's visible corner, as a box measures; on the body beside the line, away from
    // the scale's numbers.
    const RECT& target = program_.target.rect;
    const double tpp = horizontal_ ? twipsPerPixel_.x : twipsPerPixel_.y;
    // The scale's own true millimetres: a calibration they do not take (one measured at another
    // resolution that no longer fits) is not the mark's either.
    const MeasureScale scale{program_.unit, NominalPixelsPerMm(tpp) * program_.calibrations.LengthScaleOf(Monitor(), tpp)};
    const std::wstring text = FormatLength(horizontal_ ? at.x - target.left : at.y - target.top, scale, false);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const int gap = 2;
    RECT box = horizontal_ ? RECT{along + gap, 0, along + gap + size.cx, size.cy}
                           : RECT{0, along + gap, size.cx, along + gap + size.cy};
    if (horizontal_ && box.right > client.right) OffsetRect(&box, -(size.cx + 2 * gap), 0);
    if (!horizontal_ && box.bottom > client.bottom) OffsetRect(&box, 0, -(size.cy + 2 * gap));
    Brush body(CreateSolidBrush(colorKey_ ? *colorKey_ : bodyColor_));
    FillRect(dc, &box, body.Get());
    SetTextColor(dc, model_.numbers[0].color);
    TextOutW(dc, box.left, box.top, text.c_str(), static_cast<int>(text.size()));
}

void RulerWindow::OnWindowPosChanging(WINDOWPOS& pos) const {
    // A ruler never takes the activation from the window being measured, whoever moves it:
    // Wine's move loop moves the window without saying so.
    pos.flags |= SWP_NOACTIVATE;
    if ((pos.flags & SWP_NOSIZE) || IsIconic(hwnd())) return;
    // The thickness is fixed before the size takes effect, and in whole pixels: 500 twips
    // need not be a whole number of pixels, and no resize ever has to answer another.
    (horizontal_ ? pos.cy : pos.cx) = ThicknessPx();
}

bool RulerWindow::PressedOnKey(LPARAM clientPoint) const {
    // Clicks on the keyed body pass through to the window behind, except under Wine where
    // nothing but its own desktop lies behind: the desktop hands the press back to us and
    // keeps the release, and a move loop started from it would never end. Such a press is
    // not the ruler's.
    if (!colorKey_) return false;
    WindowDc dc(hwnd());
    return GetPixel(dc.Get(), GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)) == *colorKey_;
}

void RulerWindow::StartDrag() {
    // The system's own move loop, as a press on a title bar starts it. It is asked for
    // directly rather than by passing the press on as one on a title bar, which would first
    // make the ruler the foreground window and take the activation from the window being
    // measured. The loop takes the press point from the message position and from lParam,
    // so it is handed the real cursor position of this press.
    const DWORD pressedAt = GetMessagePos();
    ReleaseCapture();
    SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, static_cast<LPARAM>(pressedAt));
    // The move loop has ended here and swallowed the button release.
    events_.Dragged(*this);
}

void RulerWindow::PopUpMenu() {
    if (!program_.commands) return;
    const DWORD pressedAt = GetMessagePos();
    program_.commands->PopUp(CommandId::RulerMenu, hwnd(), POINT{GET_X_LPARAM(pressedAt), GET_Y_LPARAM(pressedAt)});
}

LRESULT RulerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lp));
        break;
    case WM_SIZE:
        Redraw();
        return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        inMoveLoop_ = msg == WM_ENTERSIZEMOVE;
        break;
    case WM_DISPLAYCHANGE:
        // Monitors added, taken away or set to another resolution: the work areas the rulers keep
        // to and the rulers' own monitor may be others now.
        monitor_ = MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST);
        events_.DisplaysChanged(*this);
        break;
    case WM_DPICHANGED:
        // The new DPI is in wParam, the same both ways for a monitor.
        OnDpiChanged(Dpi{LOWORD(wp), HIWORD(wp)}, *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_MOVE: {
        // Another monitor may have another calibration: a ruler moved onto it lays out again.
        const HMONITOR monitor = MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST);
        if (monitor != monitor_) Redraw();
        monitor_ = monitor;
        break;
    }
    case WM_NCHITTEST: {
        // The frame is part of the ruler to the mouse: with the transparent look the frame,
        // the ticks and the numbers are all there is to take hold of.
        const LRESULT hit = Window::HandleMessage(msg, wp, lp);
        return hit == HTBORDER ? HTCLIENT : hit;
    }
    case WM_MOUSEACTIVATE:
        // A press on a ruler must not take the activation from the window being measured.
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        if (!PressedOnKey(lp)) StartDrag();
        return 0;
    case WM_LBUTTONUP:
        // A release the move loop left to us still ends the drag; following twice is harmless.
        events_.Dragged(*this);
        return 0;
    case WM_RBUTTONDOWN:
        if (!PressedOnKey(lp)) PopUpMenu();
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace plumbo
