#include "ruler/ruler_stacking_win.h"

#include "platform/private_messages_win.h"
#include "platform/window_reports_win.h"
#include "ruler/foreground_poller_win.h"

namespace plumbo {

namespace {

// Under Wine the rulers are stacked again this long after the target changed or its focus
// moved: the target's own requests to the X server may arrive after ours.
constexpr UINT kRestackAgainMs = 300;
// How often a look walks the Z order for a target that came up above the rulers on its own.
constexpr ULONGLONG kStackCheckMs = 300;

}  // namespace

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

void RulerStacking::NowAndLater() {
    if (!RunningUnderWine() || !horizontal_.hwnd()) return;
    restackNow_ = true;
    SetTimer(tracking_.hwnd(), kRestackTimer, kRestackAgainMs, nullptr);
}

bool RulerStacking::OnTimer(UINT_PTR id) {
    if (id != kRestackTimer) return false;
    KillTimer(tracking_.hwnd(), kRestackTimer);
    return true;
}

void RulerStacking::KeepAboveTarget(HWND target, bool restackWanted) {
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
    if (restackWanted) NowAndLater();
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
