#include "platform/dpi_win.h"

namespace plumbo {

namespace {

// shcore.dll's GetDpiForMonitor, Windows 8.1 on; looked up at run time so the program still
// starts on Windows 7. Wine has it and answers the system DPI for every monitor.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR monitor, int type, UINT* dpiX, UINT* dpiY);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the DPI the user's scaling gives it

GetDpiForMonitorFunction LoadGetDpiForMonitor() {
    HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!shcore) return nullptr;
    return reinterpret_cast<GetDpiForMonitorFunction>(
        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
}

}  // namespace

Dpi SystemDpi() {
    static const Dpi dpi = [] {
        HDC screen = GetDC(nullptr);
        const int x = GetDeviceCaps(screen, LOGPIXELSX), y = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return Dpi{x > 0 ? static_cast<UINT>(x) : 96u, y > 0 ? static_cast<UINT>(y) : 96u};
    }();
    return dpi;
}

Dpi MonitorDpi(HMONITOR monitor) {
    static const GetDpiForMonitorFunction getDpiForMonitor = LoadGetDpiForMonitor();
    UINT x = 0, y = 0;
    if (monitor && getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0 && y > 0)
        return {x, y};
    return SystemDpi();
}

HMONITOR MonitorOf(HWND window) { return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); }

TwipsPerPixel MonitorTwipsPerPixel(HMONITOR monitor, Dpi dpi) { return TwipsPerPixelAt(dpi.x, dpi.y); }

TwipsPerPixel WindowTwipsPerPixel(HWND window) {
    const HMONITOR monitor = MonitorOf(window);
    return MonitorTwipsPerPixel(monitor, MonitorDpi(monitor));
}

}  // namespace plumbo
