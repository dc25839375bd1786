#pragma once
// Tracking: while the rulers are shown they follow the foreground window of other programs,
// told by the system's window events where they cross programs, and otherwise by a poll on a
// thread of its own.
#include <windows.h>

#include <vector>

#include "ruler/follow_pace.h"
#include "ruler/foreground_poller_win.h"
#include "ruler/ruler_window_win.h"
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
    // Hooks, poll and check for the current state; lookNow: a look at once when active.
    void Update(bool lookNow);
    // The location events of the target's program, hooked anew when the target changes.
    void HookLocationsOf(HWND target);
    void OnTimer(UINT_PTR id);
    void OnPollNews(UINT message);
    void OnWindowEvent(DWORD event, HWND window, LONG object, LONG child);
    static void CALLBACK WindowEventProc(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                         DWORD thread, DWORD time);
    // Lays the rulers along the foreground window if it changed; whether it did. clicked: a
    // mouse button was pressed since the last look.
    bool Look(bool clicked = false);
    void KeepAboveTarget(HWND target, bool restackWanted);
    // Under Wine: the rulers are stacked above the target at the next look, and once more a
    // while later, as another program's requests to the X server may arrive after ours.
    void RestackNowAndLater();

    Program& program_;
    RulerWindow& horizontal_;
    RulerWindow& vertical_;
    bool started_ = false;
    int suspensions_ = 0;
    std::vector<HWINEVENTHOOK> hooks_;
    HWINEVENTHOOK locationHook_ = nullptr;
    DWORD locationProcess_ = 0;
    EventProof proof_;
    ForegroundPoller poller_;
    bool checking_ = false;   // the check's timer runs
    bool looking_ = false;
    bool lookAgain_ = false;  // an event came while a look ran
    HWND lastForeground_ = nullptr;
    bool foregroundMeasurable_ = false;
    bool restackNow_ = false;  // under Wine: stack the rulers above the target at the next look
    ULONGLONG nextStackCheck_ = 0;
};

// Moves both rulers to the top of the topmost band, or out of that band to the top of the
// other windows, the vertical one above the horizontal one that owns it.
void StackRulers(RulerWindow& horizontal, RulerWindow& vertical, bool topmost);

}  // namespace plumbo
