#pragma once
// How tracking learns that it should look at the foreground window again: the system's window
// events where they cross from other programs, and otherwise a poll on a thread of its own.
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/private_messages_win.h"
#include "platform/window_win.h"
#include "ruler/follow_pace.h"
#include "ruler/foreground_poller_win.h"
#include "ruler/ruler_window_win.h"
#include "state/program_win.h"

namespace plumbo {

class TargetWatch {
public:
    struct Handlers {
        std::function<bool()> active;          // whether tracking runs: events are dropped otherwise
        std::function<void()> look;            // an event about the target or the foreground came
        std::function<void()> arrivalChanged;  // events were seen to arrive, or to miss a change
    };
    // The check's timer and the poll's messages go to tracking's window; the poll watches for
    // the foreground window coming up above the horizontal ruler.
    TargetWatch(const TargetWindow& target, const Window& tracking, const RulerWindow& horizontal,
                Handlers handlers);
    ~TargetWatch();
    TargetWatch(const TargetWatch&) = delete;
    TargetWatch& operator=(const TargetWatch&) = delete;

    // Hooks, poll and check for tracking running or not, following `target`.
    void Update(bool active, HWND target);
    // The location events of the target's program, hooked anew when the target changes.
    void HookLocationsOf(HWND target);
    // A tick of tracking's timer: true for the check's, which the caller answers with a look and
    // its outcome (CheckedWith).
    static bool IsCheck(UINT_PTR id) { return id == kEventCheckTimer; }
    bool Checking() const { return checking_; }
    void CheckedWith(bool changed) { proof_.OnCheck(changed); }

private:
    void OnWindowEvent(DWORD event, HWND window, LONG object, LONG child);
    static void CALLBACK WindowEventProc(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                         DWORD thread, DWORD time);

    const TargetWindow& target_;
    const Window& tracking_;
    const RulerWindow& horizontal_;
    Handlers handlers_;
    std::vector<HWINEVENTHOOK> hooks_;
    HWINEVENTHOOK locationHook_ = nullptr;
    DWORD locationProcess_ = 0;
    EventProof proof_;
    ForegroundPoller poller_;
    bool checking_ = false;  // the check's timer runs
};

}  // namespace plumbo
