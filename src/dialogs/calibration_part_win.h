#pragma once
// The true-millimetre part of "設定": a line of 100 of Windows' millimetres on the monitor the
// dialog stands on, a box for what it measures with a real ruler, and "元に戻す" back to
// Windows' millimetres. Like the rest of the dialog, it changes nothing until "Ｏ．Ｋ".
#include <windows.h>

#include <string>

#include "platform/dialog_control_win.h"
#include "platform/window_win.h"
#include "state/program_win.h"

namespace plumbo {

// The line, with a mark standing at each end: the length is measured between the marks.
class CalibrationLine : public Window {
public:
    bool Create(HWND parent, int x, int y, int width, int height);
    // In the pixels of the monitor it stands on; the window widens to hold it.
    void SetLength(int pixels);

protected:
    void OnPaint(HDC dc, const RECT& client) override;

private:
    int length_ = 0;
};

class CalibrationPart {
public:
    explicit CalibrationPart(Program& program) : program_(program) {}

    // Its group and controls in the dialog, from `top` (twips) down: 1230 twips of it.
    void Create(DialogWindow& dialog, int font, float top);
    // What the box starts from: the stored measurement for the dialog's monitor, else the one
    // the monitor's own size gives, else the line's 100 mm.
    void Fill();
    // The line at 100 mm of the monitor the dialog stands on, which may be wider than the dialog.
    void ShowLine();
    // A push of one of its buttons; false for another control.
    bool OnCommand(WORD id);
    // Before "Ｏ．Ｋ" stores anything: a box changed from what it showed must hold a length a
    // monitor can measure. Otherwise the user is told, the box is made ready again, and false
    // comes back.
    bool CheckTyped();
    // A changed box (typed in, or reset) stores its measurement for the dialog's monitor; an
    // offered length left as it was stores nothing.
    void Store();

private:
    HWND Box() const;
    bool Changed() const;
    // The monitor the dialog stands on, in its own DPI: the line and the measurement are that
    // monitor's pixels, whatever DPI the dialog is laid out in.
    double TwipsPerPixelHere() const;
    // Wider than the dialog, on a monitor of a higher DPI than the system's, the line takes the
    // dialog and its group with it.
    void MakeRoomForLine(int rightPx);

    Program& program_;
    HWND dialog_ = nullptr;
    CalibrationLine line_;
    std::wstring shown_;  // what Fill put in the box
};

}  // namespace plumbo
