#pragma once
// Tracking: while the rulers are shown they follow the foreground window of other programs. It
// looks when its watch says so (window events, or the poll), lays the rulers along the window
// found, and has them stacked above it; their cursor mark follows the pointer. The poll, the
// pointer watch and the timers tell a message-only window of its own, so that the rulers only
// paint and take the user's input.
#include <windows.h>

#include "platform/pointer_watch_win.h"
#include "platform/window_win.h"
#include "ruler/ruler_stacking_win.h"
#include "ruler/ruler_window_win.h"
#include "ruler/target_watch_win.h"
#include "state/program_win.h"

namespace plumbo {

class Tracking {
public:
    Tracking(Program& program, RulerWindow& horizontal, RulerWindow& vertical);
    ~Tracking();
    Tracking(const Tracking&) = delete;
    Tracking& operator=(const Tracking&) = delete;

    // Its window, which nothing shows.
    bool Create();

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
    // Lays both rulers along the target again once the message being handled now is over, and
    // with it the move that gave a ruler another thickness. Not asked for again while that layout
    // runs: should it carry a ruler back to the other monitor, the two would pass it back and
    // forth.
    void LayOutSoon();
    // The cursor mark on both rulers follows the pointer from where it stands now, or stops.
    void WatchPointer(bool watch);

private:
    // Takes the poll's and the pointer watch's messages and the watch's and the stacking's timers.
    class Mailbox final : public Window {
    public:
        explicit Mailbox(Tracking& tracking) : tracking_(tracking) {}

    protected:
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
        void OnTimer(UINT_PTR id) override { tracking_.OnTimer(id); }

    private:
        Tracking& tracking_;
    };

    bool Active() const { return started_ && suspensions_ == 0 && horizontal_.hwnd(); }
    // The watch and the check for the current state; lookNow: a look at once when active.
    void Update(bool lookNow);
    void OnTimer(UINT_PTR id);
    void OnPollNews(UINT message);
    void OnPointerMoved();
    void LayOutAgain();
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
    // First, so that it is destroyed last: the watches below still end their timers on it.
    Mailbox mailbox_;
    RulerStacking stacking_;
    TargetWatch watch_;
    PointerWatch pointerWatch_;
    bool started_ = false;
    int suspensions_ = 0;
    bool looking_ = false;
    bool lookAgain_ = false;  // an event came while a look ran
    bool layingOutAgain_ = false;
    HWND lastForeground_ = nullptr;
    bool foregroundMeasurable_ = false;
    bool standingAside_ = false;
};

}  // namespace plumbo
