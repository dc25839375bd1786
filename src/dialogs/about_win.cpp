#include "dialogs/about_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cwchar>
#include <cwctype>

#include "core/texts.h"
#include "core/units.h"
#include "platform/modal_win.h"
#include "platform/monitor_win.h"
#include "resource.h"

namespace plumbo {

namespace {

constexpr float kClientWidthTwips = 6150.0f;
constexpr float kClientHeightTwips = 3735.0f;

// Places in twips on the client area: left, top, right, bottom.
constexpr RECT kIconPlace{180, 180, 180 + 1800, 180 + 1680};
constexpr RECT kTitlePlace{2220, 360, 2220 + 3690, 360 + 885};
constexpr RECT kLinkOutline{2160, 1740, 2160 + 3675, 1740 + 1455};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLinkHover = RGB(255, 255, 0);

// The title picture, "Plumbo!" as outlined letters, drawn the first time it is needed and kept
// for the run. A metafile stretches cleanly to whatever size the place comes to on this screen.
class TitlePicture {
public:
    TitlePicture() = default;
    ~TitlePicture() {
        if (emf_) DeleteEnhMetaFile(emf_);
    }
    TitlePicture(const TitlePicture&) = delete;
    TitlePicture& operator=(const TitlePicture&) = delete;

    HENHMETAFILE Get() {
        if (!emf_) emf_ = Draw();
        return emf_;
    }

private:
    static HENHMETAFILE Draw() {
        const double widthTwips = kTitlePlace.right - kTitlePlace.left;
        const double heightTwips = kTitlePlace.bottom - kTitlePlace.top;
        RECT frame{0, 0, static_cast<LONG>(widthTwips / kTwipsPerHimetric),
                   static_cast<LONG>(heightTwips / kTwipsPerHimetric)};
        HDC dc = nullptr;
        {
            WindowDc screen(nullptr);
            dc = CreateEnhMetaFileW(screen.Get(), nullptr, &frame, L"Plumbo!\0Title\0");
        }
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

HENHMETAFILE TitleEmf() {
    static TitlePicture picture;
    return picture.Get();
}

LOGFONTW LabelFont(bool bold, bool italic) {
    // A serif face as the Japanese one is; a Windows of another language may lack that one.
    const bool japanese = CurrentLanguage() == UiLanguage::Japanese;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(12, static_cast<int>(SystemDpi().y), 72);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic;
    lf.lfCharSet = japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET;
    lf.lfPitchAndFamily = japanese ? DEFAULT_PITCH : VARIABLE_PITCH | FF_ROMAN;
    wcscpy_s(lf.lfFaceName, japanese ? L"ＭＳ Ｐ明朝" : L"Times New Roman");
    return lf;
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

bool AboutBox::Create(HWND owner, bool modal) {
    modal_ = modal;
    WindowArgs a;
    a.className = L"PlumboAbout";
    a.title = L"";
    a.style = WS_POPUP | WS_DLGFRAME;
    a.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    a.parent = owner;
    a.bufferedPaint = true;
    RECT r{0, 0, TwipsToPxX(kClientWidthTwips), TwipsToPxY(kClientHeightTwips)};
    AdjustWindowRectEx(&r, a.style, FALSE, a.exStyle);
    a.width = r.right - r.left;
    a.height = r.bottom - r.top;
    a.x = (GetSystemMetrics(SM_CXSCREEN) - a.width) / 2;
    a.y = (GetSystemMetrics(SM_CYSCREEN) - a.height) / 2;
    if (!Window::Create(a)) return false;
    const RECT c = ClientRect();
    background_ = VersionBoxGradient(c.right, c.bottom);
    regular_ = AddFont(LabelFont(false, false));
    italic_ = AddFont(LabelFont(false, true));
    boldItalic_ = AddFont(LabelFont(true, true));
    const RECT icon = PxOf(kIconPlace);
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLUMBO), IMAGE_ICON,
                                          icon.right - icon.left, icon.bottom - icon.top, LR_SHARED));
    LayOutLabels();
    return true;
}

RECT AboutBox::PxOf(const RECT& t) const {
    return PxRect(static_cast<float>(t.left), static_cast<float>(t.top), static_cast<float>(t.right - t.left),
                  static_cast<float>(t.bottom - t.top));
}

void AboutBox::OnDpiChanged() {
    const RECT c = ClientRect();
    background_ = VersionBoxGradient(c.right, c.bottom);
    LayOutLabels();
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
        {Part::VersionLabel, t.aboutVersion, 4320, 1380, true, true},
        {Part::HomeCaption, t.aboutHomeCaption, 2280, 1860, false, true},
        {Part::HomeLink, t.aboutHomeLink, 2280, 2160, false, true},
        {Part::MailCaption, t.aboutMailCaption, 2280, 2580, false, true},
        {Part::MailLink, t.aboutMailLink, 2280, 2820, false, true},
        {Part::Notice, t.aboutNotice, 1380, 3420, false, false},
    };
    WindowDc dc(hwnd());
    labels_.clear();
    for (const Design& d : design) {
        Label& l = labels_.emplace_back(Label{d.part, d.caption, {}, d.bold, d.italic, kWhite});
        SelectGuard sel(dc.Get(), FontOf(l));
        SIZE sz{};
        GetTextExtentPoint32W(dc.Get(), l.caption.c_str(), static_cast<int>(l.caption.size()), &sz);
        const int x = PxX(d.left), y = PxY(d.top);
        l.rect = {x, y, x + sz.cx, y + sz.cy};
    }
}

HFONT AboutBox::FontOf(const Label& label) const {
    return DialogFont(label.bold ? boldItalic_ : label.italic ? italic_ : regular_);
}

void AboutBox::OnPaint(HDC dc, const RECT& client) {
    for (const GradientBand& b : background_) {
        RECT band{b.left, b.top, b.right, b.bottom};
        Brush brush(CreateSolidBrush(b.color));
        FillRect(dc, &band, brush.Get());
    }
    if (icon_) {
        const RECT icon = PxOf(kIconPlace);
        DrawIconEx(dc, icon.left, icon.top, icon_, icon.right - icon.left, icon.bottom - icon.top, 0, nullptr,
                   DI_NORMAL);
    }
    const RECT title = PxOf(kTitlePlace);
    if (HENHMETAFILE emf = TitleEmf()) PlayEnhMetaFile(dc, emf, &title);
    {
        // A thin white frame around the two links.
        const RECT s = PxOf(kLinkOutline);
        Pen pen(CreatePen(PS_SOLID, 1, kWhite));
        SelectGuard selPen(dc, pen.Get());
        SelectGuard selBrush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, s.left, s.top, s.right, s.bottom);
    }
    SetBkMode(dc, TRANSPARENT);
    for (const Label& l : labels_) {
        SelectGuard sel(dc, FontOf(l));
        SetTextColor(dc, l.color);
        TextOutW(dc, l.rect.left, l.rect.top, l.caption.c_str(), static_cast<int>(l.caption.size()));
    }
}

AboutBox::Part AboutBox::HitTest(POINT p) const {
    // Labels lie above the pictures.
    for (const Label& l : labels_)
        if (PtInRect(&l.rect, p)) return l.part;
    const RECT title = PxOf(kTitlePlace);
    if (PtInRect(&title, p)) return Part::Title;
    const RECT icon = PxOf(kIconPlace);
    if (PtInRect(&icon, p)) return Part::Icon;
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
    if (link.part == Part::MailLink && !HasScheme(target)) target = L"mailto:" + target;
    HINSTANCE r = ShellExecuteW(hwnd(), L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(r);
    if (code >= 0 && code <= 32) ModalMessageBox(hwnd(), Texts().noAssociatedProgram, Texts().messageTitle, MB_OK);
}

void AboutBox::Close() {
    // Hidden is closed: RunModal stops there and ShowVersionBox destroys the box.
    if (GetCapture() == hwnd()) ReleaseCapture();
    pressed_ = Part::None;
    ShowWindow(hwnd(), SW_HIDE);
}

bool AboutBox::OnCommand(WORD id, WORD code, HWND control) {
    // Esc reaches us as IDCANCEL through the modal loop's dialog keys: one more way to close.
    if (id == IDCANCEL && modal_) {
        Close();
        return true;
    }
    return false;
}

LRESULT AboutBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        // Alt+F4 and the like: hide rather than let the system destroy the box under the modal
        // loop, so every way out ends the same way as a click.
        Close();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(hwnd(), &p);
            const Part part = HitTest(p);
            SetCursor(LoadCursorW(nullptr, part == Part::HomeLink || part == Part::MailLink ? IDC_HAND : IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        // Only the background turns a yellow link white again.
        const Part part = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (part == Part::HomeLink || part == Part::MailLink) {
            SetLinkColor(part, kLinkHover);
        } else if (part == Part::None) {
            SetLinkColor(Part::HomeLink, kWhite);
            SetLinkColor(Part::MailLink, kWhite);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        pressed_ = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        SetCapture(hwnd());
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() == hwnd()) ReleaseCapture();
        const Part part = HitTest({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (part != pressed_) return 0;  // a click is a press and release on the same thing
        pressed_ = Part::None;
        if (part == Part::HomeLink || part == Part::MailLink) {
            if (const Label* l = Find(part)) OpenLink(*l);
        } else if (modal_) {
            Close();
        }
        return 0;
    }
    default:
        break;
    }
    return DialogWindow::HandleMessage(msg, wp, lp);
}

std::unique_ptr<AboutBox> ShowSplash(HWND owner) {
    auto box = std::make_unique<AboutBox>();
    if (!box->Create(owner, false)) return nullptr;
    ShowWindow(box->hwnd(), SW_SHOWNA);
    UpdateWindow(box->hwnd());
    return box;
}

void ShowVersionBox(HWND owner, HWND nearWindow) {
    AboutBox box;
    if (!box.Create(owner, true)) return;
    PlaceOnWorkArea(box.hwnd(), nearWindow);
    // Nothing else of ours takes input meanwhile, the tray icon and an open "直接指定" included.
    RunModal(box.hwnd(), nullptr);
}

}  // namespace plumbo
