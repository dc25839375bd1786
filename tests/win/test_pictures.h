#pragma once
// Pictures the Win32 tests draw for themselves.
#include <windows.h>

#include "platform/gdi_win.h"
#include "platform/picture_win.h"

namespace plumbo::test {

// An enhanced metafile with a HIMETRIC frame of w x h; a black block fills the right half and a
// red line runs along the top of the left half, both placed through the reference DC's pixels
// per millimetre.
inline Picture HalfBlackMetafile(int himetricW, int himetricH) {
    WindowDc screen(nullptr);
    const int w = static_cast<int>(himetricW * GetDeviceCaps(screen.Get(), HORZRES) /
                                   (GetDeviceCaps(screen.Get(), HORZSIZE) * 100.0));
    const int h = static_cast<int>(himetricH * GetDeviceCaps(screen.Get(), VERTRES) /
                                   (GetDeviceCaps(screen.Get(), VERTSIZE) * 100.0));
    RECT frame{0, 0, himetricW, himetricH};
    HDC dc = CreateEnhMetaFileW(screen.Get(), nullptr, &frame, nullptr);
    RECT right{w / 2, 0, w, h};
    FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Pen red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    {
        SelectGuard sel(dc, red.Get());
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, w / 2, 0);
    }
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(CloseEnhMetaFile(dc), kind, nullptr, 0, 0);
}

}  // namespace plumbo::test
