#include "platform/window_reports_win.h"

#include <dwmapi.h>

#include "platform/dpi_win.h"

namespace plumbo {

namespace {

// user32's DPI-awareness calls, Windows 10 1607 on; looked up at run time so the program still
// starts on older systems, where every program is as aware as its manifest and nothing switches.
struct DpiFunctions {
    using Context = void*;
    Context(WINAPI* windowContext)(HWND) = nullptr;               // GetWindowDpiAwarenessContext
    int(WINAPI* awarenessOf)(Context) = nullptr;                  // GetAwarenessFromDpiAwarenessContext
    Context(WINAPI* setThreadContext)(Context) = nullptr;         // SetThreadDpiAwarenessContext
    int(WINAPI* metricForDpi)(int, UINT) = nullptr;               // GetSystemMetricsForDpi
    UINT(WINAPI* contextDpi)(Context) = nullptr;                  // GetDpiFromDpiAwarenessContext
    UINT(WINAPI* processDpi)(HANDLE) = nullptr;                   // GetSystemDpiForProcess
};

template <typename F>
void Load(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const DpiFunctions& DpiCalls() {
    static const DpiFunctions functions = [] {
        DpiFunctions f;
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        Load(user32, "GetWindowDpiAwarenessContext", f.windowContext);
        Load(user32, "GetAwarenessFromDpiAwarenessContext", f.awarenessOf);
        Load(user32, "SetThreadDpiAwarenessContext", f.setThreadContext);
        Load(user32, "GetSystemMetricsForDpi", f.metricForDpi);
        Load(user32, "GetDpiFromDpiAwarenessContext", f.contextDpi);
        Load(user32, "GetSystemDpiForProcess", f.processDpi);
        return f;
    }();
    return functions;
}

// DPI_AWARENESS_CONTEXT_UNAWARE, _SYSTEM_AWARE and _PER_MONITOR_AWARE_V2, and the awareness
// numbers GetAwarenessFromDpiAwarenessContext answers.
const DpiFunctions::Context kUnawareContext = reinterpret_cast<DpiFunctions::Context>(-1);
const DpiFunctions::Context kSystemAwareContext = reinterpret_cast<DpiFunctions::Context>(-2);
const DpiFunctions::Context kPerMonitorV2Context = reinterpret_cast<DpiFunctions::Context>(-4);
constexpr int kAwarenessUnaware = 0, kAwarenessSystem = 1;
// PW_RENDERFULLCONTENT, Windows 8.1 on; older headers lack it.
constexpr UINT kRenderFullContent = 2;

// A process's mandatory integrity level (its label's last sub-authority). One whose token we may
// not read is shielded from us, so above us.
DWORD IntegrityOf(DWORD processId) {
    DWORD level = SECURITY_MANDATORY_PROTECTED_PROCESS_RID;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    HANDLE token = nullptr;
    if (process && OpenProcessToken(process, TOKEN_QUERY, &token)) {
        alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[64];
        DWORD size = 0;
        if (GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
            const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
            level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
        }
        CloseHandle(token);
    }
    if (process) CloseHandle(process);
    return level;
}

WindowReports WindowsOwnReports() {
    WindowReports r;
    r.extendedFrameBounds = [](HWND window) -> std::optional<RECT> {
        RECT bounds{};
        if (FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds)) ||
            IsRectEmpty(&bounds))
            return std::nullopt;
        return bounds;
    };
    r.cloaked = [](HWND window) {
        DWORD cloaked = 0;
        return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
    };
    r.desktopComposed = [] {
        BOOL composed = FALSE;
        return SUCCEEDED(DwmIsCompositionEnabled(&composed)) && composed;
    };
    r.dpiAwareness = [](HWND window) {
        const DpiFunctions& f = DpiCalls();
        if (!f.windowContext || !f.awarenessOf) return DpiAwareness::PerMonitor;
        switch (f.awarenessOf(f.windowContext(window))) {
        case kAwarenessUnaware: return DpiAwareness::Unaware;
        case kAwarenessSystem: return DpiAwareness::System;
        default: return DpiAwareness::PerMonitor;
        }
    };
    r.contextDpi = [](HWND window) -> UINT {
        const DpiFunctions& f = DpiCalls();
        if (f.windowContext && f.contextDpi)
            if (const UINT dpi = f.contextDpi(f.windowContext(window))) return dpi;
        if (!f.processDpi) return 0;
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (!process) return 0;
        const UINT dpi = f.processDpi(process);
        CloseHandle(process);
        return dpi;
    };
    r.switchThreadAwareness = [](DpiAwareness awareness) -> void* {
        const DpiFunctions& f = DpiCalls();
        if (!f.setThreadContext) return nullptr;
        return f.setThreadContext(awareness == DpiAwareness::Unaware  ? kUnawareContext
                                  : awareness == DpiAwareness::System ? kSystemAwareContext
                                                                      : kPerMonitorV2Context);
    };
    r.restoreThreadAwareness = [](void* previous) { DpiCalls().setThreadContext(previous); };
    r.renderFullContent = [](HWND window, HDC dc) { return PrintWindow(window, dc, kRenderFullContent) != FALSE; };
    r.realClassName = [](HWND window) {
        wchar_t name[256] = {};
        const UINT n = RealGetWindowClassW(window, name, 256);
        return std::wstring(name, n < 256 ? n : 255);
    };
    // Wine holds every pointer event for a round trip to the thread of a low-level hook: with one
    // in, drags of a window with the X pointer lost steps and activated windows were not seen in
    // front in time (two end-to-end runs in five, also with the hook out while a button was
    // held). There the pointer is only looked at.
    r.hookPointer = [](HOOKPROC proc) -> HHOOK {
        return RunningUnderWine() ? nullptr : SetWindowsHookExW(WH_MOUSE_LL, proc, GetModuleHandleW(nullptr), 0);
    };
    r.higherIntegrity = [](HWND window) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        return IntegrityOf(process) > IntegrityOf(GetCurrentProcessId());
    };
    return r;
}

}  // namespace

bool RunningUnderWine() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

WindowReports& Reports() {
    static WindowReports reports = WindowsOwnReports();
    return reports;
}

void ResetReports() { Reports() = WindowsOwnReports(); }

bool WindowAnswers(HWND window, UINT withinMs) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, withinMs, &ignored) != 0;
}

RECT VisibleFrame(HWND window) {
    // A child window has no frame of DWM's; its rectangle is what shows.
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
        if (std::optional<RECT> bounds = Reports().extendedFrameBounds(window)) return *bounds;
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

bool IsCloaked(HWND window) { return Reports().cloaked(window); }

ThreadDpiAwarenessScope::ThreadDpiAwarenessScope(DpiAwareness awareness)
    : previous_(Reports().switchThreadAwareness(awareness)) {}

ThreadDpiAwarenessScope::~ThreadDpiAwarenessScope() {
    if (previous_) Reports().restoreThreadAwareness(previous_);
}

DpiReading ReadingOf(HWND window, UINT monitorDpi) {
    DpiFacts facts;
    facts.awareness = Reports().dpiAwareness(window);
    facts.contextDpi = Reports().contextDpi(window);
    facts.monitorDpi = monitorDpi;
    facts.ourSystemDpi = SystemDpi().x;
    // Under Wine every program draws at the monitor's DPI, whatever it declares, and nothing
    // composes the desktop.
    facts.composed = Reports().desktopComposed();
    return ReadingFor(facts);
}

namespace {

thread_local const DpiReading* currentReading = nullptr;

// Each edge of r as `scale` takes it under the reading in force.
RECT Scaled(const RECT& r, int32_t (*scale)(int32_t, const DpiReading&)) {
    const DpiReading& reading = TargetReading();
    return {scale(r.left, reading), scale(r.top, reading), scale(r.right, reading), scale(r.bottom, reading)};
}

}  // namespace

RECT ThreadToTarget(const RECT& r) { return Scaled(r, FromThreadPixels); }

TargetPixelsScope::TargetPixelsScope(const DpiReading& reading)
    : outer_(currentReading) {
    // A program read in the screen's pixels needs no switch: we are per-monitor aware.
    if (reading.stretched) awareness_.emplace(reading.thread);
    currentReading = &reading;
}

TargetPixelsScope::~TargetPixelsScope() { currentReading = outer_; }

const DpiReading& TargetReading() {
    static const DpiReading screen = [] {
        DpiReading r;
        r.dpi = SystemDpi().x;
        r.threadDpi = r.dpi;
        r.monitorDpi = r.dpi;
        return r;
    }();
    return currentReading ? *currentReading : screen;
}

RECT TargetWindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return ThreadToTarget(r);
}

RECT TargetClientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return ThreadToTarget(r);
}

RECT TargetClientOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return ThreadToTarget(r);
}

POINT TargetClientToScreen(HWND window, POINT at) {
    // Only the client area's corner is the window manager's; the point is the control's own.
    POINT origin{0, 0};
    MapWindowPoints(window, nullptr, &origin, 1);
    const DpiReading& reading = TargetReading();
    return {FromThreadPixels(origin.x, reading) + at.x, FromThreadPixels(origin.y, reading) + at.y};
}

RECT TargetToPhysical(const RECT& r) { return Scaled(r, ToPhysicalPixels); }

RECT PhysicalToTarget(const RECT& r) { return Scaled(r, FromPhysicalPixels); }

int TargetMetric(int index) { return SystemMetricForDpi(index, TargetReading().dpi); }

int SystemMetricForDpi(int index, UINT dpi) {
    if (const auto metric = DpiCalls().metricForDpi) return metric(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi().x));
}

}  // namespace plumbo
