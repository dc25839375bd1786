#include "measure/measure_window_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "core/texts.h"
#include "platform/clipboard_text_win.h"

namespace plumbo {

namespace {

// What is drawn over the picture: magenta seldom meets a program's own colours, and the labels
// stand on black so that they read over any picture.
constexpr COLORREF kMarkColour = RGB(255, 0, 255);
constexpr COLORREF kLabelText = RGB(255, 255, 255);
constexpr COLORREF kLabelBack = RGB(0, 0, 0);
constexpr COLORREF kBarBack = RGB(48, 48, 48);
constexpr COLORREF kBarChosen = RGB(0, 120, 215);
// Points at the monitor's DPI: the labels' size, the bar's padding, the label's distance from
// the cursor.
constexpr int kFontPoints = 9;
constexpr int kPaddingPoints = 3;
constexpr int kLabelOffsetPoints = 12;
// The wheel changes the tolerance by this much a notch, by one with Shift.
constexpr int kToleranceStep = 5;
constexpr WPARAM kCtrlC = 3;

POINT operator+(POINT a, POINT b) { return {a.x + b.x, a.y + b.y}; }

}  // namespace

bool MeasureWindow::Open(MeasureScene scene, std::function<void()> onLeave) {
    scene_ = std::move(scene);
    onLeave_ = std::move(onLeave);
    kept_.clear();
    notCopied_ = false;
    live_.reset();
    dragFrom_.reset();
    LOGFONTW lf{};
    GetObjectW(GuiFont(), sizeof lf, &lf);
    lf.lfHeight = -MulDiv(kFontPoints, static_cast<int>(scene_.dpi), 72);
    font_.Reset(CreateFontIndirectW(&lf));

    WindowArgs a;
    a.className = L"PlumboMeasure";
    a.title = Texts().measure;
    a.style = WS_POPUP;
    a.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    a.cursor = LoadCursorW(nullptr, IDC_CROSS);
    a.bufferedPaint = true;
    const RECT& m = scene_.monitor;
    a.x = m.left;
    a.y = m.top;
    a.width = m.right - m.left;
    a.height = m.bottom - m.top;
    if (!Create(a)) return false;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    FollowCursor();
    return true;
}

void MeasureWindow::SetPixelsPerMm(double pixelsPerMm) {
    scene_.scale.pixelsPerMm = pixelsPerMm;
    FollowCursor();
}

PixelGrid MeasureWindow::Grid() const {
    const int32_t w = scene_.monitor.right - scene_.monitor.left, h = scene_.monitor.bottom - scene_.monitor.top;
    return {w, h, {scene_.bits, static_cast<size_t>(w) * h}};
}

std::optional<MeasureWindow::Measurement> MeasureWindow::MeasureAt(POINT p) const {
    const PixelGrid grid = Grid();
    if (!scene_.bits || p.x < 0 || p.y < 0 || p.x >= grid.width || p.y >= grid.height) return std::nullopt;
    if (way_ == MeasureWay::Controls) return ControlAtPoint(p);
    if (way_ == MeasureWay::Box) return std::nullopt;
    Measurement m;
    const bool across = way_ != MeasureWay::Vertical, down = way_ != MeasureWay::Horizontal;
    const Span h = HorizontalSpanAt(grid, p.x, p.y, tolerance_), v = VerticalSpanAt(grid, p.x, p.y, tolerance_);
    if (across) m.lines.push_back({{h.first, p.y}, {h.last + 1, p.y}});
    if (down) m.lines.push_back({{p.x, v.first}, {p.x, v.last + 1}});
    if (across && down) {
        m.copied = SizeText(h.Length(), v.Length(), scene_.scale);
        m.label = SizeLabel(h.Length(), v.Length(), scene_.scale);
    } else {
        const int32_t length = across ? h.Length() : v.Length();
        m.copied = LengthText(length, scene_.scale);
        m.label = LengthLabel(length, scene_.scale);
    }
    m.labelAt = p;
    return m;
}

MeasureWindow::Measurement MeasureWindow::BoxBetween(POINT a, POINT b) const {
    // Both corners are inside the box: from pixel 10 to pixel 129 is 120 pixels.
    const RECT r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
    const int width = r.right - r.left, height = r.bottom - r.top;
    Measurement m;
    m.boxes.push_back(r);
    m.copied = SizeText(width, height, scene_.scale);
    const MeasureScale& s = scene_.scale;
    const double left = r.left + scene_.monitor.left - scene_.origin.x, top = r.top + scene_.monitor.top - scene_.origin.y;
    m.label = SizeLabel(width, height, s) + L"  (" + FormatLength(left, s, false) + L", " + FormatLength(top, s) + L")";
    m.labelAt = b;
    return m;
}

std::optional<MeasureWindow::Measurement> MeasureWindow::ControlAtPoint(POINT p) const {
    const POINT offset{scene_.monitor.left, scene_.monitor.top};
    const POINT screen = p + offset;
    const int32_t i = ControlAt(scene_.controls, screen.x, screen.y);
    if (i < 0) return std::nullopt;
    const ControlBox& c = scene_.controls[i];
    std::vector<PixelRect> siblings;
    for (size_t j = 0; j < scene_.controls.size(); ++j)
        if (static_cast<int32_t>(j) != i && scene_.controls[j].parent == c.parent) siblings.push_back(scene_.controls[j].outer);
    // The target's own client area has no parent to keep a distance from.
    const PixelRect reach = c.parent >= 0 ? GapsReach(c.outer, scene_.controls[c.parent].inner, siblings) : c.outer;
    // In client pixels from here on.
    auto x = [&](int32_t sx) { return static_cast<LONG>(sx - offset.x); };
    auto y = [&](int32_t sy) { return static_cast<LONG>(sy - offset.y); };
    const PixelRect& o = c.outer;
    const LONG midX = x((o.left + o.right) / 2), midY = y((o.top + o.bottom) / 2);
    Measurement m;
    m.boxes.push_back({x(o.left), y(o.top), x(o.right), y(o.bottom)});
    const int width = o.right - o.left, height = o.bottom - o.top;
    m.copied = SizeText(width, height, scene_.scale);
    m.label = SizeLabel(width, height, scene_.scale);
    m.labelAt = p;
    struct Gap { POINT from, to; int32_t length; };
    for (const Gap& g : {Gap{{x(reach.left), midY}, {x(o.left), midY}, o.left - reach.left},
                         Gap{{x(o.right), midY}, {x(reach.right), midY}, reach.right - o.right},
                         Gap{{midX, y(reach.top)}, {midX, y(o.top)}, o.top - reach.top},
                         Gap{{midX, y(o.bottom)}, {midX, y(reach.bottom)}, reach.bottom - o.bottom}}) {
        if (g.length <= 0) continue;
        m.lines.push_back({g.from, g.to});
        m.notes.push_back({{(g.from.x + g.to.x) / 2, (g.from.y + g.to.y) / 2}, LengthText(g.length, scene_.scale)});
    }
    return m;
}

void MeasureWindow::Follow(POINT p) {
    live_ = dragFrom_ ? std::optional(BoxBetween(*dragFrom_, p)) : MeasureAt(p);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void MeasureWindow::FollowCursor() {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd(), &cursor);
    Follow(cursor);
}

void MeasureWindow::Copy(const std::wstring& text) {
    // Another program holding the clipboard is said in the bar: the user would paste the old text.
    notCopied_ = !PutTextOnClipboard(hwnd(), text);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void MeasureWindow::Keep(Measurement m, bool withPrevious) {
    if (!withPrevious) kept_.clear();
    Copy(m.copied);
    kept_.push_back(std::move(m));
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void MeasureWindow::Leave() {
    if (!hwnd()) return;
    DestroyWindow(hwnd());
    kept_.clear();
    live_.reset();
    dragFrom_.reset();
    scene_ = {};
    if (auto leave = std::exchange(onLeave_, nullptr)) leave();
}

LRESULT MeasureWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_MOUSEMOVE:
        Follow(at);
        return 0;
    case WM_LBUTTONDOWN:
        if (way_ == MeasureWay::Box) {
            dragFrom_ = at;
            SetCapture(hwnd());
        }
        return 0;
    case WM_LBUTTONUP: {
        const bool withPrevious = (wp & MK_SHIFT) != 0;
        std::optional<Measurement> m = dragFrom_ ? std::optional(BoxBetween(*dragFrom_, at)) : MeasureAt(at);
        if (dragFrom_) ReleaseCapture();
        dragFrom_.reset();
        if (m) Keep(std::move(*m), withPrevious);
        return 0;
    }
    case WM_RBUTTONUP:
    case WM_CLOSE:  // Alt+F4 too puts everything back
        Leave();
        return 0;
    case WM_MOUSEWHEEL: {
        // Touchpads and free-spinning wheels on Windows send parts of a notch; they add up.
        // (Under Wine every turn comes as a whole notch.)
        wheelTurned_ += GET_WHEEL_DELTA_WPARAM(wp);
        const int notches = wheelTurned_ / WHEEL_DELTA;
        wheelTurned_ -= notches * WHEEL_DELTA;
        const int step = (GET_KEYSTATE_WPARAM(wp) & MK_SHIFT) ? 1 : kToleranceStep;
        tolerance_ = std::clamp(tolerance_ + notches * step, 0, kMaxEdgeTolerance);
        FollowCursor();
        return 0;
    }
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) {
            Leave();
        } else if (wp >= '1' && wp <= '5') {
            way_ = static_cast<MeasureWay>(wp - '1');
            dragFrom_.reset();
            FollowCursor();
        }
        return 0;
    case WM_CHAR:
        // Ctrl+C, as the keyboard's layout types it.
        if (wp == kCtrlC) {
            std::wstring all;
            for (const Measurement& m : kept_) all += (all.empty() ? L"" : L"\r\n") + m.copied;
            if (!all.empty()) Copy(all);
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragFrom_.reset();
        return 0;
    default:
        return Window::HandleMessage(msg, wp, lp);
    }
}

void MeasureWindow::DrawMeasurement(HDC dc, const Measurement& m) const {
    {
        Pen pen(CreatePen(PS_SOLID, 1, kMarkColour));
        SelectGuard selPen(dc, pen.Get());
        SelectGuard selBrush(dc, GetStockObject(NULL_BRUSH));
        for (const RECT& r : m.boxes) Rectangle(dc, r.left, r.top, r.right, r.bottom);
        for (const auto& [from, to] : m.lines) {
            MoveToEx(dc, from.x, from.y, nullptr);
            LineTo(dc, to.x, to.y);
        }
    }
    const int pad = MulDiv(kPaddingPoints, static_cast<int>(scene_.dpi), 72);
    const int offset = MulDiv(kLabelOffsetPoints, static_cast<int>(scene_.dpi), 72);
    auto label = [&](POINT at, const std::wstring& text) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        OffsetRect(&r, at.x + pad, at.y + pad);
        RECT back{r.left - pad, r.top - pad, r.right + pad, r.bottom + pad};
        // Kept on the screen: a label near the right or bottom edge turns to the cursor's other side.
        RECT client{};
        GetClientRect(hwnd(), &client);
        if (back.right > client.right) OffsetRect(&r, -(back.right - back.left) - 2 * offset, 0);
        if (back.bottom > client.bottom) OffsetRect(&r, 0, -(back.bottom - back.top) - 2 * offset);
        back = {r.left - pad, r.top - pad, r.right + pad, r.bottom + pad};
        Brush brush(CreateSolidBrush(kLabelBack));
        FillRect(dc, &back, brush.Get());
        DrawTextW(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    };
    label(m.labelAt + POINT{offset, offset}, m.label);
    for (const auto& [at, text] : m.notes) label(at, text);
}

void MeasureWindow::DrawBar(HDC dc, const RECT& client) const {
    const UiTexts& t = Texts();
    const std::wstring tolerance = FillIn(t.measureTolerance, {std::to_wstring(tolerance_)});
    const wchar_t* items[] = {t.measureBox, t.measureSpacing, t.measureHorizontal, t.measureVertical,
                              t.measureControls, tolerance.c_str(), notCopied_ ? t.measureNotCopied : t.measureLeave};
    const int pad = MulDiv(kPaddingPoints, static_cast<int>(scene_.dpi), 72);
    int width = 0, height = 0;
    for (const wchar_t* item : items) {
        SIZE size{};
        GetTextExtentPoint32W(dc, item, static_cast<int>(wcslen(item)), &size);
        width += size.cx + 4 * pad;
        height = std::max<int>(height, size.cy);
    }
    RECT bar{(client.right - width) / 2, 0, (client.right + width) / 2, height + 2 * pad};
    Brush back(CreateSolidBrush(kBarBack)), chosen(CreateSolidBrush(kBarChosen));
    FillRect(dc, &bar, back.Get());
    int x = bar.left;
    for (size_t i = 0; i < std::size(items); ++i) {
        SIZE size{};
        GetTextExtentPoint32W(dc, items[i], static_cast<int>(wcslen(items[i])), &size);
        RECT cell{x, bar.top, x + size.cx + 4 * pad, bar.bottom};
        if (i == static_cast<size_t>(way_)) FillRect(dc, &cell, chosen.Get());
        TextOutW(dc, x + 2 * pad, pad, items[i], static_cast<int>(wcslen(items[i])));
        x = cell.right;
    }
}

void MeasureWindow::OnPaint(HDC dc, const RECT& client) {
    {
        MemoryDc picture(dc);
        SelectGuard selBitmap(picture.Get(), scene_.picture.Get());
        BitBlt(dc, 0, 0, client.right, client.bottom, picture.Get(), 0, 0, SRCCOPY);
    }
    SelectGuard selFont(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelText);
    for (const Measurement& m : kept_) DrawMeasurement(dc, m);
    if (live_) DrawMeasurement(dc, *live_);
    DrawBar(dc, client);
}

}  // namespace plumbo
