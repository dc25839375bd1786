#pragma once
// "直接指定": the target window's visible size in millimetres, inches or pixels, and setting it
// to a typed size.
#include <windows.h>

#include "platform/dialog_control_win.h"
#include "sizing/size_math.h"
#include "state/program_win.h"

namespace plumbo {

class SizeDialog final : public DialogWindow {
public:
    explicit SizeDialog(Program& program);

    // Hidden, owned by the program's main window.
    bool Create();
    // "アクティブウインドのサイズ": filled from the target in the rulers' unit, placed at the
    // rulers' corner (the target's corner when they are hidden), and modal until OK or Cancel.
    // Tracking stays suspended and the rulers out of the topmost band while it is open; both
    // are as they were afterwards.
    void Open();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    // The target's outer size shown in a unit; SelectUnit also checks that unit's option.
    void Fill(SizeUnit unit);
    void SelectUnit(SizeUnit unit);
    SizeUnit SelectedUnit() const;
    void Accept();
    void Close() { SetVisible(false); }

    Program& program_;
    FilledSize filled_;  // what Fill put in the boxes
};

}  // namespace plumbo
