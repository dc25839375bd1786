#include "platform/window_win.h"

#include "platform/numeric.h"
#include "platform/screen_win.h"

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

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

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

float Window::Left() const { return PxToTwipsX(WindowRect().left); }
float Window::Top() const { return PxToTwipsY(WindowRect().top); }
float Window::Width() const {
    RECT r = WindowRect();
    return PxToTwipsX(r.right - r.left);
}
float Window::Height() const {
    RECT r = WindowRect();
    return PxToTwipsY(r.bottom - r.top);
}
float Window::ScaleWidth() const { return PxToTwipsX(ClientRect().right); }
float Window::ScaleHeight() const { return PxToTwipsY(ClientRect().bottom); }

void Window::Move(float left, float top, float width, float height) {
    MovePx(TwipsToPxX(left), TwipsToPxY(top), TwipsToPxX(width), TwipsToPxY(height));
}

void Window::SetVisible(bool show) {
    if (hwnd_) ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

void Window::SetNormalState() {
    if (hwnd_ && (IsIconic(hwnd_) || IsZoomed(hwnd_))) ShowWindow(hwnd_, SW_RESTORE);
}

TwipsPerPixel Tpp() {
    // Read once: the logical resolution of the screen does not change while we run
    // (system-DPI aware), and this is asked on every paint.
    static const TwipsPerPixel tpp = ScreenTwipsPerPixel();
    return tpp;
}

int TwipsToPxX(double twips) { return RoundHalfEven(twips / Tpp().x); }
int TwipsToPxY(double twips) { return RoundHalfEven(twips / Tpp().y); }

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace plumbo
