#include "capture/target_win.h"

#include "app/app_win.h"
#include "app/settings.h"
#include "capture/placement.h"
#include "ruler/ruler_window_win.h"

namespace plumbo {

void PlaceRulers(const RECT& rc) {
    App& a = TheApp();
    if (!a.fHrz || !a.fVer) return;
    RECT h = a.fHrz->WindowRect();
    RECT v = a.fVer->WindowRect();
    auto places = plumbo::PlaceRulers(PixelRect{rc.left, rc.top, rc.right, rc.bottom}, h.bottom - h.top,
                                      v.right - v.left, gInsideFlg);
    if (!places) return;
    a.fHrz->MovePx(places->hrz.left, places->hrz.top, places->hrz.width, places->hrz.height);
    a.fVer->MovePx(places->ver.left, places->ver.top, places->ver.width, places->ver.height);
}

void tSerch_Timer() {
    HWND h = GetForegroundWindow();
    // While windows switch there is for a moment no foreground window: keep what we have.
    if (!h || IsOwnForm(h)) return;
    RECT rc{};
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowRect(h, &rc);
    GetWindowPlacement(h, &wp);
    if (h == gTargetWnd.hWnd && EqualRect(&rc, &gTargetWnd.rcWnd) && wp.showCmd == gTargetWnd.wpWnd.showCmd)
        return;
    PlaceRulers(rc);
    gTargetWnd.hWnd = h;
    gTargetWnd.rcWnd = rc;
    gTargetWnd.wpWnd = wp;
}

}  // namespace plumbo
