#include "ruler/ruler_window_win.h"

#include <windowsx.h>

#include <string>
#include <unordered_map>

#include "app/app_win.h"
#include "app/menu_form_win.h"
#include "app/menu_table.h"
#include "app/settings.h"
#include "platform/numeric.h"
#include "ruler/transparent_win.h"

namespace plumbo {

namespace {

HFONT RulerFont() {
    // A small user-interface font; the numbers size themselves to it.
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

std::pair<float, float> MeasureRulerLabel(std::wstring_view caption) {
    // Every paint lays out every number; the captions are a few hundred short numbers in one
    // font, so each is measured once.
    static std::unordered_map<std::wstring, std::pair<float, float>> measured;
    auto it = measured.find(std::wstring(caption));
    if (it != measured.end()) return it->second;
    HDC dc = GetDC(nullptr);
    SIZE sz{};
    {
        SelectGuard sel(dc, RulerFont());
        GetTextExtentPoint32W(dc, caption.data(), static_cast<int>(caption.size()), &sz);
    }
    ReleaseDC(nullptr, dc);
    std::pair<float, float> size{PxToTwipsX(sz.cx), PxToTwipsY(sz.cy)};
    measured.emplace(std::wstring(caption), size);
    return size;
}

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
    int t = ThicknessPx();
    a.width = horizontal_ ? 200 : t;
    a.height = horizontal_ ? t : 200;
    return Window::Create(a);
}

int RulerWindow::ThicknessPx() const {
    return horizontal_ ? TwipsToPxY(kRulerThicknessTwips) : TwipsToPxX(kRulerThicknessTwips);
}

void RulerWindow::SetBaseColor(COLORREF color) {
    baseColor_ = color;
    background_.Reset();
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void RulerWindow::SetBackgroundImage(Bitmap image) {
    background_ = std::move(image);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void RulerWindow::FitModelToWindow() {
    model_.outerWidth = Width();
    model_.outerHeight = Height();
    model_.clientWidth = ScaleWidth();
    model_.clientHeight = ScaleHeight();
}

void RulerWindow::RunScale() {
    FitModelToWindow();
    ScaleContext ctx;
    ctx.twipsPerPixel = Tpp();
    ctx.insideFlg = gInsideFlg;
    ctx.measure = &MeasureRulerLabel;
    ScaleByUnit(gTani, horizontal_, model_, ctx);
}

void RulerWindow::Paint(HDC dc) {
    RunScale();
    RECT client = ClientRect();
    int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;

    // Drawn off-screen first so a moving ruler never flickers.
    MemoryDc mem(dc);
    Bitmap frame(CreateCompatibleBitmap(dc, w, h));
    SelectGuard selFrame(mem.Get(), frame.Get());
    if (background_) {
        MemoryDc src(dc);
        SelectGuard selBg(src.Get(), background_.Get());
        FillRect(mem.Get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        BitBlt(mem.Get(), 0, 0, w, h, src.Get(), 0, 0, SRCCOPY);
    } else {
        Brush bg(CreateSolidBrush(baseColor_));
        FillRect(mem.Get(), &client, bg.Get());
    }

    // pBase sits at the client origin; element coordinates are twips within it.
    const TwipsPerPixel tpp = Tpp();
    HDC m = mem.Get();
    // All ticks normally share one colour: one pen, made again only when the colour changes.
    Pen pen;
    COLORREF penColor = 0;
    SelectGuard selPen(m, GetStockObject(BLACK_PEN));
    for (const LineElement& ln : model_.lines) {
        if (!ln.visible) continue;
        if (!pen || penColor != ln.color) {
            Pen next(CreatePen(PS_SOLID, 1, ln.color));
            SelectObject(m, next.Get());
            pen = std::move(next);
            penColor = ln.color;
        }
        int x1 = RoundHalfEven(ln.x1 / tpp.x), y1 = RoundHalfEven(ln.y1 / tpp.y);
        int x2 = RoundHalfEven(ln.x2 / tpp.x), y2 = RoundHalfEven(ln.y2 / tpp.y);
        // From the tip towards the edge, so the tip pixel is drawn; the other end lies on or
        // beyond the edge anyway.
        MoveToEx(m, x2, y2, nullptr);
        LineTo(m, x1, y1);
    }
    SelectGuard selFont(m, RulerFont());
    SetBkMode(m, TRANSPARENT);
    for (const LabelElement& lb : model_.labels) {
        if (!lb.visible) continue;
        SetTextColor(m, lb.color);
        TextOutW(m, RoundHalfEven(lb.left / tpp.x), RoundHalfEven(lb.top / tpp.y), lb.caption.c_str(),
                 static_cast<int>(lb.caption.size()));
    }
    BitBlt(dc, 0, 0, w, h, m, 0, 0, SRCCOPY);
}

void RulerWindow::Form_Resize() {
    if (!IsNormalState() || resizing_) return;
    RECT r = WindowRect();
    int t = ThicknessPx();
    // Compared in whole pixels: 500 twips may not be a whole number of pixels, and asking
    // again for the size we already have must not start another resize.
    if (horizontal_ && r.bottom - r.top != t) {
        resizing_ = true;
        SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, t, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        resizing_ = false;
    } else if (!horizontal_ && r.right - r.left != t) {
        resizing_ = true;
        SetWindowPos(hwnd(), nullptr, 0, 0, t, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        resizing_ = false;
    }
    if (horizontal_) CopyBackHrz();
}

void RulerWindow::pBase_MouseUp() {
    App& a = TheApp();
    if (!a.fVer) return;
    RECT h = WindowRect();
    RECT v = a.fVer->WindowRect();
    int vw = v.right - v.left, vh = v.bottom - v.top;
    if (gInsideFlg)
        a.fVer->MovePx(h.left, h.top, vw, vh);
    else
        a.fVer->MovePx(h.left - vw, h.bottom, vw, vh);
    CopyBackHrz();
}

void RulerWindow::OnButtonDown(int button) {
    if (button == 1) {
        // The window manager's own move loop, as if the press were on a title bar. It takes
        // the press point from lParam, so hand it the real cursor position.
        DWORD pos = GetMessagePos();
        ReleaseCapture();
        SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(pos));
        // The move loop swallows the button release.
        if (horizontal_) pBase_MouseUp();
    } else if (button == 2) {
        POINT pt;
        GetCursorPos(&pt);
        UINT cmd = PopupMenuAt(TheApp().menus.Find(mMenu), hwnd(), pt);
        // Run from the main loop, not inside this button press: the commands open dialogs and
        // wait for them, and the desktop must first see the press and the menu finished.
        if (cmd && TheApp().fMenu) PostMessageW(TheApp().fMenu->hwnd(), WM_COMMAND, cmd, 0);
    }
}

LRESULT RulerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        Paint(dc);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Form_Resize();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(1);
        return 0;
    case WM_RBUTTONDOWN:
        OnButtonDown(2);
        return 0;
    case WM_LBUTTONUP:
        if (horizontal_) pBase_MouseUp();
        return 0;
    case WM_MOUSEACTIVATE:
        // A press on a ruler must not take the focus from the window being measured.
        return MA_NOACTIVATE;
    default:
        return DefaultProc(msg, wp, lp);
    }
}

}  // namespace plumbo
