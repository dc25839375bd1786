#pragma once
// Tracking: while the rulers are shown they follow the foreground window of other programs,
// looked at every 300 ms from a timer of the horizontal ruler.
#include <windows.h>

#include "ruler/ruler_window_win.h"
#include "state/program_win.h"

namespace plumbo {

class Tracking {
public:
    // Installs itself as the horizontal ruler's timer handler.
    Tracking(Program& program, RulerWindow& horizontal, RulerWindow& vertical);
    Tracking(const Tracking&) = delete;
    Tracking& operator=(const Tracking&) = delete;

    // With the rulers shown and hidden.
    void Start();
    void Stop();
    // Nested: the timer runs again after as many resumes as suspends.
    void Suspend();
    void Resume();
    void OnTrackingTimer();
    // See RulerService::TargetForeground.
    bool TargetForeground();
    // Lays both rulers along a window rectangle in screen pixels, by the placement setting.
    void LayOut(const RECT& target);

private:
    void UpdateTimer();
    void KeepAboveTarget(HWND target, bool targetChanged);

    Program& program_;
    RulerWindow& horizontal_;
    RulerWindow& vertical_;
    bool started_ = false;
    int suspensions_ = 0;
    bool timerRunning_ = false;
    int restacksDue_ = 0;
    HWND lastForeground_ = nullptr;  // ticks that still stack the rulers above a changed target
};

// Moves both rulers to the top of the topmost band, or out of that band to the top of the
// other windows, the vertical one above the horizontal one that owns it.
void StackRulers(RulerWindow& horizontal, RulerWindow& vertical, bool topmost);

}  // namespace plumbo
