#include "app/about_win.h"

#include "app/app_win.h"
#include "app/menu_form_win.h"
#include "resource.h"

namespace plumbo {

namespace {
constexpr float kClientWidthTwips = 6150.0f;
constexpr float kClientHeightTwips = 3735.0f;
}  // namespace

bool AboutBox::Create(bool modal) {
    modal_ = modal;
    WindowArgs a;
    a.className = L"PlumboAbout";
    a.title = L"";
    a.style = WS_POPUP | WS_DLGFRAME;
    a.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    a.parent = TheApp().fMenu ? TheApp().fMenu->hwnd() : nullptr;
    RECT r{0, 0, TwipsToPxX(kClientWidthTwips), TwipsToPxY(kClientHeightTwips)};
    AdjustWindowRectEx(&r, a.style, FALSE, a.exStyle);
    a.width = r.right - r.left;
    a.height = r.bottom - r.top;
    a.x = (GetSystemMetrics(SM_CXSCREEN) - a.width) / 2;
    a.y = (GetSystemMetrics(SM_CYSCREEN) - a.height) / 2;
    if (!Window::Create(a)) return false;
    DrawBackground();
    return true;
}

void AboutBox::DrawBackground() {
    RECT c = ClientRect();
    HDC screen = GetDC(hwnd());
    image_.Reset(CreateCompatibleBitmap(screen, c.right, c.bottom));
    MemoryDc mem(screen);
    SelectGuard sel(mem.Get(), image_.Get());
    int H = c.bottom, W = c.right;
    int step = H / 16;
    if (step < 1) step = 1;
    for (int y = 0; y <= H; y += step) {
        RECT band{-1, y - 1, W, y + step};
        Brush b(CreateSolidBrush(RGB(0, 0, 255 - (H > 0 ? y * 255 / H : 0))));
        FillRect(mem.Get(), &band, b.Get());
    }
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLUMBO));
    DrawIconEx(mem.Get(), TwipsToPxX(180), TwipsToPxY(180), icon, TwipsToPxX(1800), TwipsToPxY(1680), 0, nullptr,
               DI_NORMAL);
    Font f(CreateFontW(-MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE,
                       SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ Ｐ明朝"));
    SelectGuard selFont(mem.Get(), f.Get());
    SetBkMode(mem.Get(), TRANSPARENT);
    SetTextColor(mem.Get(), RGB(255, 255, 255));
    TextOutW(mem.Get(), TwipsToPxX(4320), TwipsToPxY(1380), L"Ver 1999.12", 11);
    ReleaseDC(hwnd(), screen);
}

void AboutBox::Paint(HDC dc) {
    RECT c = ClientRect();
    MemoryDc mem(dc);
    SelectGuard sel(mem.Get(), image_.Get());
    BitBlt(dc, 0, 0, c.right, c.bottom, mem.Get(), 0, 0, SRCCOPY);
}

LRESULT AboutBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
    case WM_LBUTTONDOWN:
        if (modal_) {
            closed_ = true;
            DestroyWindow(hwnd());
        }
        return 0;
    default:
        return DefaultProc(msg, wp, lp);
    }
}

std::unique_ptr<AboutBox> ShowSplash() {
    auto box = std::make_unique<AboutBox>();
    if (!box->Create(false)) return nullptr;
    TheApp().fAbout = box.get();
    ShowWindow(box->hwnd(), SW_SHOWNA);
    UpdateWindow(box->hwnd());
    return box;
}

void mCtrlAbout_Click() {
    AboutBox box;
    if (!box.Create(true)) return;
    App& a = TheApp();
    a.fAbout = &box;
    HWND owner = a.fMenu->hwnd();
    EnableWindow(owner, FALSE);
    ShowWindow(box.hwnd(), SW_SHOW);
    MSG msg;
    while (!box.Closed() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(owner, TRUE);
    a.fAbout = nullptr;
}

}  // namespace plumbo
