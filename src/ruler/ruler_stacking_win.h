#pragma once
// The rulers kept above the window they stand along. Windows keeps topmost windows above the
// others; Wine keeps its own Z order right but not the X server's, so under Wine the rulers are
// stacked again whenever the target may have come up above them.
#include <windows.h>

#include "ruler/ruler_window_win.h"

namespace plumbo {

class RulerStacking {
public:
    // Its timer is tracking's window's.
    RulerStacking(RulerWindow& horizontal, RulerWindow& vertical, const Window& tracking)
        : horizontal_(horizontal), vertical_(vertical), tracking_(tracking) {}

    // Under Wine: the rulers are stacked above the target at the next KeepAboveTarget, and once
    // more a while later, as another program's requests to the X server may arrive after ours.
    void NowAndLater();
    // Called with each of tracking's timer ticks; true for the one NowAndLater set, which is then
    // over.
    bool OnTimer(UINT_PTR id);
    // The rulers are stacked at the next KeepAboveTarget.
    void AtNextLook() { restackNow_ = true; }
    // The next KeepAboveTarget walks the Z order whatever the time.
    void CheckSoon() { nextStackCheck_ = 0; }
    // restackWanted: the target may have come up (it changed, was raised, or clicked).
    void KeepAboveTarget(HWND target, bool restackWanted);

private:
    RulerWindow& horizontal_;
    RulerWindow& vertical_;
    const Window& tracking_;
    bool restackNow_ = false;  // under Wine: stack the rulers above the target at the next look
    ULONGLONG nextStackCheck_ = 0;
};

// Moves both rulers to the top of the topmost band, or out of that band to the top of the
// other windows, the vertical one above the horizontal one that owns it.
void StackRulers(RulerWindow& horizontal, RulerWindow& vertical, bool topmost);

}  // namespace plumbo
