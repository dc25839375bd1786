#include "ruler/tracking_win.h"

#include "platform/monitor_win.h"
#include "platform/private_messages_win.h"
#include "platform/window_reports_win.h"
#include "ruler/placement.h"

namespace plumbo {

namespace {

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
    : program_(program),
      horizontal_(horizontal),
      vertical_(vertical),
      mailbox_(*this),
      stacking_(horizontal, vertical, mailbox_),
      watch_(program.target, mailbox_, horizontal,
             {[this] { return Active(); }, [this] { OnTargetEvent(); }, [this] { Update(false); }}) {}

Tracking::~Tracking() {
    started_ = false;
    Update(false);
}

bool Tracking::Create() {
    WindowArgs a;
    a.className = L"PlumboTracking";
    a.style = 0;
    a.parent = HWND_MESSAGE;
    return mailbox_.Create(a);
}

LRESULT Tracking::Mailbox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (IsPollMessage(msg)) {
        tracking_.OnPollNews(msg);
        return 0;
    }
    switch (msg) {
    case kPointerMovedMessage:
        tracking_.OnPointerMoved();
        return 0;
    case kLayOutAgainMessage:
        tracking_.LayOutAgain();
        return 0;
    default:
        return Window::HandleMessage(msg, wp, lp);
    }
}

void Tracking::Start() {
    started_ = true;
    Update(true);
}

void Tracking::Stop() {
    started_ = false;
    standingAside_ = false;
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
    if (suspensions_ == 0) stacking_.NowAndLater();
    Update(true);
}

void Tracking::Update(bool lookNow) {
    const bool active = Active();
    watch_.Update(active, active ? program_.target.hwnd : nullptr);
    // Nothing reported what changed while tracking was off. This look is not the check's: a
    // change it finds says nothing about the events.
    if (active && lookNow) Look();
}

void Tracking::OnTimer(UINT_PTR id) {
    const bool restack = stacking_.OnTimer(id);  // set under Wine only
    // A tick queued before tracking stopped.
    if (!Active()) return;
    if (restack) {
        stacking_.AtNextLook();
        Look();
    } else if (watch_.IsCheck(id) && watch_.Checking()) {
        watch_.CheckedWith(Look());
        Update(false);
    }
}

void Tracking::OnPollNews(UINT message) {
    // A message queued before tracking stopped.
    if (!Active()) return;
    switch (message) {
    case kPolledFocusMessage:
        // Under Wine the window given the focus has just asked the X server to raise it; the
        // request goes out as its thread next waits.
        stacking_.NowAndLater();
        Look();
        break;
    case kPolledClickMessage: Look(true); break;
    case kPolledAboveMessage:
        stacking_.CheckSoon();
        Look();
        break;
    default: Look(); break;
    }
}

void Tracking::WatchPointer(bool watch) {
    if (!watch) {
        pointerWatch_.Stop();
        return;
    }
    // Where the pointer stands now, until it moves.
    POINT at{};
    GetCursorPos(&at);
    horizontal_.MarkPointer(at);
    vertical_.MarkPointer(at);
    pointerWatch_.Start(mailbox_.hwnd(), kPointerMovedMessage, at);
}

void Tracking::OnPointerMoved() {
    pointerWatch_.Taken();
    const POINT at = pointerWatch_.Last();
    horizontal_.MarkPointer(at);
    vertical_.MarkPointer(at);
}

void Tracking::LayOutSoon() {
    if (!layingOutAgain_ && mailbox_.hwnd()) PostMessageW(mailbox_.hwnd(), kLayOutAgainMessage, 0, 0);
}

void Tracking::LayOutAgain() {
    const RECT& target = program_.target.rect;
    if (layingOutAgain_ || !started_ || IsRectEmpty(&target)) return;
    layingOutAgain_ = true;
    LayOut(target);
    layingOutAgain_ = false;
}

void Tracking::OnTargetEvent() {
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
        // A target cloaked since it was taken (its virtual desktop left for another) is no longer
        // on the screen, whether or not another window came to the front.
        const HWND last = program_.target.hwnd;
        if (last && last != foreground && IsCloaked(last)) StandAside(last);
        if (!foregroundMeasurable_ || !IsWindow(foreground)) continue;
        // A minimised window stands far off the screen as a small caption, visible and possibly
        // still in front: nothing to measure, as if it had closed, until it is restored.
        if (IsIconic(foreground) || IsCloaked(foreground)) {
            StandAside(foreground);
            continue;
        }
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
                watch_.HookLocationsOf(foreground);
                if (standingAside_) {
                    standingAside_ = false;
                    for (RulerWindow* r : {&horizontal_, &vertical_}) r->SetVisible(true);
                }
            }
        }
        changed |= targetChanged;
        // Coming back to the same target from one of our own windows (a ruler's menu) counts as a
        // change of foreground too: the target was activated again, and under Wine raised, as a
        // click raises a window there whether or not it was in front already.
        stacking_.KeepAboveTarget(foreground, raised || foregroundChanged || clicked);
    } while (lookAgain_);
    looking_ = false;
    return changed;
}

void Tracking::StandAside(HWND target) {
    // Forgetting the rectangle lays the rulers out along the window once it is back.
    program_.target = TargetWindow{target, {}, 0};
    if (standingAside_) return;
    standingAside_ = true;
    for (RulerWindow* r : {&horizontal_, &vertical_}) r->SetVisible(false);
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

}  // namespace plumbo
