#include "ruler/tracking_win.h"

#include "ruler/placement.h"

namespace plumbo {

namespace {

constexpr UINT_PTR kTrackingTimerId = 1;
constexpr UINT kTrackingIntervalMs = 300;

bool OfOurProcess(HWND hwnd) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return process == GetCurrentProcessId();
}

// The desktop and the taskbar are where the user stands between windows, not windows to measure.
bool IsShellWindow(HWND hwnd) {
    if (hwnd == GetDesktopWindow() || hwnd == GetShellWindow()) return true;
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
        if (lstrcmpW(cls, shell) == 0) return true;
    return false;
}

// A window tracking may measure: the foreground window of another program.
bool Measurable(HWND hwnd) { return hwnd && !OfOurProcess(hwnd) && !IsShellWindow(hwnd); }

bool UnderWine() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// Whether window stands above ruler in the Z order. The walk visits only the windows above the
// ruler, which for a topmost ruler are none or a few.
bool StandsAbove(HWND window, HWND ruler) {
    // Bounded, should the order change under the walk.
    HWND above = GetWindow(ruler, GW_HWNDPREV);
    for (int steps = 0; above && steps < 1000; ++steps) {
        if (above == window) return true;
        above = GetWindow(above, GW_HWNDPREV);
    }
    return false;
}

// Under Wine a click activates and raises a window whether or not the foreground window ends up
// another one by the next look (a click on our ruler's menu and back on the target, both between
// two ticks). A button pressed anywhere since the last look is asked of the system's key state,
// which is one cheap call.
bool ClickedSinceLastLook() {
    if (!UnderWine()) return false;
    bool clicked = false;
    for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) clicked |= (GetAsyncKeyState(button) & 0x8001) != 0;
    return clicked;
}

}  // namespace

Tracking::Tracking(Program& program, RulerWindow& horizontal, RulerWindow& vertical)
    : program_(program), horizontal_(horizontal), vertical_(vertical) {
    horizontal_.onTimer = [this](UINT_PTR id) {
        if (id == kTrackingTimerId) OnTrackingTimer();
    };
}

void Tracking::Start() {
    started_ = true;
    UpdateTimer();
}

void Tracking::Stop() {
    started_ = false;
    UpdateTimer();
}

void Tracking::Suspend() {
    ++suspensions_;
    UpdateTimer();
}

void Tracking::Resume() {
    if (suspensions_ > 0) --suspensions_;
    // Whatever was activated while tracking waited (a menu, a dialog) went above the rulers.
    if (suspensions_ == 0 && UnderWine()) restacksDue_ = 2;
    UpdateTimer();
}

void Tracking::UpdateTimer() {
    const bool wanted = started_ && suspensions_ == 0 && horizontal_.hwnd();
    if (wanted == timerRunning_) return;
    timerRunning_ = wanted;
    if (wanted)
        SetTimer(horizontal_.hwnd(), kTrackingTimerId, kTrackingIntervalMs, nullptr);
    else
        KillTimer(horizontal_.hwnd(), kTrackingTimerId);
}

void Tracking::LayOut(const RECT& target) {
    const RECT h = horizontal_.WindowRect();
    const RECT v = vertical_.WindowRect();
    const bool inside = program_.settings.inside;
    const auto places = PlaceRulers(PixelRect{target.left, target.top, target.right, target.bottom}, h.bottom - h.top,
                                    v.right - v.left, inside);
    if (!places) return;
    horizontal_.MovePx(places->horizontal.left, places->horizontal.top, places->horizontal.width,
                       places->horizontal.height);
    vertical_.MovePx(places->vertical.left, places->vertical.top, places->vertical.width, places->vertical.height);
    vertical_.SetPlacedInside(inside);
}

void Tracking::OnTrackingTimer() {
    // A tick queued before the timer was killed.
    if (!timerRunning_) return;
    HWND foreground = GetForegroundWindow();
    // Coming back to the same target from one of our own windows (a ruler's menu) counts as a
    // change of foreground too: the target was activated again, and under Wine raised.
    const bool foregroundChanged = foreground != lastForeground_ || ClickedSinceLastLook();
    lastForeground_ = foreground;
    // While windows switch there is for a moment no foreground window: keep what we have. Our
    // own windows (dialogs, message boxes, the viewer), the desktop and the taskbar are never
    // measured.
    if (!Measurable(foreground)) return;
    RECT rect{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowRect(foreground, &rect) || !GetWindowPlacement(foreground, &placement)) return;
    TargetWindow& target = program_.target;
    const bool changed =
        foreground != target.hwnd || !EqualRect(&rect, &target.rect) || placement.showCmd != target.showCmd;
    if (changed) {
        LayOut(rect);
        target = TargetWindow{foreground, rect, placement.showCmd};
    }
    KeepAboveTarget(foreground, changed || foregroundChanged);
}

bool Tracking::TargetForeground() {
    const HWND foreground = GetForegroundWindow();
    TargetWindow& target = program_.target;
    if (Measurable(foreground)) {
        // Without its rectangle, so that the next look lays the rulers along it.
        if (foreground != target.hwnd) target = TargetWindow{foreground, {}, 0};
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
    const bool letGo = UnderWine();
    if (letGo) SetWindowLongPtrW(v, GWLP_HWNDPARENT, 0);
    SetWindowPos(h, band, 0, 0, 0, 0, kZOrderOnly);
    SetWindowPos(v, band, 0, 0, 0, 0, kZOrderOnly);
    if (letGo) SetWindowLongPtrW(v, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(h));
}

void Tracking::KeepAboveTarget(HWND target, bool targetChanged) {
    HWND ruler = horizontal_.hwnd();
    // Rulers kept out of the topmost band may go behind whatever is activated.
    if (!(GetWindowLongPtrW(ruler, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
    // Wine keeps its own Z order right but not the X server's: a window that is mapped or
    // restored (a new or un-minimised target) is stacked above every other X window, topmost
    // ones included, while Wine still lists our rulers above it. Nothing we can ask tells the
    // two apart, so under Wine the rulers are stacked again when the target changed, and once
    // more a tick later: the target's own requests reach the X server by its own connection
    // and may arrive after ours. A target that is topmost itself and came up above the rulers
    // shows in the Z order.
    if (targetChanged && UnderWine()) restacksDue_ = 2;
    const bool restackDue = restacksDue_ > 0;
    if (restackDue) --restacksDue_;
    if (!restackDue && !StandsAbove(target, ruler)) return;
    // Under Wine stacking a ruler that is already at the top of the band again changes nothing
    // on the X server, so the rulers step out of the band and back in: a real move, which Wine
    // passes on to the X server.
    if (UnderWine()) StackRulers(horizontal_, vertical_, false);
    StackRulers(horizontal_, vertical_, true);
}

}  // namespace plumbo
