#include "platform/monitor_win.h"

#include <setupapi.h>

#include <map>
#include <utility>

namespace plumbo {

namespace {

// GUID_DEVINTERFACE_MONITOR, spelt out so that no header needs initguid.h before it.
constexpr GUID kMonitorInterface = {0xE6F07B5F, 0xEE97, 0x4A90, {0xB0, 0x76, 0x33, 0xF5, 0x7B, 0xF4, 0xEA, 0xA7}};

// An EDID block is 128 bytes; with extension blocks a few hundred.
constexpr DWORD kLargestEdid = 4096;

}  // namespace

std::wstring MonitorDevicePath(HMONITOR monitor) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return {};
    // Asked on every paint of a ruler, and asking the display driver is not cheap: kept by
    // handle and display name. A change of monitors makes new handles.
    static std::map<std::pair<HMONITOR, std::wstring>, std::wstring> known;
    const auto key = std::pair(monitor, std::wstring(info.szDevice));
    if (auto it = known.find(key); it != known.end()) return it->second;
    // The display device's first child is the monitor; the flag asks for its interface path,
    // which the device set below can open.
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    std::wstring path = info.szDevice;
    if (EnumDisplayDevicesW(info.szDevice, 0, &device, EDD_GET_DEVICE_INTERFACE_NAME) && device.DeviceID[0])
        path = device.DeviceID;
    known.emplace(key, path);
    return path;
}

std::vector<uint8_t> MonitorEdid(const std::wstring& devicePath) {
    std::vector<uint8_t> edid;
    HDEVINFO set = SetupDiGetClassDevsW(&kMonitorInterface, nullptr, nullptr, DIGCF_DEVICEINTERFACE | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return edid;
    SP_DEVICE_INTERFACE_DATA face{};
    face.cbSize = sizeof face;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    // Asked with no room for the path, the detail call still fills in the device, failing
    // with ERROR_INSUFFICIENT_BUFFER.
    bool found = SetupDiOpenDeviceInterfaceW(set, devicePath.c_str(), 0, &face) != FALSE;
    if (found)
        found = SetupDiGetDeviceInterfaceDetailW(set, &face, nullptr, 0, nullptr, &device) ||
                GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    if (found) {
        HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key != INVALID_HANDLE_VALUE) {
            DWORD type = 0, size = kLargestEdid;
            edid.resize(size);
            if (RegQueryValueExW(key, L"EDID", nullptr, &type, edid.data(), &size) == ERROR_SUCCESS &&
                type == REG_BINARY)
                edid.resize(size);
            else
                edid.clear();
            RegCloseKey(key);
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return edid;
}

RECT MonitorRect(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcMonitor;
}

namespace {

PixelRect WorkAreaOfMonitor(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace

PixelRect WorkAreaOf(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    return WorkAreaOfMonitor(window && IsWindow(window) ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                                        : MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST));
}

PixelRect WorkAreaAround(const RECT& r) { return WorkAreaOfMonitor(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST)); }

void PlaceOnWorkArea(HWND window, HWND nearWindow, const POINT* wanted) {
    RECT r{};
    GetWindowRect(window, &r);
    const int32_t width = r.right - r.left, height = r.bottom - r.top;
    const PixelRect area = WorkAreaOf(nearWindow);
    const int32_t left = wanted ? wanted->x : area.left + (area.right - area.left - width) / 2;
    const int32_t top = wanted ? wanted->y : area.top + (area.bottom - area.top - height) / 2;
    const PixelRect placed = KeptWithin(left, top, width, height, area);
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace plumbo
