#include "platform/dialog_control_win.h"

#include <algorithm>
#include <string>

#include "core/numeric.h"

namespace plumbo {

namespace {

HFONT CreateFontAt(const LOGFONTW& atSystemDpi, Dpi dpi) {
    LOGFONTW lf = atSystemDpi;
    const Dpi system = SystemDpi();
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi.y), static_cast<int>(system.y));
    lf.lfWidth = MulDiv(lf.lfWidth, static_cast<int>(dpi.x), static_cast<int>(system.x));
    return CreateFontIndirectW(&lf);
}

}  // namespace

TwipsPerPixel DialogWindow::LayoutTwipsPerPixel() const { return TwipsPerPixelAt(dpi_.x, dpi_.y); }

int DialogWindow::PxX(double twips) const { return RoundHalfEven(twips / LayoutTwipsPerPixel().x); }
int DialogWindow::PxY(double twips) const { return RoundHalfEven(twips / LayoutTwipsPerPixel().y); }

RECT DialogWindow::PxRect(float left, float top, float width, float height) const {
    return {PxX(left), PxY(top), PxX(left + width), PxY(top + height)};
}

int DialogWindow::AddFont(const LOGFONTW& atSystemDpi) {
    fonts_.push_back({atSystemDpi, Font(CreateFontAt(atSystemDpi, dpi_))});
    return static_cast<int>(fonts_.size()) - 1;
}

HWND DialogWindow::AddControl(const ControlArgs& a, int font) {
    const RECT r = PxRect(a.left, a.top, a.width, a.height);
    HWND control = CreateWindowExW(a.exStyle, a.className, a.text, WS_CHILD | WS_VISIBLE | a.style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, hwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)), GetModuleHandleW(nullptr),
                                   nullptr);
    if (!control) return nullptr;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(font)), FALSE);
    const bool label = _wcsicmp(a.className, L"STATIC") == 0;
    children_.push_back({control, a.left, a.top, a.width, a.height, font, a.sizedToText, label});
    if (a.sizedToText || label) {
        const RECT fit = PlaceOf(children_.back());
        SetWindowPos(control, nullptr, 0, 0, fit.right - fit.left, fit.bottom - fit.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return control;
}

void DialogWindow::AddChild(HWND child, float left, float top, float width, float height) {
    children_.push_back({child, left, top, width, height, -1, false, false});
}

RECT DialogWindow::PlaceOf(const Child& c) const {
    RECT r = PxRect(c.left, c.top, c.width, c.height);
    if (!c.sizedToText && !c.label) return r;
    const std::wstring text = ControlText(c.hwnd);
    WindowDc dc(c.hwnd);
    SelectGuard font(dc.Get(), DialogFont(c.font));
    RECT need{};
    const LONG prefix = GetWindowLongW(c.hwnd, GWL_STYLE) & SS_NOPREFIX ? DT_NOPREFIX : 0;
    DrawTextW(dc.Get(), text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE | prefix);
    if (c.sizedToText) return {r.left, r.top, r.left + need.right, r.top + need.bottom};
    return {r.left, r.top, std::max(r.right, r.left + need.right), std::max(r.bottom, r.top + need.bottom)};
}

void DialogWindow::LayOutAgain(Dpi dpi) {
    dpi_ = dpi;
    // The new fonts are given to the controls before the old ones are freed: a control keeps
    // only the handle, and draws with it until it has another.
    std::vector<Font> old;
    for (ScaledFont& f : fonts_) {
        old.push_back(std::move(f.font));
        f.font.Reset(CreateFontAt(f.atSystemDpi, dpi));
    }
    for (const Child& c : children_) {
        const RECT r = PlaceOf(c);
        SetWindowPos(c.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.font >= 0) SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(c.font)), TRUE);
    }
}

LRESULT DialogWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_DPICHANGED) return Window::HandleMessage(msg, wp, lp);
    const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutAgain({LOWORD(wp), HIWORD(wp)});
    OnDpiChanged();
    InvalidateRect(hwnd(), nullptr, TRUE);
    return 0;
}

}  // namespace plumbo
