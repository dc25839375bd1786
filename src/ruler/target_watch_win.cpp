#include "ruler/target_watch_win.h"

#include <map>
#include <utility>

namespace plumbo {

namespace {

// The window events tracking listens to from every program, as ranges for SetWinEventHook: the
// foreground, a window minimised or restored, and one cloaked or uncloaked (its virtual desktop
// left or shown again). They are how a new target is seen, or the target going off the screen.
// EVENT_OBJECT_CLOAKED and _UNCLOAKED, Windows 8 on; we build for 7.
constexpr DWORD kObjectCloaked = 0x8017, kObjectUncloaked = 0x8018;
constexpr std::pair<DWORD, DWORD> kEventRanges[] = {
    {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
    {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
    {kObjectCloaked, kObjectUncloaked},
};

// The callback is handed only its hook: which watch installed it.
std::map<HWINEVENTHOOK, TargetWatch*>& HookOwners() {
    static std::map<HWINEVENTHOOK, TargetWatch*> owners;
    return owners;
}

}  // namespace

TargetWatch::TargetWatch(const TargetWindow& target, const Window& tracking, const RulerWindow& horizontal,
                         Handlers handlers)
    : target_(target), tracking_(tracking), horizontal_(horizontal), handlers_(std::move(handlers)) {}

TargetWatch::~TargetWatch() { Update(false, nullptr); }

void TargetWatch::Update(bool active, HWND target) {
    // Out of context, so nothing of ours runs in other programs, and never for our own windows,
    // whose moves are ours: the events come to this thread's message loop. Under Wine (8.0) the
    // hooks are accepted but no event ever arrives, not even for a window of this process.
    if (active && hooks_.empty()) {
        for (auto [first, last] : kEventRanges)
            if (HWINEVENTHOOK hook = SetWinEventHook(first, last, nullptr, &WindowEventProc, 0, 0,
                                                     WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)) {
                hooks_.push_back(hook);
                HookOwners()[hook] = this;
            }
    } else if (!active) {
        for (HWINEVENTHOOK hook : hooks_) {
            UnhookWinEvent(hook);
            HookOwners().erase(hook);
        }
        hooks_.clear();
    }
    HookLocationsOf(target);
    // Until events have come from another program the poll runs: a quiet system sends none
    // either, so their absence proves nothing, and the poll is cheap enough to run meanwhile.
    // Once they come, a slow check looks for a change they missed, and one found brings the
    // poll back for good.
    const bool check = active && proof_.EventsArrive();
    if (check != checking_) {
        checking_ = check;
        if (check)
            SetTimer(tracking_.hwnd(), kEventCheckTimer, CheckInterval(), nullptr);
        else
            KillTimer(tracking_.hwnd(), kEventCheckTimer);
    }
    if (active && !check)
        poller_.Start(tracking_.hwnd(), horizontal_.hwnd());
    else
        poller_.Stop();
}

void TargetWatch::HookLocationsOf(HWND target) {
    DWORD process = 0;
    if (target) GetWindowThreadProcessId(target, &process);
    if (process == locationProcess_) return;
    if (locationHook_) {
        UnhookWinEvent(locationHook_);
        HookOwners().erase(locationHook_);
        locationHook_ = nullptr;
    }
    locationProcess_ = process;
    // Moves and resizes from the target's program only: hooked for every program, each caret
    // blink and pointer move on the system would reach this thread.
    if (process)
        if ((locationHook_ = SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr,
                                             &WindowEventProc, process, 0, WINEVENT_OUTOFCONTEXT)))
            HookOwners()[locationHook_] = this;
}

void CALLBACK TargetWatch::WindowEventProc(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                           DWORD, DWORD) {
    // An event queued before its hook was removed finds no owner.
    auto it = HookOwners().find(hook);
    if (it != HookOwners().end()) it->second->OnWindowEvent(event, window, object, child);
}

void TargetWatch::OnWindowEvent(DWORD event, HWND window, LONG object, LONG child) {
    if (!handlers_.active()) return;
    const bool location = event == EVENT_OBJECT_LOCATIONCHANGE;
    // Location changes come for every window, caret and pointer of the target's program; only the
    // target's own frame matters.
    const bool aboutTarget =
        !location || (object == OBJID_WINDOW && child == CHILDID_SELF && window == target_.hwnd);
    const bool arrived = proof_.EventsArrive();
    proof_.OnEvent(location, aboutTarget);
    if (proof_.EventsArrive() != arrived) handlers_.arrivalChanged();
    if (aboutTarget) handlers_.look();
}

}  // namespace plumbo
