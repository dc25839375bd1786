#include "app/settings_dialog_win.h"

#include <commdlg.h>

#include <string>

#include "app/about_win.h"
#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/dialog_forms_win.h"
#include "app/dialog_layout.h"
#include "app/help_win.h"
#include "app/menu_form_win.h"
#include "app/menu_table.h"
#include "app/settings.h"
#include "app/settings_store_win.h"
#include "app/texts.h"
#include "platform/elements.h"
#include "platform/gdi_win.h"
#include "platform/window_win.h"
#include "ruler/ruler_window_win.h"
#include "ruler/transparent_win.h"

namespace plumbo {

namespace {

// Form and control geometry, in twips.
constexpr float kClientWidthTwips = 6660.0f;
constexpr float kClientHeightTwips = 2490.0f;
constexpr float kFrameLeft = 60.0f;  // Frame1's children are placed relative to it
constexpr float kFrameTop = 60.0f;
constexpr float kPreviewWidthTwips = 4995.0f;
constexpr float kPreviewHeightTwips = 500.0f;

// Control ids; none is IDOK or IDCANCEL, so Enter and Esc press nothing.
enum ControlId : int {
    kFrame1 = 100,
    kLabel1,
    kCommand1,
    kCommand2,
    kCommand3,
    kCommand4,
    kCommand5,
    kChkToumei,
    kOptOut,
    kOptIn,
};

struct ControlDesign {
    int id;
    const wchar_t* cls;
    const wchar_t* UiTexts::*caption;
    DWORD style;
    float left, top, width, height;  // twips, relative to the container
    bool inFrame;
};

// `pMej` (the preview) comes second in the tab order; it is created between these rows.
constexpr ControlDesign kFrameDesign{kFrame1, L"BUTTON", &UiTexts::setFrame, BS_GROUPBOX, 60, 60, 5235, 2295, false};
constexpr ControlDesign kAfterPreview[] = {
    {kLabel1, L"STATIC", &UiTexts::setPreview, SS_LEFT | SS_NOPREFIX, 120, 240, 795, 180, true},
    {kCommand1, L"BUTTON", &UiTexts::setRulerColor, BS_PUSHBUTTON | WS_TABSTOP, 120, 1020, 1215, 315, true},
    {kCommand2, L"BUTTON", &UiTexts::setLineColor, BS_PUSHBUTTON | WS_TABSTOP, 1380, 1020, 1215, 315, true},
    {kCommand3, L"BUTTON", &UiTexts::setNumberColor, BS_PUSHBUTTON | WS_TABSTOP, 2640, 1020, 1215, 315, true},
    {kCommand4, L"BUTTON", &UiTexts::setOk, BS_PUSHBUTTON | WS_TABSTOP, 5400, 180, 1155, 375, false},
    {kCommand5, L"BUTTON", &UiTexts::setCancel, BS_PUSHBUTTON | WS_TABSTOP, 5400, 600, 1155, 375, false},
    {kChkToumei, L"BUTTON", &UiTexts::setToumei, BS_AUTOCHECKBOX | WS_TABSTOP, 180, 1500, 1635, 255, true},
    {kOptOut, L"BUTTON", &UiTexts::setShowOut, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 2160, 1500, 2055, 255,
     true},
    {kOptIn, L"BUTTON", &UiTexts::setShowIn, BS_AUTORADIOBUTTON, 2160, 1860, 2055, 255, true},
};

HFONT DialogFont() {
    static HFONT font = [] {
        HDC dc = GetDC(nullptr);
        int h = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
        ReleaseDC(nullptr, dc);
        return CreateFontW(h, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳ Ｐゴシック");
    }();
    return font;
}

// `pMej`: a small ruler in the ruler colour whose ticks and numbers are windowless elements.
class PreviewBox : public Window {
public:
    bool Create(HWND parent, int x, int y, int w, int h) {
        WindowArgs a;
        a.className = L"PlumboSettingsPreview";
        a.style = WS_CHILD | WS_VISIBLE;
        a.parent = parent;
        a.x = x;
        a.y = y;
        a.width = w;
        a.height = h;
        return Window::Create(a);
    }

    COLORREF backColor = RGB(255, 255, 255);
    ElementArray<LineElement> linMej{LineElement{240.0f, 0.0f, 240.0f, 300.0f, 0, false}};
    ElementArray<LabelElement> lblMej{LabelElement{L"", 180.0f, 300.0f, 495.0f, 180.0f, 0, false}};

    void Refresh() { InvalidateRect(hwnd(), nullptr, FALSE); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd(), &ps);
            Paint(dc);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        default:
            return DefaultProc(msg, wp, lp);
        }
    }

private:
    void Paint(HDC dc) {
        RECT c = ClientRect();
        MemoryDc mem(dc);
        Bitmap image(CreateCompatibleBitmap(dc, c.right, c.bottom));
        SelectGuard selBitmap(mem.Get(), image.Get());
        HDC m = mem.Get();
        Brush back(CreateSolidBrush(backColor));
        FillRect(m, &c, back.Get());
        for (const LineElement& l : linMej) {
            if (!l.visible) continue;
            Pen pen(CreatePen(PS_SOLID, 1, l.color));
            SelectGuard selPen(m, pen.Get());
            MoveToEx(m, TwipsToPxX(l.x1), TwipsToPxY(l.y1), nullptr);
            LineTo(m, TwipsToPxX(l.x2), TwipsToPxY(l.y2));
        }
        SelectGuard selFont(m, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(m, TRANSPARENT);
        for (const LabelElement& lb : lblMej) {
            if (!lb.visible) continue;
            SetTextColor(m, lb.color);
            TextOutW(m, TwipsToPxX(lb.left), TwipsToPxY(lb.top), lb.caption.c_str(),
                     static_cast<int>(lb.caption.size()));
        }
        BitBlt(dc, 0, 0, c.right, c.bottom, m, 0, 0, SRCCOPY);
    }
};

class SettingsDialog : public Window {
public:
    bool CreateForm();
    void Open();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    void CreateControl(const ControlDesign& s);
    void PickColor(int button);
    void Command4_Click();
    void Command5_Click() { SetVisible(false); }

    PreviewBox pMej_;
};

SettingsDialog gSettingsDialog;

// Custom colours the user adds in the colour dialog stay for the run.
COLORREF gCustomColors[16] = {};

void SettingsDialog::CreateControl(const ControlDesign& s) {
    float left = s.left + (s.inFrame ? kFrameLeft : 0.0f);
    float top = s.top + (s.inFrame ? kFrameTop : 0.0f);
    HWND h = CreateWindowExW(0, s.cls, Texts().*s.caption, WS_CHILD | WS_VISIBLE | s.style, TwipsToPxX(left),
                             TwipsToPxY(top), TwipsToPxX(s.width), TwipsToPxY(s.height), hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
}

bool SettingsDialog::CreateForm() {
    WindowArgs a;
    a.className = L"PlumboSettings";
    a.title = Texts().settingsCaption;
    a.style = WS_POPUP | WS_CAPTION | WS_DLGFRAME;
    a.exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    // Owned by the hidden main form, so no taskbar button shows for it.
    a.parent = TheApp().fMenu ? TheApp().fMenu->hwnd() : nullptr;
    RECT r{0, 0, TwipsToPxX(kClientWidthTwips), TwipsToPxY(kClientHeightTwips)};
    AdjustWindowRectEx(&r, a.style, FALSE, a.exStyle);
    a.x = 0;
    a.y = 0;
    a.width = r.right - r.left;
    a.height = r.bottom - r.top;
    if (!Window::Create(a)) return false;
    // Created in tab order.
    CreateControl(kFrameDesign);
    pMej_.Create(hwnd(), TwipsToPxX(kFrameLeft + 120), TwipsToPxY(kFrameTop + 480), TwipsToPxX(kPreviewWidthTwips),
                 TwipsToPxY(kPreviewHeightTwips));
    for (const ControlDesign& s : kAfterPreview) CreateControl(s);
    CheckRadioButton(hwnd(), kOptOut, kOptIn, kOptOut);
    return true;
}

void SettingsDialog::Open() {
    App& app = TheApp();
    // 1.
    pMej_.backColor = gColorMej;
    // 2-7. The preview always shows millimetres with centimetre numbers.
    const float height = pMej_.ScaleHeight();
    const float labelHeight = MeasureRulerLabel(L"0").second;
    const PreviewLayout layout = LayoutSettingsPreview(pMej_.ScaleWidth(), height, labelHeight);
    const size_t n = layout.ticks.size();
    pMej_.linMej.EnsureCount(n);
    for (size_t i = 0; i < n; ++i) {
        const PreviewTick& t = layout.ticks[i];
        LineElement& l = pMej_.linMej[i];
        l.x1 = l.x2 = static_cast<float>(t.x);
        l.y2 = static_cast<float>(t.yBottom);
        l.y1 = static_cast<float>(t.yTop);
        l.visible = true;
        l.color = gColorLine;
    }
    const size_t m = layout.numbers.size();
    pMej_.lblMej.EnsureCount(m);
    for (size_t j = 0; j < m; ++j) {
        const PreviewNumber& num = layout.numbers[j];
        LabelElement& lb = pMej_.lblMej[j];
        lb.caption = std::to_wstring(num.value);
        auto [w, h] = MeasureRulerLabel(lb.caption);
        lb.width = w;
        lb.height = h;
        lb.left = static_cast<float>(num.left);
        lb.top = static_cast<float>(num.top);
        lb.visible = true;
        lb.color = gColorNo;
    }
    pMej_.Refresh();
    // 8-9.
    SendMessageW(Item(kChkToumei), BM_SETCHECK, gToumeiFlg ? BST_CHECKED : BST_UNCHECKED, 0);
    CheckRadioButton(hwnd(), kOptOut, kOptIn, gInsideFlg ? kOptIn : kOptOut);
    // 10.
    const bool rulersShown = app.fHrz && app.fHrz->Visible();
    if (rulersShown) {
        Move(app.fHrz->Left(), app.fVer->Top(), Width(), Height());
    } else {
        const TwipsPerPixel tpp = Tpp();
        const double screenW = GetSystemMetrics(SM_CXSCREEN) * tpp.x;
        const double screenH = GetSystemMetrics(SM_CYSCREEN) * tpp.y;
        Move(static_cast<float>(CentredOffsetTwips(screenW, Width())),
             static_cast<float>(CentredOffsetTwips(screenH, Height())), Width(), Height());
    }
    // 11-14.
    const bool wasShown = rulersShown;
    ShowRulers(false);
    HWND menuForm = app.fMenu ? app.fMenu->hwnd() : nullptr;
    if (menuForm) EnableWindow(menuForm, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(Item(kCommand1));
    // 15.
    MSG msg;
    while (Visible()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            SetVisible(false);
            break;
        }
        if (!IsDialogFormMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // 16-17.
    if (menuForm) EnableWindow(menuForm, TRUE);
    ShowRulers(wasShown);
}

void SettingsDialog::PickColor(int button) {
    COLORREF current = button == kCommand1   ? pMej_.backColor
                       : button == kCommand2 ? pMej_.linMej[0].color
                                             : pMej_.lblMej[0].color;
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = hwnd();
    cc.rgbResult = current;
    cc.lpCustColors = gCustomColors;
    // Opened on the colour being edited, with the value boxes showing.
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc)) return;  // cancelled: the preview keeps its colour
    if (button == kCommand1) pMej_.backColor = cc.rgbResult;
    else if (button == kCommand2) pMej_.linMej.SetColor(cc.rgbResult);
    else pMej_.lblMej.SetColor(cc.rgbResult);
    pMej_.Refresh();
}

void SettingsDialog::Command4_Click() {
    App& app = TheApp();
    const COLORREF mej = pMej_.backColor;
    const COLORREF line = pMej_.linMej[0].color;
    const COLORREF no = pMej_.lblMej[0].color;
    // 1-3.
    WriteIni(L"COLOR", L"MEJ", std::to_wstring(mej));
    WriteIni(L"COLOR", L"LINE", std::to_wstring(line));
    WriteIni(L"COLOR", L"NO", std::to_wstring(no));
    // 4-5.
    for (RulerWindow* r : {app.fHrz, app.fVer})
        if (r) r->SetBaseColor(mej);
    for (RulerWindow* r : {app.fHrz, app.fVer}) {
        if (!r) continue;
        r->Model().lines.SetColor(line);
        r->Model().labels.SetColor(no);
        if (r->hwnd()) InvalidateRect(r->hwnd(), nullptr, FALSE);
    }
    // 6.
    gColorMej = mej;
    gColorLine = line;
    gColorNo = no;
    // 7.
    if (SendMessageW(Item(kOptOut), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        gInsideFlg = false;
        WriteIni(L"SHOW", L"INSIDE", L"FALSE");
        CheckMenu(mMenuSetShowIn, false);
        CheckMenu(mMenuSetShowOut, true);
    } else {
        gInsideFlg = true;
        WriteIni(L"SHOW", L"INSIDE", L"TRUE");
        CheckMenu(mMenuSetShowIn, true);
        CheckMenu(mMenuSetShowOut, false);
    }
    // 8.
    if (SendMessageW(Item(kChkToumei), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        gToumeiFlg = true;
        WriteIni(L"SHOW", L"TRANSPARENT", L"TRUE");
        // The colour above replaced any copied background: the hidden rulers take fresh
        // copies as soon as they are shown again.
        CopyBackHrz();
        CopyBackVer();
    } else {
        gToumeiFlg = false;
        WriteIni(L"SHOW", L"TRANSPARENT", L"FALSE");
    }
    CheckMenu(mMenuSetToumei, gToumeiFlg);
    // 9.
    SetVisible(false);
}

LRESULT SettingsDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            switch (LOWORD(wp)) {
            case kCommand1:
            case kCommand2:
            case kCommand3:
                PickColor(LOWORD(wp));
                return 0;
            case kCommand4:
                Command4_Click();
                return 0;
            case kCommand5:
                Command5_Click();
                return 0;
            default:
                break;
            }
        }
        return 0;
    case WM_CLOSE:
        // No close box; Alt+F4 counts as "キャンセル".
        Command5_Click();
        return 0;
    default:
        return DefaultProc(msg, wp, lp);
    }
}

}  // namespace

Window* CreateSettingsDialog() {
    gSettingsDialog.CreateForm();
    return &gSettingsDialog;
}

void mCtrlSet_Click() {
    if (gSettingsDialog.hwnd()) gSettingsDialog.Open();
}

void RegisterSettingsCommands() {
    RegisterCommand(mCtrlSet, &mCtrlSet_Click);
    RegisterCommand(mCtrlAbout, &mCtrlAbout_Click);
    RegisterCommand(mCtrlHelp, &mCtrlHelp_Click);
}

}  // namespace plumbo
