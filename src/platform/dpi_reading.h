#pragma once
// How another program's window is read so that everything of it comes out in one set of pixels.
// A program that is not per-monitor aware lays itself out at a DPI of its own (96, or the
// system DPI it started with) and the compositor stretches it to the monitor's. Its controls
// answer in those pixels, so its window is read in them too; the window manager's rectangles are
// scaled into them wherever this thread cannot be made to think in them itself.
#include <cstdint>

namespace plumbo {

// How a program's windows are scaled for the monitor they stand on.
enum class DpiAwareness {
    PerMonitor,  // its own pixels are the screen's
    System,      // laid out at the system DPI it started with; stretched on other monitors
    Unaware,     // laid out at 96 dpi; the compositor stretches it everywhere else
};

// What is known of the target and of us when it is read.
struct DpiFacts {
    DpiAwareness awareness = DpiAwareness::PerMonitor;
    // The DPI its awareness context carries: 96 unaware, its process's system DPI when system
    // aware; 0 where the system cannot say (before Windows 10 1803, and Wine).
    uint32_t contextDpi = 0;
    uint32_t monitorDpi = 96;
    uint32_t ourSystemDpi = 96;
    bool composed = true;
};

struct DpiReading {
    // The DPI of the record's pixels: the program's own when stretched, else the monitor's.
    uint32_t dpi = 96;
    // Read in the program's own pixels, which the compositor stretches to the screen's.
    bool stretched = false;
    // The awareness this thread runs in meanwhile, and the DPI the window manager then gives
    // rectangles in; they are scaled from that DPI to dpi.
    DpiAwareness thread = DpiAwareness::PerMonitor;
    uint32_t threadDpi = 96;
    uint32_t monitorDpi = 96;
};

DpiReading ReadingFor(const DpiFacts& facts);

// A window manager's coordinate on this thread, in the record's pixels.
int32_t FromThreadPixels(int32_t v, const DpiReading& reading);
// A coordinate in the screen's physical pixels (a grab of the screen, an accessibility answer),
// in the record's pixels, and back.
int32_t FromPhysicalPixels(int32_t v, const DpiReading& reading);
int32_t ToPhysicalPixels(int32_t v, const DpiReading& reading);

}  // namespace plumbo
