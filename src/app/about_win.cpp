#include "app/about_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cwctype>
#include <vector>

#include "app/app_win.h"
#include "app/dialog_layout.h"
#include "app/menu_form_win.h"
#include "app/texts.h"
#include "platform/units.h"
#include "resource.h"
#include "ruler/ruler_window_win.h"

namespace plumbo {

namespace {

constexpr float kClientWidthTwips = 6150.0f;
constexpr float kClientHeightTwips = 3735.0f;

// Places in twips: left, top (and width, height for the images and the outline).
constexpr RECT kImage1{180, 180, 180 + 1800, 180 + 1680};
constexpr RECT kImage2{2220, 360, 2220 + 3690, 360 + 885};
constexpr RECT kShape1{2160, 1740, 2160 + 3675, 1740 + 1455};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLinkHover = RGB(255, 255, 0);

RECT TwipsRectToPx(const RECT& t) {
    return {TwipsToPxX(t.left), TwipsToPxY(t.top), TwipsToPxX(t.right), TwipsToPxY(t.bottom)};
}

// The owner of the title picture, drawn once per run: "Plumbo!" as outlined letters. A
// metafile stretches cleanly to whatever size the control comes to on this screen.
class TitlePicture {
public:
    ~TitlePicture() {
        if (emf_) DeleteEnhMetaFile(emf_);
    }
    HENHMETAFILE Get() {
        if (!emf_) emf_ = Draw();
        return emf_;
    }

private:
    static HENHMETAFILE Draw() {
        const double widthTwips = kImage2.right - kImage2.left;
        const double heightTwips = kImage2.bottom - kImage2.top;
        RECT frame{0, 0, static_cast<LONG>(widthTwips / kTwipsPerHimetric),
                   static_cast<LONG>(heightTwips / kTwipsPerHimetric)};
        HDC ref = GetDC(nullptr);
        HDC dc = CreateEnhMetaFileW(ref, nullptr, &frame, L"Plumbo!\0Title\0");
        ReleaseDC(nullptr, ref);
        if (!dc) return nullptr;
        const int w = TwipsToPxX(widthTwips), h = TwipsToPxY(heightTwips);
        Font font(CreateFontW(-h * 9 / 10, 0, 0, 0, FW_HEAVY, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                              CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_ROMAN,
                              L"Times New Roman"));
        Pen outline(CreatePen(PS_SOLID, 2, RGB(128, 192, 255)));
        Brush fill(CreateSolidBrush(kWhite));
        {
            SelectGuard selFont(dc, font.Get());
            SelectGuard selPen(dc, outline.Get());
            SelectGuard selBrush(dc, fill.Get());
            SetBkMode(dc, TRANSPARENT);
            SetTextAlign(dc, TA_CENTER | TA_TOP);
            BeginPath(dc);
            TextOutW(dc, w / 2, h / 20, L"Plumbo!", 7);
            EndPath(dc);
            StrokeAndFillPath(dc);
        }
        return CloseEnhMetaFile(dc);
    }

    HENHMETAFILE emf_ = nullptr;
};

TitlePicture gTitlePicture;

HFONT MakeLabelFont(HDC dc, bool bold, bool italic) {
    return CreateFontW(-MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic,
                       FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, L"ＭＳ Ｐ明朝");
}

// "scheme:" in front, as in "https:" or "mailto:".
bool HasScheme(const std::wstring& text) {
    size_t colon = text.find(L':');
    if (colon == std::wstring::npos || colon == 0 || !std::iswalpha(text[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        wchar_t c = text[i];
        if (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.') return false;
    }
    return true;
}

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
    LayOutLabels();
    return true;
}

void AboutBox::DrawBackground() {
    RECT c = ClientRect();
    WindowDc screen(hwnd());
    image_.Reset(CreateCompatibleBitmap(screen.Get(), c.right, c.bottom));
    MemoryDc mem(screen.Get());
    SelectGuard sel(mem.Get(), image_.Get());
    for (const GradientBand& b : VersionBoxGradient(c.right, c.bottom)) {
        RECT band{b.left, b.top, b.right, b.bottom};
        Brush brush(CreateSolidBrush(b.color));
        FillRect(mem.Get(), &band, brush.Get());
    }
}

void AboutBox::LayOutLabels() {
    const UiTexts& t = Texts();
    struct Design {
        Part part;
        const wchar_t* caption;
        LONG left, top;  // twips
        bool bold, italic;
    };
    const Design design[] = {
        {Part::lblBer, t.aboutVersion, 4320, 1380, true, true},
        {Part::Label3, t.aboutHomeCaption, 2280, 1860, false, true},
        {Part::lblHttp, t.aboutHomeLink, 2280, 2160, false, true},
        {Part::Label4, t.aboutMailCaption, 2280, 2580, false, true},
        {Part::lblMail, t.aboutMailLink, 2280, 2820, false, true},
        {Part::Label5, t.aboutNotice, 1380, 3420, false, false},
    };
    WindowDc dc(hwnd());
    regular_.Reset(MakeLabelFont(dc.Get(), false, false));
    italic_.Reset(MakeLabelFont(dc.Get(), false, true));
    boldItalic_.Reset(MakeLabelFont(dc.Get(), true, true));
    for (size_t i = 0; i < std::size(design); ++i) {
        const Design& d = design[i];
        Label& l = labels_[i];
        l = {d.part, d.caption, {}, d.bold, d.italic, kWhite};
        SelectGuard sel(dc.Get(), (d.bold ? boldItalic_ : d.italic ? italic_ : regular_).Get());
        SIZE sz{};
        GetTextExtentPoint32W(dc.Get(), l.caption.c_str(), static_cast<int>(l.caption.size()), &sz);
        const int x = TwipsToPxX(d.left), y = TwipsToPxY(d.top);
        l.rect = {x, y, x + sz.cx, y + sz.cy};
    }
}

void AboutBox::Paint(HDC dc) {
    RECT c = ClientRect();
    MemoryDc back(dc);
    Bitmap frame(CreateCompatibleBitmap(dc, c.right, c.bottom));
    SelectGuard selFrame(back.Get(), frame.Get());
    HDC m = back.Get();
    {
        MemoryDc src(dc);
        SelectGuard sel(src.Get(), image_.Get());
        BitBlt(m, 0, 0, c.right, c.bottom, src.Get(), 0, 0, SRCCOPY);
    }
    const RECT icon = TwipsRectToPx(kImage1);
    HICON hicon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLUMBO), IMAGE_ICON,
                                                icon.right - icon.left, icon.bottom - icon.top, LR_SHARED));
    if (hicon)
        DrawIconEx(m, icon.left, icon.top, hicon, icon.right - icon.left, icon.bottom - icon.top, 0, nullptr,
                   DI_NORMAL);
    const RECT title = TwipsRectToPx(kImage2);
    if (HENHMETAFILE emf = gTitlePicture.Get()) PlayEnhMetaFile(m, emf, &title);
    {
        // Shape1: a thin outline around the links.
        const RECT s = TwipsRectToPx(kShape1);
        Pen pen(CreatePen(PS_SOLID, 1, kWhite));
        SelectGuard selPen(m, pen.Get());
        SelectGuard selBrush(m, GetStockObject(NULL_BRUSH));
        Rectangle(m, s.left, s.top, s.right, s.bottom);
    }
    SetBkMode(m, TRANSPARENT);
    for (const Label& l : labels_) {
        SelectGuard sel(m, (l.bold ? boldItalic_ : l.italic ? italic_ : regular_).Get());
        SetTextColor(m, l.color);
        TextOutW(m, l.rect.left, l.rect.top, l.caption.c_str(), static_cast<int>(l.caption.size()));
    }
    BitBlt(dc, 0, 0, c.right, c.bottom, m, 0, 0, SRCCOPY);
}

AboutBox::Part AboutBox::HitTest(POINT p) const {
    // Labels lie above the images.
    for (const Label& l : labels_)
        if (PtInRect(&l.rect, p)) return l.part;
    const RECT title = TwipsRectToPx(kImage2);
    if (PtInRect(&title, p)) return Part::Image2;
    const RECT icon = TwipsRectToPx(kImage1);
    if (PtInRect(&icon, p)) return Part::Image1;
    return Part::None;
}

AboutBox::Label* AboutBox::Find(Part part) {
    for (Label& l : labels_)
        if (l.part == part) return &l;
    return nullptr;
}

void AboutBox::SetLinkColor(Part part, COLORREF color) {
    Label* l = Find(part);
    if (!l || l->color == color) return;
    l->color = color;
    InvalidateRect(hwnd(), &l->rect, FALSE);
}

void AboutBox::OpenLink(const Label& link) {
    std::wstring target = link.caption;
    // A bare address opens the mail program only with its scheme in front.
    if (link.part == Part::lblMail && !HasScheme(target)) target = L"mailto:" + target;
    HINSTANCE r = ShellExecuteW(hwnd(), L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(r);
    if (code >= 0 && code <= 32) MessageBoxW(hwnd(), Texts().noAssociatedProgram, Texts().messageTitle, MB_OK);
}

void AboutBox::Close() {
    closed_ = true;
    DestroyWindow(hwnd());
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
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(hwnd(), &p);
            Part part = HitTest(p);
            SetCursor(LoadCursorW(nullptr, part == Part::lblHttp || part == Part::lblMail ? IDC_HAND : IDC_ARROW));
            return TRUE;
        }
        return DefaultProc(msg, wp, lp);
    case WM_MOUSEMOVE: {
        // Only the background turns a yellow link white again.
        Part part = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (part == Part::lblHttp || part == Part::lblMail) {
            SetLinkColor(part, kLinkHover);
        } else if (part == Part::None) {
            SetLinkColor(Part::lblHttp, kWhite);
            SetLinkColor(Part::lblMail, kWhite);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        pressed_ = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        SetCapture(hwnd());
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() == hwnd()) ReleaseCapture();
        Part part = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (part != pressed_) return 0;  // a click is a press and release on the same thing
        pressed_ = Part::None;
        if (part == Part::lblHttp || part == Part::lblMail) {
            if (const Label* l = Find(part)) OpenLink(*l);
        } else if (modal_) {
            Close();
        }
        return 0;
    }
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
    // Modal: nothing else of ours takes input, the tray icon included.
    std::vector<HWND> disabled;
    for (Window* w : {static_cast<Window*>(a.fMenu), static_cast<Window*>(a.fHrz), static_cast<Window*>(a.fVer)})
        if (w && w->hwnd() && IsWindowEnabled(w->hwnd())) {
            EnableWindow(w->hwnd(), FALSE);
            disabled.push_back(w->hwnd());
        }
    ShowWindow(box.hwnd(), SW_SHOW);
    SetForegroundWindow(box.hwnd());
    MSG msg;
    while (!box.Closed()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (HWND h : disabled) EnableWindow(h, TRUE);
    a.fAbout = nullptr;
}

}  // namespace plumbo
