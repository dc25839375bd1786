#include "platform/window_win.h"

#include <unordered_map>

#include "core/numeric.h"
#include "platform/gdi_win.h"
#include "platform/modal_win.h"
#include "platform/dpi_win.h"

namespace plumbo {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::Create(const WindowArgs& a) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(inst, a.className, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = a.classStyle;
        wc.lpfnWndProc = &Window::StaticProc;
        wc.hInstance = inst;
        wc.hIcon = a.icon;
        wc.hIconSm = a.icon;
        wc.hCursor = a.cursor ? a.cursor : LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = a.background;
        wc.lpszClassName = a.className;
        if (!RegisterClassExW(&wc)) return false;
    }
    bufferedPaint_ = a.bufferedPaint;
    HWND h = CreateWindowExW(a.exStyle, a.className, a.title, a.style, a.x, a.y, a.width, a.height, a.parent,
                             a.menu, inst, this);
    return h != nullptr;
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT r = self->HandleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return r;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        if (!bufferedPaint_) break;
        PaintBuffered();
        return 0;
    case WM_ERASEBKGND:
        if (!bufferedPaint_) break;
        return 1;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
        break;
    case WM_SETCURSOR:
        // A click on a window a modal one has disabled: show the user where the answer is.
        if (LOWORD(lp) == static_cast<WORD>(HTERROR) &&
            (HIWORD(lp) == WM_LBUTTONDOWN || HIWORD(lp) == WM_RBUTTONDOWN) && ModalScope::Active()) {
            ModalScope::BringForward();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return DefaultProc(msg, wp, lp);
}

void Window::PaintBuffered() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const RECT client = ClientRect();
    // Only the part to be painted is buffered, the window drawing in its client coordinates
    // through the buffer's origin: a zoomed picture's window may be many times the screen, and
    // a bitmap of all of it too large to make.
    const RECT& area = ps.rcPaint;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width > 0 && height > 0) {
        MemoryDc back(dc);
        Bitmap frame(CreateCompatibleBitmap(dc, width, height));
        if (frame) {
            SelectGuard sel(back.Get(), frame.Get());
            SetViewportOrgEx(back.Get(), -area.left, -area.top, nullptr);
            OnPaint(back.Get(), client);
            SetViewportOrgEx(back.Get(), 0, 0, nullptr);
            BitBlt(dc, area.left, area.top, width, height, back.Get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(hwnd_, &ps);
}

RECT Window::WindowRect() const {
    RECT r{};
    if (hwnd_) GetWindowRect(hwnd_, &r);
    return r;
}

RECT Window::ClientRect() const {
    RECT r{};
    if (hwnd_) GetClientRect(hwnd_, &r);
    return r;
}

void Window::MovePx(int left, int top, int width, int height, bool repaint) {
    if (hwnd_) MoveWindow(hwnd_, left, top, width, height, repaint);
}

TwipsPerPixel Window::LayoutTwipsPerPixel() const { return Tpp(); }

float Window::Left() const { return static_cast<float>(WindowRect().left * LayoutTwipsPerPixel().x); }
float Window::Top() const { return static_cast<float>(WindowRect().top * LayoutTwipsPerPixel().y); }
float Window::Width() const {
    RECT r = WindowRect();
    return static_cast<float>((r.right - r.left) * LayoutTwipsPerPixel().x);
}
float Window::Height() const {
    RECT r = WindowRect();
    return static_cast<float>((r.bottom - r.top) * LayoutTwipsPerPixel().y);
}
float Window::ScaleWidth() const { return static_cast<float>(ClientRect().right * LayoutTwipsPerPixel().x); }
float Window::ScaleHeight() const { return static_cast<float>(ClientRect().bottom * LayoutTwipsPerPixel().y); }

void Window::Move(float left, float top, float width, float height) {
    const TwipsPerPixel tpp = LayoutTwipsPerPixel();
    MovePx(RoundHalfEven(left / tpp.x), RoundHalfEven(top / tpp.y), RoundHalfEven(width / tpp.x),
           RoundHalfEven(height / tpp.y));
}

void Window::SetVisible(bool show) {
    if (hwnd_) ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

void Window::SetNormalState() {
    if (hwnd_ && (IsIconic(hwnd_) || IsZoomed(hwnd_))) ShowWindow(hwnd_, SW_RESTORE);
}

TwipsPerPixel Tpp() {
    const Dpi system = SystemDpi();
    return TwipsPerPixelAt(system.x, system.y);
}

int TwipsToPxX(double twips) { return RoundHalfEven(twips / Tpp().x); }
int TwipsToPxY(double twips) { return RoundHalfEven(twips / Tpp().y); }

std::wstring ControlText(HWND control) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(control, s.data(), static_cast<int>(s.size()))));
    return s;
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

LOGFONTW MessageFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    return ncm.lfMessageFont;
}

std::pair<float, float> MeasureGuiText(std::wstring_view caption) {
    // Every paint of a ruler lays out every number; the captions are a few hundred short
    // numbers in one font, so each is measured once.
    static std::unordered_map<std::wstring, std::pair<float, float>> measured;
    auto it = measured.find(std::wstring(caption));
    if (it != measured.end()) return it->second;
    SIZE sz{};
    {
        WindowDc dc(nullptr);
        SelectGuard sel(dc.Get(), GuiFont());
        GetTextExtentPoint32W(dc.Get(), caption.data(), static_cast<int>(caption.size()), &sz);
    }
    std::pair<float, float> size{PxToTwipsX(sz.cx), PxToTwipsY(sz.cy)};
    measured.emplace(std::wstring(caption), size);
    return size;
}

}  // namespace plumbo
