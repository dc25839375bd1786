#pragma once
// What the screen says about itself: resolution, work area, virtual screen.
#include <windows.h>

#include "core/units.h"

namespace plumbo {

// Twips per pixel of the screen, read from its logical resolution each time it is asked.
inline TwipsPerPixel ScreenTwipsPerPixel() {
    HDC dc = GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return {kTwipsPerInch / (dpiX > 0 ? dpiX : 96), kTwipsPerInch / (dpiY > 0 ? dpiY : 96)};
}

}  // namespace plumbo
