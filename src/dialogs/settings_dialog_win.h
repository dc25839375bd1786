#pragma once
// The settings dialog "設定": created hidden at start-up and kept for the run. Opening it fills
// it from the program's settings and shows it modally; "Ｏ．Ｋ" stores and applies what it
// shows, "キャンセル" (or Esc, or Alt+F4) drops it.
#include <windows.h>

#include <array>

#include "dialogs/calibration_part_win.h"
#include "dialogs/dialog_layout.h"
#include "platform/dialog_control_win.h"
#include "platform/gdi_win.h"
#include "platform/window_win.h"
#include "state/program_win.h"

namespace plumbo {

// A small ruler in the colours being chosen: always millimetres with centimetre numbers,
// whatever unit the rulers show.
class SettingsPreview : public Window {
public:
    bool Create(HWND parent, int x, int y, int width, int height);
    // The dialog's DPI: the ticks' places and the numbers' font follow it.
    void SetDpi(Dpi dpi);
    TwipsPerPixel LayoutTwipsPerPixel() const override { return TwipsPerPixelAt(dpi_.x, dpi_.y); }

    COLORREF rulerColor = RGB(255, 255, 255);
    COLORREF tickColor = 0;
    COLORREF numberColor = 0;

    void Refresh() { InvalidateRect(hwnd(), nullptr, FALSE); }

protected:
    void OnPaint(HDC dc, const RECT& client) override;

private:
    // The ticks and numbers for the box's size and the numbers' font at the present DPI.
    void LayOut();
    PreviewLayout layout_;
    Dpi dpi_ = SystemDpi();
    Font numberFont_;  // the system's font made at dpi_, when that is not the system's DPI
};

class SettingsDialog : public DialogWindow {
public:
    explicit SettingsDialog(Program& program);

    // Hidden, owned by the program's main window so that no taskbar button shows for it.
    bool Create();
    // Returns once the dialog is hidden again.
    void Open();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnDpiChanged() override;

private:
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }
    void PlaceForOpening(bool rulersShown);
    // The colour dialog on one of the preview's colours; Cancel leaves it as it was.
    void PickColor(COLORREF& color);
    void StoreAndApply();
    void CreateHotKeyRows();
    // What the hot-key controls show, as keys.
    std::array<HotKey, kHotKeyActionCount> ChosenHotKeys() const;
    void Hide() { ShowWindow(hwnd(), SW_HIDE); }

    Program& program_;
    CalibrationPart calibration_;
    SettingsPreview preview_;
    int font_ = 0;  // the number AddFont gave it
    // Colours the user adds in the colour dialog stay for the run.
    COLORREF customColors_[16] = {};
    bool keysChosen_ = false;  // "Ｏ．Ｋ" took the hot-key controls' keys
    bool startsWithWindows_ = false;  // as the box was filled on opening
};

}  // namespace plumbo
