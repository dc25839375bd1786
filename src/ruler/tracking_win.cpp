#include "ruler/tracking_win.h"

#include <map>
#include <utility>

#include "platform/monitor_win.h"
#include "platform/window_reports_win.h"
#include "ruler/placement.h"

namespace plumbo {

namespace {

// The timers of the horizontal ruler that tracking uses.
constexpr UINT_PTR kCheckTimerId = 1;
constexpr UINT_PTR kRestackTimerId = 5;
// Under Wine the rulers are stacked again this long after the target changed or its focus
// moved: the target's own requests to the X server may arrive after ours.
constexpr UINT kRestackAgainMs = 300;
// How often a look walks the Z order for a target that came up above the rulers on its own.
constexpr ULONGLONG kStackCheckMs = 300;

// The window events tracking listens to from every program, as ranges for SetWinEventHook: the
// foreground, and a window minimised or restored. They are how a new target is seen.
constexpr std::pair<DWORD, DWORD> kEventRanges[] = {
    {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
    {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
};

// The callback is handed only its hook: which tracking installed it.
std::map<HWINEVENTHOOK, Tracking*>& HookOwners() {
    static std::map<HWINEVENTHOOK, Tracking*> owners;
    return owners;
}

bool OfOurProcess(HWND hwnd) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return process == GetCurrentProcessId();
}

// The shell's own surfaces: where the user stands between windows or picks the next one, never
// a window to measure. The desktop and the taskbars; the Start menu, Search, the notification
// centre and the input switcher (core windows of the shell's own); Task View and Alt+Tab
// (Windows 10, then 11); the taskbar's previews and the tray's overflow (10, then 11).
constexpr const wchar_t* kShellSurfaceClasses[] = {
    L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"Windows.UI.Core.CoreWindow",
    L"MultitaskingViewFrame", L"XamlExplorerHostIslandWindow", L"ForegroundStaging", L"TaskListThumbnailWnd",
    L"NotifyIconOverflowWindow", L"TopLevelWindowForOverflowXamlIsland", L"Shell_InputSwitchTopLevelWindow",
};

bool IsShellSurface(HWND hwnd) {
    if (hwnd == GetDesktopWindow() || hwnd == GetShellWindow()) return true;
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    for (const wchar_t* shell : kShellSurfaceClasses)
        if (lstrcmpW(cls, shell) == 0) return true;
    return false;
}

// A window tracking may measure: the foreground window of another program that the screen shows.
// A cloaked one (on another virtual desktop, a suspended app) is not on the screen, whatever its
// style says.
bool Measurable(HWND hwnd) { return hwnd && !OfOurProcess(hwnd) && !IsShellSurface(hwnd) && !IsCloaked(hwnd); }

}  // namespace

Tracking::Tracking(Program& program, RulerWindow& horizontal, RulerWindow& vertical)
    : program_(program), horizontal_(horizontal), vertical_(vertical) {
    horizontal_.onTimer = [this](UINT_PTR id) { OnTimer(id); };
    horizontal_.onPollNews = [this](UINT message) { OnPollNews(message); };
}

Tracking::~Tracking() {
    started_ = false;
    Update(false);
}

void Tracking::Start() {
    started_ = true;
    Update(true);
}

void Tracking::Stop() {
    started_ = false;
    Update(false);
}

void Tracking::Suspend() {
    ++suspensions_;
    Update(false);
}

void Tracking::Resume() {
    if (suspensions_ > 0) --suspensions_;
    // Whatever was activated while tracking waited (a menu, a dialog) went above the rulers:
    // under Wine they are stacked again now and once more a while later.
    if (suspensions_ == 0) RestackNowAndLater();
    Update(true);
}

void Tracking::Update(bool lookNow) {
    const bool active = Active();
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
    HookLocationsOf(active ? program_.target.hwnd : nullptr);
    // Until events have come from another program the poll runs: a quiet system sends none
    // either, so their absence proves nothing, and the poll is cheap enough to run meanwhile.
    // Once they come, a slow check looks for a change they missed, and one found brings the
    // poll back for good.
    const bool check = active && proof_.EventsArrive();
    if (check != checking_) {
        checking_ = check;
        if (check)
            SetTimer(horizontal_.hwnd(), kCheckTimerId, CheckInterval(), nullptr);
        else
            KillTimer(horizontal_.hwnd(), kCheckTimerId);
    }
    if (active && !check)
        poller_.Start(horizontal_.hwnd());
    else
        poller_.Stop();
    // Nothing reported what changed while tracking was off. This look is not the check's: a
    // change it finds says nothing about the events.
    if (active && lookNow) Look();
}

void Tracking::HookLocationsOf(HWND target) {
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

void Tracking::OnTimer(UINT_PTR id) {
    if (id == kRestackTimerId) KillTimer(horizontal_.hwnd(), kRestackTimerId);
    // A tick queued before tracking stopped.
    if (!Active()) return;
    switch (id) {
    case kCheckTimerId:
        if (!checking_) return;
        proof_.OnCheck(Look());
        Update(false);
        break;
    case kRestackTimerId:  // set under Wine only
        restackNow_ = true;
        Look();
        break;
    default: break;
    }
}

void Tracking::OnPollNews(UINT message) {
    // A message queued before tracking stopped.
    if (!Active()) return;
    switch (message) {
    case kPolledFocusMessage:
        // Under Wine the window given the focus has just asked the X server to raise it; the
        // request goes out as its thread next waits.
        RestackNowAndLater();
        Look();
        break;
    case kPolledClickMessage: Look(true); break;
    case kPolledAboveMessage:
        nextStackCheck_ = 0;
        Look();
        break;
    default: Look(); break;
    }
}

void CALLBACK Tracking::WindowEventProc(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                        DWORD, DWORD) {
    // An event queued before its hook was removed finds no owner.
    auto it = HookOwners().find(hook);
    if (it != HookOwners().end()) it->second->OnWindowEvent(event, window, object, child);
}

void Tracking::OnWindowEvent(DWORD event, HWND window, LONG object, LONG child) {
    if (!Active()) return;
    const bool location = event == EVENT_OBJECT_LOCATIONCHANGE;
    // Location changes come for every window, caret and pointer of the target's program; only the
    // target's own frame matters.
    const bool aboutTarget =
        !location || (object == OBJID_WINDOW && child == CHILDID_SELF && window == program_.target.hwnd);
    const bool arrived = proof_.EventsArrive();
    proof_.OnEvent(location, aboutTarget);
    if (proof_.EventsArrive() != arrived) Update(false);
    if (!aboutTarget) return;
    // A look moves our windows, and an event may be handed over while it does.
    if (looking_) {
        lookAgain_ = true;
        return;
    }
    Look();
}

void Tracking::LayOut(const RECT& target) {
    const RECT h = horizontal_.WindowRect();
    const RECT v = vertical_.WindowRect();
    const bool inside = program_.settings.inside;
    const auto places = PlaceRulers(PixelRect{target.left, target.top, target.right, target.bottom}, h.bottom - h.top,
                                    v.right - v.left, inside, WorkAreaAround(target));
    if (!places) return;
    horizontal_.MovePx(places->horizontal.left, places->horizontal.top, places->horizontal.width,
                       places->horizontal.height);
    vertical_.MovePx(places->vertical.left, places->vertical.top, places->vertical.width, places->vertical.height);
    vertical_.SetPlacedInside(inside || places->verticalInside);
}

bool Tracking::Look(bool clicked) {
    looking_ = true;
    bool changed = false;
    do {
        lookAgain_ = false;
        HWND foreground = GetForegroundWindow();
        const bool foregroundChanged = foreground != lastForeground_;
        if (foregroundChanged) {
            lastForeground_ = foreground;
            // While windows switch there is for a moment no foreground window: keep what we have.
            // Our own windows (dialogs, message boxes, the viewer), the desktop and the taskbar are
            // never measured.
            foregroundMeasurable_ = Measurable(foreground);
        }
        if (!foregroundMeasurable_ || !IsWindow(foreground)) continue;
        // The frame a person sees: on Windows 10 and 11 the window rectangle also holds invisible
        // resize borders, and the rulers' zero would stand beside the visible edge.
        const RECT rect = VisibleFrame(foreground);
        TargetWindow& target = program_.target;
        // The same window at the same place has been neither minimised nor restored, which would
        // have moved it or taken the foreground from it: its placement is asked only after a
        // change.
        bool targetChanged = foreground != target.hwnd || !EqualRect(&rect, &target.rect);
        bool raised = false;
        if (targetChanged || foregroundChanged) {
            WINDOWPLACEMENT placement{};
            placement.length = sizeof placement;
            if (!GetWindowPlacement(foreground, &placement)) continue;
            // A new target, one shown again after the rulers were hidden, or one restored: mapped
            // anew, which under Wine puts it above every other window. A move does not.
            raised = foreground != target.hwnd || IsRectEmpty(&target.rect) || placement.showCmd != target.showCmd;
            targetChanged |= placement.showCmd != target.showCmd;
            if (targetChanged) {
                LayOut(rect);
                target = TargetWindow{foreground, rect, placement.showCmd};
                HookLocationsOf(foreground);
            }
        }
        changed |= targetChanged;
        // Coming back to the same target from one of our own windows (a ruler's menu) counts as a
        // change of foreground too: the target was activated again, and under Wine raised, as a
        // click raises a window there whether or not it was in front already.
        KeepAboveTarget(foreground, raised || foregroundChanged || clicked);
    } while (lookAgain_);
    looking_ = false;
    return changed;
}

bool Tracking::TargetForeground() {
    const HWND foreground = GetForegroundWindow();
    TargetWindow& target = program_.target;
    if (Measurable(foreground)) {
        // Without its rectangle, so that a look lays the rulers along it: now, if they are shown.
        if (foreground != target.hwnd) {
            target = TargetWindow{foreground, {}, 0};
            if (Active()) Look();
        }
        return true;
    }
    // From one of our own windows (the viewer, a ruler) the user still means the window the
    // rulers stand along; from the desktop, or with nothing in front, there is none.
    return foreground && OfOurProcess(foreground) && target.hwnd && IsWindowVisible(target.hwnd);
}

void StackRulers(RulerWindow& horizontal, RulerWindow& vertical, bool topmost) {
    HWND h = horizontal.hwnd(), v = vertical.hwnd();
    if (!h || !v) return;
    HWND band = topmost ? HWND_TOPMOST : HWND_NOTOPMOST;
    constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // Wine moves an owner's owned windows into the band and then puts the owner just below
    // them without ever making it topmost, so the horizontal ruler would stay among ordinary
    // windows and any window activated would cover it. Under Wine it is moved unowned.
    const bool letGo = RunningUnderWine();
    if (letGo) SetWindowLongPtrW(v, GWLP_HWNDPARENT, 0);
    // Wine also passes a move on to the X server only when the window really moves, and stacking
    // a window already at the top of the band again does not: the vertical one goes on top
    // first, so that the horizontal one then moves above it and the vertical one above that.
    if (letGo) SetWindowPos(v, band, 0, 0, 0, 0, kZOrderOnly);
    SetWindowPos(h, band, 0, 0, 0, 0, kZOrderOnly);
    SetWindowPos(v, band, 0, 0, 0, 0, kZOrderOnly);
    if (letGo) SetWindowLongPtrW(v, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(h));
}

void Tracking::RestackNowAndLater() {
    if (!RunningUnderWine() || !horizontal_.hwnd()) return;
    restackNow_ = true;
    SetTimer(horizontal_.hwnd(), kRestackTimerId, kRestackAgainMs, nullptr);
}

void Tracking::KeepAboveTarget(HWND target, bool restackWanted) {
    HWND ruler = horizontal_.hwnd();
    // Rulers kept out of the topmost band may go behind whatever is activated.
    if (!(GetWindowLongPtrW(ruler, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
    // Wine keeps its own Z order right but not the X server's: a window that is mapped or
    // restored (a new or un-minimised target) is stacked above every other X window, topmost
    // ones included, while Wine still lists our rulers above it. Nothing we can ask tells the
    // two apart, so under Wine the rulers are stacked again when the target changed, and once
    // more a while later: the target's own requests reach the X server by its own connection
    // and may arrive after ours. A target that is topmost itself and came up above the rulers
    // shows in the Z order.
    if (restackWanted) RestackNowAndLater();
    // The walk is made at most every so often, and whenever the target may have come up.
    const ULONGLONG now = GetTickCount64();
    if (!restackNow_) {
        if (!restackWanted && now < nextStackCheck_) return;
        nextStackCheck_ = now + kStackCheckMs;
        if (!StandsAbove(target, ruler)) return;
    }
    restackNow_ = false;
    // Within the band: a press made while the rulers once stepped out of it and back in went to
    // the window behind.
    StackRulers(horizontal_, vertical_, true);
}

}  // namespace plumbo
