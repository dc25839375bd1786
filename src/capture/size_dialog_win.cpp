// "直接指定" (fSize): the target window's outer size in millimetres, inches or pixels, and
// setting it to a typed size.
#include <variant>

#include "app/app_win.h"
#include "app/dialog_forms_win.h"
#include "app/settings.h"
#include "app/texts.h"
#include "capture/size_math.h"
#include "capture/target_win.h"
#include "capture/viewer_win.h"
#include "platform/gdi_win.h"
#include "platform/window_win.h"
#include "ruler/ruler_window_win.h"

namespace plumbo {

namespace {

// Client area and control rectangles in twips. Controls in the frame are placed relative to it.
constexpr float kClientWidth = 3255, kClientHeight = 1920;
struct TwipsRect {
    float left, top, width, height;
};
constexpr TwipsRect kFrame2{60, 120, 3075, 1215};
constexpr TwipsRect kOptTani[3] = {{1920, 240, 735, 315}, {1920, 480, 975, 315}, {1920, 720, 1035, 315}};
constexpr TwipsRect kTxtWidth{780, 300, 975, 315};
constexpr TwipsRect kTxtHeight{780, 720, 975, 315};
constexpr TwipsRect kLabel1{240, 300, 435, 180};
constexpr TwipsRect kLabel2{180, 780, 555, 180};
constexpr TwipsRect kCmdCancel{900, 1440, 1095, 375};
constexpr TwipsRect kCmdOK{2040, 1440, 1095, 375};

enum ControlId : int {
    kTxtWidthId = 201,
    kTxtHeightId,
    kOptTaniId0 = 210,  // + index
    kFrame2Id = 220,
    kLabel1Id,
    kLabel2Id,
};

class SizeDialog : public Window {
public:
    bool Build();
    void Fill(int index);
    void SelectOption(int index);
    void RunModal();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HWND AddControl(const wchar_t* cls, const wchar_t* text, DWORD style, int id, const TwipsRect& r,
                    bool inFrame);
    int SelectedOption() const;
    void optTani_Click(int index) { Fill(index); }
    void cmdOK_Click();
    void cmdCancel_Click() { SetVisible(false); }
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

    Font font_;
};

SizeDialog gSizeDialog;

HWND SizeDialog::AddControl(const wchar_t* cls, const wchar_t* text, DWORD style, int id, const TwipsRect& r,
                            bool inFrame) {
    float left = r.left + (inFrame ? kFrame2.left : 0), top = r.top + (inFrame ? kFrame2.top : 0);
    int x = TwipsToPxX(left), y = TwipsToPxY(top);
    int w = TwipsToPxX(left + r.width) - x, h = TwipsToPxY(top + r.height) - y;
    HWND c = CreateWindowExW(0, cls, text, style | WS_CHILD | WS_VISIBLE, x, y, w, h, hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return c;
}

bool SizeDialog::Build() {
    const UiTexts& t = Texts();
    WindowArgs a;
    a.className = L"PlumboSize";
    a.title = t.sizeCaption;
    a.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    a.exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;
    a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RECT r{0, 0, TwipsToPxX(kClientWidth), TwipsToPxY(kClientHeight)};
    AdjustWindowRectEx(&r, a.style, FALSE, a.exStyle);
    a.x = 0;
    a.y = 0;
    a.width = r.right - r.left;
    a.height = r.bottom - r.top;
    if (!Create(a)) return false;

    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    font_.Reset(CreateFontIndirectW(&ncm.lfMessageFont));

    // Created in tab order; the frame and the labels come last, so they also lie beneath the
    // controls they surround.
    AddControl(L"EDIT", L"", WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, kTxtWidthId, kTxtWidth, true);
    AddControl(L"EDIT", L"", WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, kTxtHeightId, kTxtHeight, true);
    const wchar_t* units[3] = {t.sizeUnitMm, t.sizeUnitInch, t.sizeUnitPixel};
    for (int i = 0; i < 3; ++i)
        AddControl(L"BUTTON", units[i], BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), kOptTaniId0 + i,
                   kOptTani[i], true);
    AddControl(L"BUTTON", t.sizeCancel, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDCANCEL, kCmdCancel, false);
    AddControl(L"BUTTON", t.sizeOk, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, kCmdOK, false);
    AddControl(L"BUTTON", t.sizeFrame, BS_GROUPBOX | WS_GROUP, kFrame2Id, kFrame2, false);
    AddControl(L"STATIC", t.sizeWidthLabel, SS_LEFT | WS_GROUP, kLabel1Id, kLabel1, true);
    AddControl(L"STATIC", t.sizeHeightLabel, SS_LEFT | WS_GROUP, kLabel2Id, kLabel2, true);
    SendMessageW(Item(kOptTaniId0), BM_SETCHECK, BST_CHECKED, 0);
    Fill(gTani);
    return true;
}

void SizeDialog::Fill(int index) {
    std::optional<SizeUnit> unit = SizeUnitFromIndex(index);
    if (!gTargetWnd.hWnd || !unit) return;
    RECT rc{};
    GetWindowRect(gTargetWnd.hWnd, &rc);
    ShownSize s = ShownWindowSize(rc.right - rc.left, rc.bottom - rc.top, *unit, Tpp());
    SetWindowTextW(Item(kTxtWidthId), std::to_wstring(s.width).c_str());
    SetWindowTextW(Item(kTxtHeightId), std::to_wstring(s.height).c_str());
}

void SizeDialog::SelectOption(int index) {
    for (int i = 0; i < 3; ++i)
        SendMessageW(Item(kOptTaniId0 + i), BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    optTani_Click(index);
}

int SizeDialog::SelectedOption() const {
    for (int i = 0; i < 3; ++i)
        if (SendMessageW(Item(kOptTaniId0 + i), BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
    return -1;
}

std::wstring TextOf(HWND control) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(control, s.data(), static_cast<int>(s.size()))));
    return s;
}

void SizeDialog::cmdOK_Click() {
    HWND target = gTargetWnd.hWnd;
    RECT rc{};
    GetWindowRect(target, &rc);
    // Neither option selected counts as pixels.
    int option = SelectedOption();
    SizeUnit unit = option == 0 ? SizeUnit::Millimetre : option == 1 ? SizeUnit::Inch : SizeUnit::Pixel;
    auto result = ConvertTypedSize(TextOf(Item(kTxtWidthId)), TextOf(Item(kTxtHeightId)), unit, Tpp());
    if (auto* error = std::get_if<SizeEntryError>(&result)) {
        // The dialog stays open with nothing changed, the bad box ready for a new value.
        MessageBoxW(hwnd(), SizeEntryMessage(*error).c_str(), Texts().messageTitle, MB_OK | MB_ICONEXCLAMATION);
        HWND box = Item(error->box == SizeBox::Width ? kTxtWidthId : kTxtHeightId);
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        return;
    }
    const TypedWindowSize& size = std::get<TypedWindowSize>(result);
    MoveWindow(target, rc.left, rc.top, size.widthPx, size.heightPx, TRUE);
    App& a = TheApp();
    if (a.fHrz) a.fHrz->Move(a.fHrz->Left(), a.fHrz->Top(), static_cast<float>(size.rulerWidthTwips), a.fHrz->Height());
    if (a.fVer) a.fVer->Move(a.fVer->Left(), a.fVer->Top(), a.fVer->Width(), static_cast<float>(size.rulerHeightTwips));
    SetVisible(false);
}

void SizeDialog::RunModal() {
    ShowWindow(hwnd(), SW_SHOW);
    // The ruler menu that chose the command has just closed; give the dialog the activation
    // once the messages of that closing have run, so the first click on it is a click.
    DoEvents();
    SetForegroundWindow(hwnd());
    SetActiveWindow(hwnd());
    HWND first = Item(kTxtWidthId);
    SetFocus(first);
    SendMessageW(first, EM_SETSEL, 0, -1);
    // The command waits for the dialog while the rest of the program stays alive.
    while (Visible()) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogFormMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

LRESULT SizeDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: {
        int id = LOWORD(wp);
        if (id == IDOK) cmdOK_Click();
        else if (id == IDCANCEL) cmdCancel_Click();
        else if (id >= kOptTaniId0 && id < kOptTaniId0 + 3 && HIWORD(wp) == BN_CLICKED) optTani_Click(id - kOptTaniId0);
        return 0;
    }
    case WM_CLOSE:
        // Any other way of closing is a Cancel.
        cmdCancel_Click();
        return 0;
    default:
        return DefaultProc(msg, wp, lp);
    }
}

}  // namespace

Window* CreateSizeDialog() {
    gSizeDialog.Build();
    return &gSizeDialog;
}

void mMenuActiveSize_Click() {
    if (!gTargetWnd.hWnd) return;
    SizeDialog& dlg = gSizeDialog;
    // Already open (the ruler menu still works during the wait): just bring it forward.
    if (dlg.Visible()) {
        SetForegroundWindow(dlg.hwnd());
        return;
    }
    if (std::optional<SizeUnit> unit = SizeUnitFromTani(gTani)) {
        int index = static_cast<int>(*unit);
        dlg.Fill(index);
        dlg.SelectOption(index);
    }
    SetRulersTopmost(false);
    bool serchWasOn = IsTimerEnabled(TimerId::Serch);
    SetTimerEnabled(TimerId::Serch, false);
    App& a = TheApp();
    if (a.fHrz && a.fVer)
        SetWindowPos(dlg.hwnd(), nullptr, a.fHrz->WindowRect().left, a.fVer->WindowRect().top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    dlg.RunModal();
    SetTimerEnabled(TimerId::Serch, serchWasOn);
    SetRulersTopmost(true);
}

}  // namespace plumbo
