#pragma once
// The resolution of each monitor. The program is per-monitor DPI aware: window rectangles are
// in the physical pixels of whichever monitor they fall on, and a length in twips comes to a
// different number of pixels on monitors of different DPI.
#include <windows.h>

#include "core/units.h"

namespace plumbo {

// Dots per inch, horizontal and vertical.
struct Dpi {
    UINT x = 96;
    UINT y = 96;
    friend bool operator==(const Dpi&, const Dpi&) = default;
};

// The screen's logical resolution: the primary monitor's DPI when the program started, which
// stays the same until the user signs in again. Our dialogs are first laid out in it.
Dpi SystemDpi();
// The DPI Windows gives a monitor now (Windows 8.1 on); the system DPI where it cannot tell,
// which is every monitor's before 8.1 and under Wine.
Dpi MonitorDpi(HMONITOR monitor);
// The monitor a window of any program stands on: the one holding most of it, or the nearest.
HMONITOR MonitorOf(HWND window);

// Twips per pixel of a monitor at a DPI. Every conversion between twips and the pixels of a
// monitor (the rulers, the size dialog, the captures and the re-drawing) asks here, naming the
// monitor, so that what is known of a monitor beyond its DPI has one place to come in.
TwipsPerPixel MonitorTwipsPerPixel(HMONITOR monitor, Dpi dpi);
// Of the monitor a window stands on, at that monitor's DPI now.
TwipsPerPixel WindowTwipsPerPixel(HWND window);

}  // namespace plumbo
