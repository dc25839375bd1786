#include "dialogs/settings_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "core/numeric.h"
#include "core/settings_rules.h"
#include "core/texts.h"
#include "platform/dialog_control_win.h"
#include "platform/modal_win.h"
#include "platform/monitor_win.h"
#include "platform/profile_write_win.h"
#include "platform/run_entry_win.h"
#include "state/hotkeys_win.h"

namespace plumbo {

namespace {

// Client area and preview, in twips. The hotkeys' group lies below the first controls, and the
// true millimetres' group below it, so the other controls keep their places.
constexpr float kClientWidthTwips = 6660.0f;
constexpr float kCalibrationTopTwips = 4860.0f;
// The re-drawing's switch and starting with Windows, each in a row of its own below the true
// millimetres.
constexpr float kPicturesTopTwips = 6150.0f;
constexpr float kStartWithWindowsTopTwips = 6570.0f;
constexpr float kClientHeightTwips = 6960.0f;
constexpr float kPreviewWidthTwips = 4995.0f;
constexpr float kPreviewHeightTwips = 500.0f;
// The group box's top-left corner: everything inside it is placed from there.
constexpr float kGroupLeft = 60.0f;
constexpr float kGroupTop = 60.0f;
constexpr float kPreviewLeft = kGroupLeft + 120.0f;
constexpr float kPreviewTop = kGroupTop + 480.0f;

// None is IDOK or IDCANCEL: the dialog keys reach us as those two ids, and Enter is not meant
// to press "Ｏ．Ｋ" (see OnCommand).
enum ControlId : int {
    kGroupBox = 100,
    kPreviewCaption,
    kRulerColorButton,
    kTickColorButton,
    kNumberColorButton,
    kOkButton,
    kCancelButton,
    kTransparentCheck,
    kOutsideOption,
    kInsideOption,
    kHotKeyGroupBox,
    kPicturesCheck,
    kStartWithWindowsCheck,
    kCursorCheck,
    // One row per action, in HotKeyAction's order: a label, the key, and "なし".
    kHotKeyLabel = 200,
    kHotKeyControl = 210,
    kHotKeyNoneButton = 220,
};

// The hotkeys' group and its rows, in twips from the dialog's corner.
constexpr float kHotKeyGroupTop = 2430.0f;
constexpr float kHotKeyRowTop = kHotKeyGroupTop + 300.0f;
constexpr float kHotKeyRowStep = 420.0f;
constexpr float kHotKeyLabelLeft = 180.0f;
constexpr float kHotKeyLabelWidth = 1755.0f;
constexpr float kHotKeyControlLeft = 1980.0f;
constexpr float kHotKeyControlWidth = 2160.0f;
constexpr float kHotKeyNoneLeft = 4245.0f;
constexpr float kHotKeyNoneWidth = 915.0f;
constexpr float kHotKeyRowHeight = 315.0f;

constexpr const wchar_t* UiTexts::*kHotKeyLabels[kHotKeyActionCount] = {
    &UiTexts::setHotKeyRulers, &UiTexts::setHotKeyCapture, &UiTexts::setHotKeyRedraw, &UiTexts::setHotKeySize,
    &UiTexts::setHotKeyMeasure};

struct ControlDesign {
    int id;
    const wchar_t* cls;
    const wchar_t* UiTexts::*caption;
    DWORD style;
    float left, top, width, height;  // twips, from the group box's corner when inGroup
    bool inGroup;
    bool sizedToText = false;  // width and height those of the caption, in either language
};

// The group box comes first in the tab order and the preview second; it is created between
// these two rows.
constexpr ControlDesign kGroupDesign{
    kGroupBox, L"BUTTON", &UiTexts::setFrame, BS_GROUPBOX, kGroupLeft, kGroupTop, 5235, 2295, false};
constexpr ControlDesign kHotKeyGroupDesign{
    kHotKeyGroupBox, L"BUTTON", &UiTexts::setHotKeyFrame, BS_GROUPBOX, kGroupLeft, kHotKeyGroupTop, 5235, 2370, false};
constexpr ControlDesign kAfterPreview[] = {
    {kPreviewCaption, L"STATIC", &UiTexts::setPreview, SS_LEFT | SS_NOPREFIX, 120, 240, 795, 180, true, true},
    {kRulerColorButton, L"BUTTON", &UiTexts::setRulerColor, BS_PUSHBUTTON | WS_TABSTOP, 120, 1020, 1215, 315, true},
    {kTickColorButton, L"BUTTON", &UiTexts::setLineColor, BS_PUSHBUTTON | WS_TABSTOP, 1380, 1020, 1215, 315, true},
    {kNumberColorButton, L"BUTTON", &UiTexts::setNumberColor, BS_PUSHBUTTON | WS_TABSTOP, 2640, 1020, 1215, 315,
     true},
    {kOkButton, L"BUTTON", &UiTexts::setOk, BS_PUSHBUTTON | WS_TABSTOP, 5400, 180, 1155, 375, false},
    {kCancelButton, L"BUTTON", &UiTexts::setCancel, BS_PUSHBUTTON | WS_TABSTOP, 5400, 600, 1155, 375, false},
    {kTransparentCheck, L"BUTTON", &UiTexts::setTransparent, BS_AUTOCHECKBOX | WS_TABSTOP, 180, 1500, 1635, 255,
     true},
    {kOutsideOption, L"BUTTON", &UiTexts::setShowOut, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 2160, 1500, 2055,
     255, true},
    {kInsideOption, L"BUTTON", &UiTexts::setShowIn, BS_AUTORADIOBUTTON, 2160, 1860, 2055, 255, true},
    {kCursorCheck, L"BUTTON", &UiTexts::setShowCursor, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 180, 1860, 1635, 255,
     true},
};

constexpr ControlDesign kStartWithWindowsDesign{kStartWithWindowsCheck, L"BUTTON", &UiTexts::setStartWithWindows,
                                                BS_AUTOCHECKBOX | WS_TABSTOP, 180, kStartWithWindowsTopTwips, 4980, 255,
                                                false};
// The value Windows runs at log-on, the installer's as well: "<the program>" /startup.
constexpr wchar_t kRunEntryName[] = L"Plumbo";

std::wstring StartupCommand() {
    wchar_t exe[MAX_PATH * 4] = {};
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH * 4);
    return L"\"" + std::wstring(exe, n) + L"\" /startup";
}

LOGFONTW SettingsFont() {
    // A Windows of another language may lack the Japanese face; its own dialog font suits the
    // English texts.
    if (CurrentLanguage() != UiLanguage::Japanese) return MessageFont();
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(9, static_cast<int>(SystemDpi().y), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy_s(lf.lfFaceName, L"ＭＳ Ｐゴシック");
    return lf;
}

void CreateControl(DialogWindow& dialog, int font, const ControlDesign& d, DWORD exStyle = 0) {
    const float left = d.left + (d.inGroup ? kGroupLeft : 0.0f);
    const float top = d.top + (d.inGroup ? kGroupTop : 0.0f);
    dialog.AddControl({d.cls, Texts().*d.caption, d.id, d.style, exStyle, left, top, d.width, d.height, d.sizedToText},
                      font);
}

// The hot-key control's word: the key in the low byte, its own modifier bits in the high one.
// It has no Windows key: a key with one is shown without it (see ChosenHotKeys).
WORD ControlWord(HotKey key) {
    BYTE flags = 0;
    if (key.modifiers & kHotKeyShift) flags |= HOTKEYF_SHIFT;
    if (key.modifiers & kHotKeyCtrl) flags |= HOTKEYF_CONTROL;
    if (key.modifiers & kHotKeyAlt) flags |= HOTKEYF_ALT;
    // Keys of the block between the letters and the number pad, told from their number pad twins.
    if ((key.key >= VK_PRIOR && key.key <= VK_DOWN) || key.key == VK_INSERT || key.key == VK_DELETE ||
        key.key == VK_DIVIDE || key.key == VK_NUMLOCK)
        flags |= HOTKEYF_EXT;
    return key.None() ? 0 : MAKEWORD(key.key, flags);
}

HotKey FromControlWord(WORD word) {
    HotKey key;
    key.key = LOBYTE(word);
    const BYTE flags = HIBYTE(word);
    if (flags & HOTKEYF_SHIFT) key.modifiers |= kHotKeyShift;
    if (flags & HOTKEYF_CONTROL) key.modifiers |= kHotKeyCtrl;
    if (flags & HOTKEYF_ALT) key.modifiers |= kHotKeyAlt;
    return key.None() ? HotKey{} : key;
}

// A key that types, alone or with Shift, would be taken from every program's typing: the file
// refuses it, and here it gets Ctrl+Alt. The control's own rules cannot tell such a key from
// F5, which may stand alone.
HotKey Usable(HotKey key) {
    if (TakesTyping(key)) key.modifiers |= kHotKeyCtrl | kHotKeyAlt;
    return key;
}

}  // namespace

bool SettingsPreview::Create(HWND parent, int x, int y, int width, int height) {
    if (!Window::Create(PaintedChildArgs(L"PlumboSettingsPreview", parent, x, y, width, height))) return false;
    LayOut();
    return true;
}

void SettingsPreview::LayOut() {
    // The numbers stand on the long ticks by the height of a number in their own font at this DPI.
    WindowDc dc(hwnd());
    SelectGuard sel(dc.Get(), numberFont_ ? numberFont_.Get() : GuiFont());
    SIZE number{};
    GetTextExtentPoint32W(dc.Get(), L"0", 1, &number);
    layout_ = LayoutSettingsPreview(ScaleWidth(), ScaleHeight(), number.cy * LayoutTwipsPerPixel().y);
}

void SettingsPreview::SetDpi(Dpi dpi) {
    dpi_ = dpi;
    numberFont_.Reset();
    if (dpi != SystemDpi()) {
        LOGFONTW lf{};
        GetObjectW(GuiFont(), sizeof lf, &lf);
        lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi.y), static_cast<int>(SystemDpi().y));
        numberFont_.Reset(CreateFontIndirectW(&lf));
    }
    LayOut();
}

void SettingsPreview::OnPaint(HDC dc, const RECT& client) {
    const TwipsPerPixel tpp = LayoutTwipsPerPixel();
    Brush body(CreateSolidBrush(rulerColor));
    FillRect(dc, &client, body.Get());
    {
        Pen pen(CreatePen(PS_SOLID, 1, tickColor));
        SelectGuard selPen(dc, pen.Get());
        for (const PreviewTick& t : layout_.ticks) {
            const int x = RoundHalfEven(t.x / tpp.x);
            MoveToEx(dc, x, RoundHalfEven(t.yTop / tpp.y), nullptr);
            LineTo(dc, x, RoundHalfEven(t.yBottom / tpp.y));
        }
    }
    SelectGuard selFont(dc, numberFont_ ? numberFont_.Get() : GuiFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, numberColor);
    for (const PreviewNumber& n : layout_.numbers) {
        const std::wstring caption = std::to_wstring(n.value);
        TextOutW(dc, RoundHalfEven(n.left / tpp.x), RoundHalfEven(n.top / tpp.y), caption.c_str(),
                 static_cast<int>(caption.size()));
    }
}

SettingsDialog::SettingsDialog(Program& program) : program_(program), calibration_(program) {}

bool SettingsDialog::Create() {
    WindowArgs a;
    a.className = L"PlumboSettings";
    a.title = Texts().settingsCaption;
    a.style = WS_POPUP | WS_CAPTION | WS_DLGFRAME;
    a.exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    a.parent = program_.mainWindow;
    RECT r{0, 0, TwipsToPxX(kClientWidthTwips), TwipsToPxY(kClientHeightTwips)};
    AdjustWindowRectEx(&r, a.style, FALSE, a.exStyle);
    a.x = 0;
    a.y = 0;
    a.width = r.right - r.left;
    a.height = r.bottom - r.top;
    if (!Window::Create(a)) return false;
    font_ = AddFont(SettingsFont());
    // Created in tab order.
    CreateControl(*this, font_, kGroupDesign);
    const RECT p = PxRect(kPreviewLeft, kPreviewTop, kPreviewWidthTwips, kPreviewHeightTwips);
    if (!preview_.Create(hwnd(), p.left, p.top, p.right - p.left, p.bottom - p.top)) return false;
    AddChild(preview_.hwnd(), kPreviewLeft, kPreviewTop, kPreviewWidthTwips, kPreviewHeightTwips);
    for (const ControlDesign& d : kAfterPreview) CreateControl(*this, font_, d);
    CheckRadioButton(hwnd(), kOutsideOption, kInsideOption, kOutsideOption);
    CreateHotKeyRows();
    calibration_.Create(*this, font_, kCalibrationTopTwips);
    CreateControl(*this, font_, {kPicturesCheck, L"BUTTON", &UiTexts::setPictures, BS_AUTOCHECKBOX | WS_TABSTOP,
                                 kGroupLeft + 120.0f, kPicturesTopTwips, 6300.0f, 255.0f, false});
    CreateControl(*this, font_, kStartWithWindowsDesign);
    return true;
}

void SettingsDialog::OnDpiChanged() {
    preview_.SetDpi(LayoutDpi());
    preview_.Refresh();
    calibration_.ShowLine();
}

void SettingsDialog::CreateHotKeyRows() {
    // The hot-key control's class is registered on demand by the common controls.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);
    CreateControl(*this, font_, kHotKeyGroupDesign);
    for (int i = 0; i < kHotKeyActionCount; ++i) {
        const float top = kHotKeyRowTop + i * kHotKeyRowStep;
        CreateControl(*this, font_,
                      {kHotKeyLabel + i, L"STATIC", kHotKeyLabels[i], SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                       kHotKeyLabelLeft, top, kHotKeyLabelWidth, kHotKeyRowHeight, false});
        CreateControl(*this, font_,
                      {kHotKeyControl + i, HOTKEY_CLASSW, &UiTexts::setHotKeyNone, WS_TABSTOP, kHotKeyControlLeft,
                       top, kHotKeyControlWidth, kHotKeyRowHeight, false},
                      WS_EX_CLIENTEDGE);
        CreateControl(*this, font_,
                      {kHotKeyNoneButton + i, L"BUTTON", &UiTexts::setHotKeyNone, BS_PUSHBUTTON | WS_TABSTOP,
                       kHotKeyNoneLeft, top, kHotKeyNoneWidth, kHotKeyRowHeight, false});
    }
}

std::array<HotKey, kHotKeyActionCount> SettingsDialog::ChosenHotKeys() const {
    std::array<HotKey, kHotKeyActionCount> keys = program_.settings.hotKeys;
    for (int i = 0; i < kHotKeyActionCount; ++i) {
        const WORD word = static_cast<WORD>(SendMessageW(Item(kHotKeyControl + i), HKM_GETHOTKEY, 0, 0));
        // Untouched, a key keeps what the control cannot show (the Windows key).
        if (word != ControlWord(keys[i])) keys[i] = Usable(FromControlWord(word));
    }
    return keys;
}

void SettingsDialog::PlaceForOpening(bool rulersShown) {
    // On the target's monitor: over the rulers' corner, where the user's eyes already are, or
    // else in the middle; within its work area either way.
    const POINT corner{program_.rulers->HorizontalRect().left, program_.rulers->VerticalRect().top};
    PlaceOnWorkArea(hwnd(), program_.target.hwnd, rulersShown ? &corner : nullptr);
}

void SettingsDialog::Open() {
    if (!hwnd()) return;
    const Settings& s = program_.settings;
    preview_.rulerColor = s.rulerColor;
    preview_.tickColor = s.tickColor;
    preview_.numberColor = s.numberColor;
    preview_.Refresh();
    CheckDlgButton(hwnd(), kTransparentCheck, s.transparent ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), kPicturesCheck, s.pictures ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), kCursorCheck, s.showCursor ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(hwnd(), kOutsideOption, kInsideOption, s.inside ? kInsideOption : kOutsideOption);
    for (int i = 0; i < kHotKeyActionCount; ++i)
        SendMessageW(Item(kHotKeyControl + i), HKM_SETHOTKEY, ControlWord(s.hotKeys[i]), 0);
    // What the registry holds, whoever wrote it: the installer, or Windows' own start-up list.
    startsWithWindows_ = ReadRunEntry(kRunEntryName).has_value();
    CheckDlgButton(hwnd(), kStartWithWindowsCheck, startsWithWindows_ ? BST_CHECKED : BST_UNCHECKED);

    RulerService* rulers = program_.rulers;
    // Read before hiding: afterwards the rulers come back only if they were there.
    const bool rulersShown = rulers && rulers->Shown();
    PlaceForOpening(rulersShown);
    // For the monitor it stands on now.
    calibration_.Fill();
    if (rulers) rulers->Show(false);
    const std::array<HotKey, kHotKeyActionCount> keysBefore = s.hotKeys;
    keysChosen_ = false;
    // Released while the dialog is open: a registered key never reaches the hot-key controls.
    UnregisterHotKeys(program_.mainWindow);
    // The program ending (log-off, "終了") closed it: nothing comes back.
    if (!RunModal(hwnd(), Item(kRulerColorButton))) return;
    // After "Ｏ．Ｋ" the keys it showed; a key that cannot be had is stored as none.
    RegisterHotKeys(program_);
    for (int i = 0; i < kHotKeyActionCount && keysChosen_; ++i)
        if (s.hotKeys[i] != keysBefore[i]) program_.Save(HotKeySetting(static_cast<HotKeyAction>(i)));
    if (rulersShown) rulers->Show(true);
}

void SettingsDialog::PickColor(COLORREF& color) {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = hwnd();
    cc.rgbResult = color;
    cc.lpCustColors = customColors_;
    // Opened on the colour being edited, with the value boxes showing.
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    bool chosen = false;
    {
        ModalScope scope(nullptr, hwnd());
        chosen = ChooseColorW(&cc) != FALSE;
    }
    if (!chosen) return;
    color = cc.rgbResult;
    preview_.Refresh();
}

void SettingsDialog::StoreAndApply() {
    Settings& s = program_.settings;
    s.rulerColor = preview_.rulerColor;
    s.tickColor = preview_.tickColor;
    s.numberColor = preview_.numberColor;
    s.inside = !IsChecked(kOutsideOption);
    s.transparent = IsChecked(kTransparentCheck);
    s.pictures = IsChecked(kPicturesCheck);
    s.showCursor = IsChecked(kCursorCheck);
    for (SettingId id : {SettingId::RulerColor, SettingId::TickColor, SettingId::NumberColor, SettingId::Inside,
                         SettingId::Transparent, SettingId::Pictures, SettingId::ShowCursor})
        program_.Save(id);
    calibration_.Store();
    // Only a change of the box: an entry another copy of the program wrote stays its own.
    if (IsChecked(kStartWithWindowsCheck) != startsWithWindows_) {
        // A key locked by policy or by a security program: the box must not seem to have worked.
        if (const long error = WriteRunEntry(kRunEntryName, startsWithWindows_ ? nullptr : StartupCommand().c_str()))
            ModalMessageBox(hwnd(), FillIn(Texts().startWithWindowsFailed, {SystemErrorText(static_cast<DWORD>(error))}).c_str(),
                            Texts().messageTitle, MB_OK | MB_ICONWARNING);
    }
    // Colours, the transparent look and the menu's check marks; the rulers are hidden now and
    // take all of it when they are shown again.
    if (program_.rulers) program_.rulers->ApplySettings();
    s.hotKeys = ChosenHotKeys();
    keysChosen_ = true;
}

bool SettingsDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (code == EN_CHANGE && id >= kHotKeyControl && id < kHotKeyControl + kHotKeyActionCount) {
        // Shown as it will be taken as soon as it is typed.
        const HotKey typed = FromControlWord(static_cast<WORD>(SendMessageW(control, HKM_GETHOTKEY, 0, 0)));
        if (TakesTyping(typed)) SendMessageW(control, HKM_SETHOTKEY, ControlWord(Usable(typed)), 0);
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id >= kHotKeyNoneButton && id < kHotKeyNoneButton + kHotKeyActionCount) {
        HWND key = Item(kHotKeyControl + (id - kHotKeyNoneButton));
        SendMessageW(key, HKM_SETHOTKEY, 0, 0);
        SetFocus(key);
        return true;
    }
    if (calibration_.OnCommand(id)) return true;
    switch (id) {
    case kRulerColorButton:
        PickColor(preview_.rulerColor);
        return true;
    case kTickColorButton:
        PickColor(preview_.tickColor);
        return true;
    case kNumberColorButton:
        PickColor(preview_.numberColor);
        return true;
    case kOkButton:
        if (!calibration_.CheckTyped()) return true;
        StoreAndApply();
        Hide();
        return true;
    case kCancelButton:
    case IDCANCEL:  // Esc, sent by the modal loop's dialog keys
        Hide();
        return true;
    case IDOK:
        // Enter: the dialog never had a default button, so Enter stores nothing.
        return true;
    default:
        return false;
    }
}

LRESULT SettingsDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        // No close box; Alt+F4 counts as "キャンセル".
        Hide();
        return 0;
    }
    return DialogWindow::HandleMessage(msg, wp, lp);
}

}  // namespace plumbo
