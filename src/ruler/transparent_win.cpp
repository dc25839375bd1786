#include "ruler/transparent_win.h"

#include "app/app_win.h"
#include "app/menu_table.h"
#include "app/settings.h"
#include "app/settings_store_win.h"
#include "platform/gdi_win.h"
#include "ruler/ruler_window_win.h"

#ifndef WDA_EXCLUDEFROMCAPTURE
#define WDA_EXCLUDEFROMCAPTURE 0x00000011
#endif

namespace plumbo {

namespace {

// A copy asked for while its ruler was hidden; made as soon as the ruler shows again.
bool gPendingHrz = false;
bool gPendingVer = false;

// Where the system can leave a window out of screen copies, the ruler need not vanish and
// reappear for each copy. Asked once per ruler window.
bool ExcludedFromCapture(HWND hwnd) {
    static HWND askedHrz = nullptr, askedVer = nullptr;
    static bool okHrz = false, okVer = false;
    bool isHrz = TheApp().fHrz && TheApp().fHrz->hwnd() == hwnd;
    HWND& asked = isHrz ? askedHrz : askedVer;
    bool& ok = isHrz ? okHrz : okVer;
    if (asked != hwnd) {
        asked = hwnd;
        ok = SetWindowDisplayAffinity(hwnd, WDA_EXCLUDEFROMCAPTURE) != FALSE;
    }
    return ok;
}

void CopyBack(RulerWindow* ruler, bool& pending) {
    if (!gToumeiFlg || !ruler || !ruler->hwnd()) return;
    if (!ruler->Visible()) {
        // A hidden ruler stays hidden; its copy waits until it is shown.
        pending = true;
        return;
    }
    pending = false;
    HWND hwnd = ruler->hwnd();
    RECT client = ruler->ClientRect();
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);  // exact pixels, negative coordinates included
    int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;

    bool hide = !ExcludedFromCapture(hwnd);
    if (hide) {
        ShowWindow(hwnd, SW_HIDE);
        // Let the windows behind repaint the area before it is read.
        DoEvents();
        RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(100);
        DoEvents();
    }
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    Bitmap image(CreateCompatibleBitmap(screen, w, h));
    {
        MemoryDc mem(screen);
        SelectGuard sel(mem.Get(), image.Get());
        BitBlt(mem.Get(), 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    }
    ReleaseDC(desktop, screen);
    if (hide) ShowWindow(hwnd, SW_SHOWNA);
    ruler->SetBackgroundImage(std::move(image));
}

void CheckMoved(RulerWindow* ruler, RECT& stored, bool& pending, void (*copy)()) {
    if (!ruler || !ruler->Visible()) return;
    RECT r = ruler->WindowRect();
    if (r.left != stored.left || r.top != stored.top || r.right != stored.right || r.bottom != stored.bottom ||
        pending) {
        copy();
        stored = r;
    }
}

}  // namespace

void CopyBackHrz() { CopyBack(TheApp().fHrz, gPendingHrz); }
void CopyBackVer() { CopyBack(TheApp().fVer, gPendingVer); }

void tBack_Timer() {
    CheckMoved(TheApp().fHrz, gRectHrz, gPendingHrz, &CopyBackHrz);
    CheckMoved(TheApp().fVer, gRectVer, gPendingVer, &CopyBackVer);
}

void mMenuSetToumei_Click() {
    App& a = TheApp();
    if (!IsMenuChecked(mMenuSetToumei)) {
        CheckMenu(mMenuSetToumei, true);
        gToumeiFlg = true;
        CopyBackHrz();
        CopyBackVer();
        WriteIni(L"SHOW", L"TRANSPARENT", L"TRUE");
    } else {
        CheckMenu(mMenuSetToumei, false);
        gToumeiFlg = false;
        gPendingHrz = gPendingVer = false;
        if (a.fHrz) a.fHrz->SetBaseColor(gColorMej);
        if (a.fVer) a.fVer->SetBaseColor(gColorMej);
        WriteIni(L"SHOW", L"TRANSPARENT", L"FALSE");
    }
}

}  // namespace plumbo
