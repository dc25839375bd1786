#include "capture/raster_capture_win.h"

#include <vector>

#include "app/app_win.h"
#include "app/menu_form_win.h"
#include "capture/target_win.h"
#include "capture/viewer_win.h"
#include "platform/window_win.h"

namespace plumbo {

namespace {

constexpr int kPaletteSize = 256;

// Only a palette device of exactly 256 entries gets a palette of its own.
HPALETTE CopySystemPalette(HDC source) {
    if (!(GetDeviceCaps(source, RASTERCAPS) & RC_PALETTE) || GetDeviceCaps(source, SIZEPALETTE) != kPaletteSize)
        return nullptr;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + (kPaletteSize - 1) * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = kPaletteSize;
    GetSystemPaletteEntries(source, 0, kPaletteSize, lp->palPalEntry);
    return CreatePalette(lp);
}

// How long uncovered windows are given to repaint before the copy.
constexpr DWORD kScreenSettleMs = 200;

void WaitForScreen() {
    DWORD start = GetTickCount();
    do {
        DoEvents();
        Sleep(10);
    } while (GetTickCount() - start < kScreenSettleMs);
}

}  // namespace

Picture PictureFromBitmap(HBITMAP bitmap, HPALETTE palette) {
    PictureKind kind = PictureKind::Bitmap;
    Picture p = PictureFromHandle(bitmap, kind, palette, 0, 0);
    if (p.Empty()) {
        if (bitmap) DeleteObject(bitmap);
        if (palette) DeleteObject(palette);
    }
    return p;
}

Picture GrabWindowBitmap(HWND hwnd, bool clientOnly, int srcLeft, int srcTop, int width, int height) {
    HDC source = clientOnly ? GetDC(hwnd) : GetWindowDC(hwnd);
    HDC mem = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    HPALETTE palette = CopySystemPalette(source);
    HPALETTE oldPalette = nullptr;
    if (palette) {
        oldPalette = SelectPalette(mem, palette, FALSE);
        RealizePalette(mem);
    }
    BitBlt(mem, 0, 0, width, height, source, srcLeft, srcTop, SRCCOPY);
    SelectObject(mem, oldBitmap);
    if (palette) SelectPalette(mem, oldPalette, FALSE);
    DeleteDC(mem);
    ReleaseDC(hwnd, source);
    return PictureFromBitmap(bitmap, palette);
}

void mMenuCopy_Click() {
    HWND target = gTargetWnd.hWnd;
    MenuForm* viewer = TheApp().fMenu;
    if (!target || !viewer) return;

    // Neither the rulers nor the viewer may be in the picture.
    ShowRulers(false);
    DoEvents();
    viewer->SetVisible(false);
    DoEvents();
    // The target lives in another process and repaints what our windows (and the closed ruler
    // menu) uncovered in its own time; have it do so now unless it is not answering, and give
    // the screen a moment to show it.
    if (!IsHungAppWindow(target)) RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    WaitForScreen();

    RECT rc{};
    GetWindowRect(target, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    viewer->SetPicture(GrabWindowBitmap(target, false, 0, 0, w, h));

    // A minimised viewer is restored first, so the placement below is its normal one.
    if (IsIconic(viewer->hwnd())) ShowWindow(viewer->hwnd(), SW_SHOWNORMAL);
    PlaceWindowByClient(*viewer, rc.left + kViewerOffsetPx, rc.top + kViewerOffsetPx, w, h);
    SetViewerMenuStates(false);
    viewer->gMetaFlg = false;
    ShowWindow(viewer->hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(viewer->hwnd());
    ShowRulers(true);
}

}  // namespace plumbo
