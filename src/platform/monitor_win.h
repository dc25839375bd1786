#pragma once
// What Windows knows about a monitor beyond its rectangle: the device path it gives the
// monitor and the monitor's EDID, its own description of itself.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/pixel_geometry.h"

namespace plumbo {

// The monitor's device path ("\\?\DISPLAY#GSM5B7F#...#{e6f07b5f-...}"), or its display name
// (\\.\DISPLAY1) when Windows gives no path. Cheap after the first time for a monitor.
std::wstring MonitorDevicePath(HMONITOR monitor);

// The EDID the monitor handed its adapter, kept in the monitor device's registry key; empty
// when there is none (virtual displays, remote sessions, Wine without a display that reports one).
std::vector<uint8_t> MonitorEdid(const std::wstring& devicePath);

// The monitor's rectangle in screen pixels.
RECT MonitorRect(HMONITOR monitor);

// The work area (the monitor less its taskbars) of the monitor a window of any program stands
// on; without a window, of the monitor under the mouse pointer, where the user is.
PixelRect WorkAreaOf(HWND window);
// Of the monitor that holds most of a rectangle on the screen.
PixelRect WorkAreaAround(const RECT& r);

// Moves a window of ours the least that keeps it wholly on the work area of the monitor
// nearWindow stands on (see WorkAreaOf), its top-left corner wanted at `wanted`, or centred
// there without one.
void PlaceOnWorkArea(HWND window, HWND nearWindow, const POINT* wanted = nullptr);

}  // namespace plumbo
