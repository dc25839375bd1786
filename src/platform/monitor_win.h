#pragma once
// What Windows knows about a monitor beyond its rectangle: the device path it gives the
// monitor and the monitor's EDID, its own description of itself.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace plumbo {

// The monitor's device path ("\\?\DISPLAY#GSM5B7F#...#{e6f07b5f-...}"), or its display name
// (\\.\DISPLAY1) when Windows gives no path. Cheap after the first time for a monitor.
std::wstring MonitorDevicePath(HMONITOR monitor);

// The EDID the monitor handed its adapter, kept in the monitor device's registry key; empty
// when there is none (virtual displays, remote sessions, Wine without a display that reports one).
std::vector<uint8_t> MonitorEdid(const std::wstring& devicePath);

// The monitor's rectangle in screen pixels.
RECT MonitorRect(HMONITOR monitor);

}  // namespace plumbo
