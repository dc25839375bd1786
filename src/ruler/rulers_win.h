#pragma once
// The pair of rulers: the horizontal one along the target's top (or bottom) edge and the
// vertical one, owned by it, along the left edge; their tracking of the foreground window,
// their look and the commands of their menu.
#include <windows.h>

#include "ruler/ruler_window_win.h"
#include "ruler/tracking_win.h"
#include "state/program_win.h"

namespace plumbo {

class Rulers final : public RulerService, private RulerEvents {
public:
    explicit Rulers(Program& program);
    Rulers(const Rulers&) = delete;
    Rulers& operator=(const Rulers&) = delete;

    // Both rulers, hidden and topmost, the vertical one owned by the horizontal one; and
    // tracking's window.
    bool Create();

    bool Shown() const override;
    void Show(bool show) override;
    bool OnTop() const override;
    void SetOnTop(bool onTop) override;
    RECT HorizontalRect() const override;
    RECT VerticalRect() const override;
    void SetLengths(double horizontalTwips, double verticalTwips) override;
    void ApplySettings() override;
    void SuspendTracking() override;
    void ResumeTracking() override;
    bool TargetForeground() override { return tracking_.TargetForeground(); }

    // "表示": shown, parked just outside the screen's top-left corner until tracking lays them
    // out along the target.
    void ShowParked();
    // The four unit items: check marks, and both scales laid out again at once.
    void SetUnit(RulerUnit unit);
    // "…外側に表示"/"…内側に表示": check marks and the setting, saved. The rulers move to it at
    // the target's next change.
    void SetInside(bool inside);
    // "透明定規": check mark, the setting and the look, saved.
    void ToggleTransparent();

private:
    // After a drag of the horizontal ruler the vertical one takes its place beside it again.
    void Dragged(RulerWindow& ruler) override;
    void DpiChanged(RulerWindow& ruler) override;
    void DisplaysChanged(RulerWindow& ruler) override;
    void ApplyLook();
    void CheckUnit(RulerUnit unit);
    void Check(CommandId id, bool checked);
    // The pointer is watched while the rulers are shown with their cursor mark.
    void WatchPointer();

    Program& program_;
    RulerWindow horizontal_;
    RulerWindow vertical_;
    Tracking tracking_;
    // While we put the pair in place after a drag, a ruler coming to another monitor only takes
    // that monitor's thickness.
    bool arranging_ = false;
    // Shown by the user; tracking hides them meanwhile where the target is off the screen.
    bool shown_ = false;
};

}  // namespace plumbo
