#pragma once
// What Windows 10 and 11 say about a window beyond its rectangle, each from the one call that
// says it: the frame a person sees (without the invisible resize borders), whether the
// compositor hides the window, whether it composes the desktop at all, the coordinates the
// window's program thinks in, and a picture of the window as the compositor draws it.
//
// Wine (8.0) answers none of these as Windows does: DwmGetWindowAttribute fails (E_NOTIMPL),
// DwmIsCompositionEnabled says FALSE, every program is as DPI aware as it asks and the monitor
// has the system DPI, and PrintWindow sends WM_PRINT, which draws nothing for another program's
// window. So every such answer comes through WindowReports, which a test in the process replaces
// to stand in for Windows, and all the logic around them is tested that way.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/dpi_reading.h"

namespace plumbo {

struct WindowReports {
    // DWMWA_EXTENDED_FRAME_BOUNDS, in physical screen pixels; nullopt where DWM cannot say.
    std::function<std::optional<RECT>(HWND)> extendedFrameBounds;
    // DWMWA_CLOAKED: shown as far as the window knows, yet not on the screen (another virtual
    // desktop, a suspended app, a shell surface waiting to open).
    std::function<bool(HWND)> cloaked;
    // DwmIsCompositionEnabled: always so from Windows 8 on.
    std::function<bool()> desktopComposed;
    // The DPI awareness the window's program runs with. A program that is not per-monitor aware
    // thinks in 96 dpi (unaware) or in the system DPI it started with, which is ours.
    std::function<DpiAwareness(HWND)> dpiAwareness;
    // The DPI the window's awareness context carries (GetDpiFromDpiAwarenessContext), else its
    // process's system DPI (GetSystemDpiForProcess): since Windows 10 1803 a system-aware program
    // keeps the system DPI it started with, which after a change of scaling is not ours. 0 where
    // neither can say: Wine (8.0) has neither call, and every program there has the one system DPI.
    std::function<UINT(HWND)> contextDpi;
    // Runs the calling thread in another DPI awareness (SetThreadDpiAwarenessContext), giving back
    // what to restore it with; null where the system cannot switch (before Windows 10 1607).
    std::function<void*(DpiAwareness)> switchThreadAwareness;
    std::function<void(void*)> restoreThreadAwareness;
    // PrintWindow with PW_RENDERFULLCONTENT into dc (the window's whole outer rectangle at 0,0);
    // false when it failed.
    std::function<bool(HWND, HDC)> renderFullContent;
    // RealGetWindowClassW: for a superclass of a user32 control (a toolkit's button under a name of
    // its own) Windows names the system class it is made from; Wine names the window's own class.
    std::function<std::wstring(HWND)> realClassName;
    // A low-level mouse hook for the calling thread (SetWindowsHookExW, WH_MOUSE_LL); null where
    // none is put in. Windows may take it away again unannounced, and it hears nothing while a
    // window of a program of higher integrity is in front (UIPI).
    std::function<HHOOK(HOOKPROC)> hookPointer;
    // Whether the window's program runs at a higher integrity level than ours (an elevated one).
    std::function<bool(HWND)> higherIntegrity;
};

// Whether the program runs under Wine, for what no report tells apart (how its X server stacks
// windows).
bool RunningUnderWine();

// The reports in force: Windows' own unless a test has put others in.
WindowReports& Reports();
// Back to Windows' own.
void ResetReports();

// Whether the window's thread takes a message within withinMs: one that does not would hold up
// whatever we ask of it synchronously, a move or a picture of its content.
bool WindowAnswers(HWND window, UINT withinMs);

// The frame a person sees: the extended frame bounds, or the window rectangle where there are
// none (Wine, Windows 7 without composition, a child window).
RECT VisibleFrame(HWND window);
// Whether the compositor hides the window although it is visible.
bool IsCloaked(HWND window);

// Runs the calling thread in another DPI awareness until the scope ends: a program's windows read
// in its own coordinates. Where the system cannot switch (before Windows 10 1607) nothing
// changes.
class ThreadDpiAwarenessScope {
public:
    explicit ThreadDpiAwarenessScope(DpiAwareness awareness);
    ~ThreadDpiAwarenessScope();
    ThreadDpiAwarenessScope(const ThreadDpiAwarenessScope&) = delete;
    ThreadDpiAwarenessScope& operator=(const ThreadDpiAwarenessScope&) = delete;

private:
    void* previous_ = nullptr;
};

// How the window is read for the DPI its program lays it out at, on a monitor of monitorDpi.
DpiReading ReadingOf(HWND window, UINT monitorDpi);

// While it lasts, this thread reads a target as reading says: in the awareness it names, and
// the rectangles below come in the record's pixels.
class TargetPixelsScope {
public:
    explicit TargetPixelsScope(const DpiReading& reading);
    ~TargetPixelsScope();
    TargetPixelsScope(const TargetPixelsScope&) = delete;
    TargetPixelsScope& operator=(const TargetPixelsScope&) = delete;

private:
    std::optional<ThreadDpiAwarenessScope> awareness_;
    const DpiReading* outer_;
};

// The reading in force on this thread: the screen's pixels outside any TargetPixelsScope.
const DpiReading& TargetReading();
// The window manager's rectangles in the target's pixels: any this thread was given, a window's,
// its client area (at 0,0 and on the screen), and a point of its client area on the screen.
RECT ThreadToTarget(const RECT& r);
RECT TargetWindowRect(HWND window);
RECT TargetClientRect(HWND window);
RECT TargetClientOnScreen(HWND window);
POINT TargetClientToScreen(HWND window, POINT at);
// A rectangle in the target's pixels on the screen's physical pixels, and back.
RECT TargetToPhysical(const RECT& r);
RECT PhysicalToTarget(const RECT& r);
// A system metric at the DPI the target is read in.
int TargetMetric(int index);

// GetSystemMetricsForDpi where the system has it, else GetSystemMetrics scaled from the
// system DPI.
int SystemMetricForDpi(int index, UINT dpi);

}  // namespace plumbo
