#include "dialogs/calibration_part_win.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/calibration.h"
#include "core/texts.h"
#include "platform/dialog_control_win.h"
#include "platform/dpi_win.h"
#include "platform/gdi_win.h"
#include "platform/modal_win.h"

namespace plumbo {

namespace {

enum ControlId : int {
    kCalibrationGroup = 300,
    kCalibrationLabel,
    kCalibrationBox,
    kCalibrationReset,
};

// In twips from the dialog's corner; the line's window holds 100 of Windows' millimetres
// (5669 twips) and the marks at its ends.
constexpr float kGroupLeft = 60.0f;
constexpr float kGroupWidth = 6540.0f;
constexpr float kGroupHeight = 1230.0f;
constexpr float kLineLeft = 180.0f;
constexpr float kLineTop = 270.0f;
constexpr float kLineWidth = 6000.0f;
constexpr float kLineHeight = 360.0f;
constexpr float kRowTop = 750.0f;
constexpr float kRowHeight = 315.0f;
constexpr float kLabelLeft = 180.0f;
constexpr float kLabelWidth = 2940.0f;
constexpr float kBoxLeft = 3180.0f;
constexpr float kBoxWidth = 915.0f;
constexpr float kResetLeft = 4200.0f;
constexpr float kResetWidth = 1155.0f;

// The line's left end, in pixels from the line window's edge: room for its end mark.
constexpr int kLineStartPx = 2;

}  // namespace

bool CalibrationLine::Create(HWND parent, int x, int y, int width, int height) {
    return Window::Create(PaintedChildArgs(L"PlumboCalibrationLine", parent, x, y, width, height));
}

void CalibrationLine::SetLength(int pixels) {
    length_ = pixels;
    const RECT r = ClientRect();
    SetWindowPos(hwnd(), nullptr, 0, 0, std::max<int>(r.right, kLineStartPx * 2 + length_ + 1), r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void CalibrationLine::OnPaint(HDC dc, const RECT& client) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int length = length_;
    const int middle = client.bottom / 2;
    SelectGuard pen(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, kLineStartPx, middle, nullptr);
    LineTo(dc, kLineStartPx + length, middle);
    for (int x : {kLineStartPx, kLineStartPx + length}) {
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, client.bottom);
    }
}

void CalibrationPart::Create(DialogWindow& dialog, int font, float top) {
    dialog_ = dialog.hwnd();
    const UiTexts& t = Texts();
    dialog.AddControl({L"BUTTON", t.setCalibrationFrame, kCalibrationGroup, BS_GROUPBOX, 0, kGroupLeft, top,
                       kGroupWidth, kGroupHeight},
                      font);
    const RECT line = dialog.PxRect(kLineLeft, top + kLineTop, kLineWidth, kLineHeight);
    line_.Create(dialog_, line.left, line.top, line.right - line.left, line.bottom - line.top);
    dialog.AddChild(line_.hwnd(), kLineLeft, top + kLineTop, kLineWidth, kLineHeight);
    const float row = top + kRowTop;
    dialog.AddControl({L"STATIC", t.setCalibrationLabel, kCalibrationLabel, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                       0, kLabelLeft, row, kLabelWidth, kRowHeight},
                      font);
    dialog.AddControl({L"EDIT", L"", kCalibrationBox, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kBoxLeft, row,
                       kBoxWidth, kRowHeight},
                      font);
    dialog.AddControl({L"BUTTON", t.setCalibrationReset, kCalibrationReset, BS_PUSHBUTTON | WS_TABSTOP, 0,
                       kResetLeft, row, kResetWidth, kRowHeight},
                      font);
}

HWND CalibrationPart::Box() const { return GetDlgItem(dialog_, kCalibrationBox); }

double CalibrationPart::TwipsPerPixelHere() const { return WindowTwipsPerPixel(dialog_).x; }

void CalibrationPart::MakeRoomForLine(int rightPx) {
    RECT client{}, group{};
    GetClientRect(dialog_, &client);
    HWND groupBox = GetDlgItem(dialog_, kCalibrationGroup);
    GetWindowRect(groupBox, &group);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&group), 2);
    const int margin = client.right - group.right;
    const int grow = rightPx + 2 * margin - group.right;
    if (grow <= 0) return;
    SetWindowPos(groupBox, nullptr, 0, 0, group.right - group.left + grow, group.bottom - group.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT outer{};
    GetWindowRect(dialog_, &outer);
    SetWindowPos(dialog_, nullptr, 0, 0, outer.right - outer.left + grow, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CalibrationPart::Fill() {
    const double tpp = TwipsPerPixelHere();
    const MonitorCalibration& c = program_.calibrations.Of(dialog_);
    std::optional<double> measured;
    if (c.pixelsPerMm && LengthScale(c.pixelsPerMm, tpp) != 1.0) measured = MeasuredMmFor(*c.pixelsPerMm, tpp);
    // Offered, not taken: an untouched box stores nothing (see Store).
    if (!measured && c.edidSize) measured = MeasuredMmFromEdid(*c.edidSize, c.widthPx, c.heightPx, tpp);
    shown_ = FormatMeasuredMm(measured.value_or(kCalibrationLineMm));
    SetWindowTextW(Box(), shown_.c_str());
    ShowLine();
}

void CalibrationPart::ShowLine() {
    line_.SetLength(CalibrationLinePixels(TwipsPerPixelHere()));
    const RECT line = line_.WindowRect();
    POINT lineRight{line.right, line.top};
    ScreenToClient(dialog_, &lineRight);
    MakeRoomForLine(lineRight.x);
}

bool CalibrationPart::OnCommand(WORD id) {
    if (id != kCalibrationReset) return false;
    SetWindowTextW(Box(), FormatMeasuredMm(kCalibrationLineMm).c_str());
    return true;
}

bool CalibrationPart::Changed() const { return ControlText(Box()) != shown_; }

bool CalibrationPart::CheckTyped() {
    if (!Changed()) return true;
    const std::optional<double> mm = ParseMeasuredMm(ControlText(Box()));
    if (mm && PixelsPerMmFromMeasurement(*mm, TwipsPerPixelHere())) return true;
    const std::wstring text = FillIn(Texts().calibrationRefused, {FormatMeasuredMm(kShortestMeasuredMm),
                                                                   FormatMeasuredMm(kLongestMeasuredMm)});
    ModalMessageBox(dialog_, text.c_str(), Texts().messageTitle, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(Box());
    SendMessageW(Box(), EM_SETSEL, 0, -1);
    return false;
}

void CalibrationPart::Store() {
    if (!Changed()) return;
    const double tpp = TwipsPerPixelHere();
    const std::optional<double> mm = ParseMeasuredMm(ControlText(Box()));
    if (!mm) return;
    // The line measuring what Windows says it is: Windows' millimetres, nothing to keep.
    if (FormatMeasuredMm(*mm) == FormatMeasuredMm(kCalibrationLineMm))
        program_.calibrations.Store(dialog_, std::nullopt);
    else if (const std::optional<double> pixelsPerMm = PixelsPerMmFromMeasurement(*mm, tpp))
        program_.calibrations.Store(dialog_, pixelsPerMm);
}

}  // namespace plumbo
