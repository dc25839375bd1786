#include "sizing/size_dialog_win.h"

#include <optional>
#include <string>
#include <variant>

#include "core/texts.h"
#include "platform/dialog_control_win.h"
#include "platform/dpi_win.h"
#include "platform/modal_win.h"
#include "platform/monitor_win.h"
#include "platform/window_reports_win.h"

namespace plumbo {

namespace {

// Client area and control rectangles in twips. Controls in the unit frame are placed
// relative to it.
constexpr float kClientWidth = 3255, kClientHeight = 1920;
struct TwipsRect {
    float left, top, width, height;
};
constexpr TwipsRect kUnitFrame{60, 120, 3075, 1215};
constexpr TwipsRect kUnitOptions[3] = {{1920, 240, 735, 315}, {1920, 480, 975, 315}, {1920, 720, 1035, 315}};
constexpr TwipsRect kWidthBox{780, 300, 975, 315};
constexpr TwipsRect kHeightBox{780, 720, 975, 315};
constexpr TwipsRect kWidthLabel{240, 300, 435, 180};
constexpr TwipsRect kHeightLabel{180, 780, 555, 180};
// "Width:" and "Height:" need more room than the Japanese labels: both start further left and
// take the taller line of the message font.
constexpr TwipsRect kEnglishWidthLabel{120, 300, 630, 270};
constexpr TwipsRect kEnglishHeightLabel{120, 780, 630, 270};
constexpr TwipsRect kCancelButton{900, 1440, 1095, 375};
constexpr TwipsRect kOkButton{2040, 1440, 1095, 375};

// Whoever drives the dialog from outside finds its controls by these ids.
enum ControlId : int {
    kWidthBoxId = 201,
    kHeightBoxId,
    kFirstUnitOptionId = 210,  // + the SizeUnit value
    kUnitFrameId = 220,
    kWidthLabelId,
    kHeightLabelId,
};

// Longest we wait for another program's window to take its new size.
constexpr UINT kTargetAnswerMs = 250;

PixelRect BoxOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The target's own thread carries out the move. One that answers at once is waited for, so
// the target has its size when the dialog closes; one that does not gets the move posted,
// to take when it can, and we go on. A maximized or minimized window is restored first: sized
// as it is, it would keep the screen's size, or take the new one only once restored.
void ResizeTarget(HWND target, PixelSize visibleSize) {
    const bool answers = WindowAnswers(target, kTargetAnswerMs);
    if (IsZoomed(target) || IsIconic(target)) {
        if (answers)
            ShowWindow(target, SW_RESTORE);
        else
            ShowWindowAsync(target, SW_RESTORE);
    }
    RECT outer{};
    GetWindowRect(target, &outer);
    const PixelSize size = OuterSizeForVisibleSize(BoxOf(outer), BoxOf(VisibleFrame(target)), visibleSize.width,
                                                   visibleSize.height);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!answers) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(target, nullptr, outer.left, outer.top, size.width, size.height, flags);
}

}  // namespace

SizeDialog::SizeDialog(Program& program) : program_(program) {}

bool SizeDialog::Create() {
    const UiTexts& t = Texts();
    WindowArgs a;
    a.className = L"PlumboSize";
    a.title = t.sizeCaption;
    a.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    a.exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;
    a.parent = program_.mainWindow;
    a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RECT r{0, 0, TwipsToPxX(kClientWidth), TwipsToPxY(kClientHeight)};
    AdjustWindowRectEx(&r, a.style, FALSE, a.exStyle);
    a.x = 0;
    a.y = 0;
    a.width = r.right - r.left;
    a.height = r.bottom - r.top;
    if (!Window::Create(a)) return false;

    const int font = AddFont(MessageFont());

    auto add = [&](const wchar_t* className, const wchar_t* text, DWORD style, int id, const TwipsRect& rect,
                   bool inFrame) {
        const float left = rect.left + (inFrame ? kUnitFrame.left : 0);
        const float top = rect.top + (inFrame ? kUnitFrame.top : 0);
        return AddControl({className, text, id, style, 0, left, top, rect.width, rect.height}, font);
    };
    // Created in tab order; the frame and the labels come last, so they also lie beneath the
    // controls they surround.
    const DWORD box = WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL;
    add(L"EDIT", L"", box, kWidthBoxId, kWidthBox, true);
    add(L"EDIT", L"", box, kHeightBoxId, kHeightBox, true);
    const wchar_t* unitCaptions[3] = {t.sizeUnitMm, t.sizeUnitInch, t.sizeUnitPixel};
    for (int i = 0; i < 3; ++i)
        add(L"BUTTON", unitCaptions[i], BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0),
            kFirstUnitOptionId + i, kUnitOptions[i], true);
    add(L"BUTTON", t.sizeCancel, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDCANCEL, kCancelButton, false);
    add(L"BUTTON", t.sizeOk, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, kOkButton, false);
    add(L"BUTTON", t.sizeFrame, BS_GROUPBOX | WS_GROUP, kUnitFrameId, kUnitFrame, false);
    const bool english = CurrentLanguage() != UiLanguage::Japanese;
    add(L"STATIC", t.sizeWidthLabel, SS_LEFT | WS_GROUP, kWidthLabelId, english ? kEnglishWidthLabel : kWidthLabel,
        true);
    add(L"STATIC", t.sizeHeightLabel, SS_LEFT | WS_GROUP, kHeightLabelId,
        english ? kEnglishHeightLabel : kHeightLabel, true);
    SendMessageW(Item(kFirstUnitOptionId), BM_SETCHECK, BST_CHECKED, 0);
    return true;
}

void SizeDialog::Fill(SizeUnit unit) {
    if (!IsWindow(program_.target.hwnd)) return;
    // The frame a person sees, without the invisible resize borders of Windows 10 and 11.
    const RECT outer = VisibleFrame(program_.target.hwnd);
    // In the pixels of the target's monitor, whatever monitor the dialog stands on, and in the
    // true millimetres and inches of that monitor.
    const TwipsPerPixel tpp = WindowTwipsPerPixel(program_.target.hwnd);
    const ShownSize s = ShownWindowSize(outer.right - outer.left, outer.bottom - outer.top, unit, tpp,
                                        program_.calibrations.LengthScaleOf(program_.target.hwnd, tpp.x));
    filled_ = {unit, std::to_wstring(s.width), std::to_wstring(s.height), outer.right - outer.left, outer.bottom - outer.top};
    SetWindowTextW(Item(kWidthBoxId), filled_.width.c_str());
    SetWindowTextW(Item(kHeightBoxId), filled_.height.c_str());
}

void SizeDialog::SelectUnit(SizeUnit unit) {
    for (int i = 0; i < 3; ++i)
        SendMessageW(Item(kFirstUnitOptionId + i), BM_SETCHECK,
                     i == static_cast<int>(unit) ? BST_CHECKED : BST_UNCHECKED, 0);
    Fill(unit);
}

SizeUnit SizeDialog::SelectedUnit() const {
    for (int i = 0; i < 3; ++i)
        if (SendMessageW(Item(kFirstUnitOptionId + i), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return static_cast<SizeUnit>(i);
    // Neither option checked counts as pixels, as it always has.
    return SizeUnit::Pixel;
}

void SizeDialog::Open() {
    const HWND target = program_.target.hwnd;
    if (!hwnd() || !target || !IsWindow(target)) return;
    if (Visible()) {
        SetForegroundWindow(hwnd());
        return;
    }
    SelectUnit(SizeUnitFor(program_.unit));
    RulerService* rulers = program_.rulers;
    // Opened by its hotkey with the rulers hidden, it stands where their corner would be: at
    // the target's top-left corner.
    const RECT targetRect = VisibleFrame(target);
    POINT corner{targetRect.left, targetRect.top};
    if (rulers && rulers->Shown()) corner = {rulers->HorizontalRect().left, rulers->VerticalRect().top};
    PlaceOnWorkArea(hwnd(), target, &corner);
    HWND widthBox = Item(kWidthBoxId);
    SendMessageW(widthBox, EM_SETSEL, 0, -1);

    // Topmost rulers would cover the dialog; the target must stay put while it is typed for.
    const bool rulersOnTop = rulers && rulers->OnTop();
    if (rulers) {
        rulers->SetOnTop(false);
        rulers->SuspendTracking();
    }
    RunModal(hwnd(), widthBox);
    if (rulers) {
        rulers->ResumeTracking();
        rulers->SetOnTop(rulersOnTop);
    }
}

void SizeDialog::Accept() {
    const HWND target = program_.target.hwnd;
    if (!IsWindow(target)) {
        Close();
        return;
    }
    const TwipsPerPixel tpp = WindowTwipsPerPixel(target);
    auto result = ConvertTypedSize(ControlText(Item(kWidthBoxId)), ControlText(Item(kHeightBoxId)), SelectedUnit(), tpp,
                                   program_.calibrations.LengthScaleOf(target, tpp.x), &filled_);
    if (const auto* error = std::get_if<SizeEntryError>(&result)) {
        // The dialog stays open with nothing changed, the bad box ready for a new value.
        ModalMessageBox(hwnd(), SizeEntryMessage(*error).c_str(), Texts().messageTitle, MB_OK | MB_ICONEXCLAMATION);
        HWND badBox = Item(error->box == SizeBox::Width ? kWidthBoxId : kHeightBoxId);
        SetFocus(badBox);
        SendMessageW(badBox, EM_SETSEL, 0, -1);
        return;
    }
    const TypedWindowSize& size = std::get<TypedWindowSize>(result);
    ResizeTarget(target, {size.widthPx, size.heightPx});
    // The window may keep another size: one it will not take (its smallest or largest), a program
    // of a higher integrity level that refuses ours, or no answer yet. The user hears of it, and
    // the rulers stand along what the window really is.
    const RECT now = VisibleFrame(target);
    const PixelSize taken{now.right - now.left, now.bottom - now.top};
    Close();
    if (taken == PixelSize{size.widthPx, size.heightPx}) {
        if (program_.rulers) program_.rulers->SetLengths(size.rulerWidthTwips, size.rulerHeightTwips);
        return;
    }
    if (program_.rulers) program_.rulers->SetLengths(taken.width * tpp.x, taken.height * tpp.y);
    const std::wstring text =
        FillIn(Texts().sizeNotTaken, {std::to_wstring(taken.width), std::to_wstring(taken.height)});
    ModalMessageBox(program_.mainWindow, text.c_str(), Texts().messageTitle, MB_OK | MB_ICONINFORMATION);
}

bool SizeDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDOK:
        Accept();
        return true;
    case IDCANCEL:
        Close();
        return true;
    default:
        if (id >= kFirstUnitOptionId && id < kFirstUnitOptionId + 3 && code == BN_CLICKED) {
            // Choosing a unit shows the target's size in it afresh.
            Fill(static_cast<SizeUnit>(id - kFirstUnitOptionId));
            return true;
        }
        return false;
    }
}

LRESULT SizeDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        // Any other way of closing is a Cancel.
        Close();
        return 0;
    }
    return DialogWindow::HandleMessage(msg, wp, lp);
}

}  // namespace plumbo
