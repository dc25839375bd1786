#pragma once
// Tracking: while the rulers are shown they follow the foreground window of other programs. It
// looks when its watch says so (window events, or the poll), lays the rulers along the window
// found, and has them stacked above it.
#include <windows.h>

#include "ruler/ruler_stacking_win.h"
#include "ruler/ruler_window_win.h"
#include "ruler/target_watch_win.h"
#include "state/program_win.h"

namespace plumbo {

class Tracking {
public:
    // Installs itself as the horizontal ruler's timer and poll handler.
    Tracking(Program& program, RulerWindow& horizontal, RulerWindow& vertical);
    ~Tracking();
    Tracking(const Tracking&) = delete;
    Tracking& operator=(const Tracking&) = delete;

    // With the rulers shown and hidden. Starting looks at once.
    void Start();
    void Stop();
    // Nested: tracking runs again, looking at once, after as many resumes as suspends.
    void Suspend();
    void Resume();
    // See RulerService::TargetForeground.
    bool TargetForeground();
    // Lays both rulers along a window rectangle in screen pixels, by the placement setting.
    void LayOut(const RECT& target);

private:
    bool Active() const { return started_ && suspensions_ == 0 && horizontal_.hwnd(); }
    // The watch and the check for the current state; lookNow: a look at once when active.
    void Update(bool lookNow);
    void OnTimer(UINT_PTR id);
    void OnPollNews(UINT message);
    void OnTargetEvent();
    // Lays the rulers along the foreground window if it changed; whether it did. clicked: a
    // mouse button was pressed since the last look.
    bool Look(bool clicked = false);
    // The rulers hide, shown as far as the user is concerned, while the target is off the screen
    // (minimised or cloaked); the next look at a window in its place shows them along it.
    void StandAside(HWND target);

    Program& program_;
    RulerWindow& horizontal_;
    RulerWindow& vertical_;
    RulerStacking stacking_;
    TargetWatch watch_;
    bool started_ = false;
    int suspensions_ = 0;
    bool looking_ = false;
    bool lookAgain_ = false;  // an event came while a look ran
    HWND lastForeground_ = nullptr;
    bool foregroundMeasurable_ = false;
    bool standingAside_ = false;
};

}  // namespace plumbo
