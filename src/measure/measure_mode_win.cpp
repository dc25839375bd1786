#include "measure/measure_mode_win.h"

#include "core/calibration.h"
#include "platform/dpi_win.h"
#include "platform/ui_task_win.h"
#include "platform/window_reports_win.h"

namespace plumbo {

namespace {

// The monitor's pixels as they are on the screen now, in a DIB section whose bits are read
// for the edges; an empty picture when it cannot be made.
MeasureScene ScreenPicture(const RECT& monitor) {
    MeasureScene scene;
    scene.monitor = monitor;
    const int width = monitor.right - monitor.left, height = monitor.bottom - monitor.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    WindowDc screen(nullptr);
    void* bits = nullptr;
    scene.picture.Reset(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!scene.picture) return scene;
    MemoryDc copy(screen.Get());
    SelectGuard sel(copy.Get(), scene.picture.Get());
    BitBlt(copy.Get(), 0, 0, width, height, screen.Get(), monitor.left, monitor.top, SRCCOPY);
    GdiFlush();
    scene.bits = static_cast<const uint32_t*>(bits);
    return scene;
}

}  // namespace

void MeasureMode::Start() {
    if (starting_ || Open()) return;
    starting_ = true;
    program_.measuring = true;
    // Neither the rulers nor the viewer may be in the picture; tracking waits while the mode is
    // open, so the rulers come back along the same target.
    rulersHidden_ = program_.rulers && program_.rulers->Shown();
    viewerHidden_ = program_.viewer && IsWindowVisible(program_.viewer->Window());
    if (program_.rulers) {
        program_.rulers->Show(false);
        program_.rulers->SuspendTracking();
    }
    if (viewerHidden_) program_.viewer->Hide();
    RunLater(kMeasureSettleMs, [this] { TakePicture(); });
}

void MeasureMode::TakePicture() {
    starting_ = false;
    POINT cursor{};
    GetCursorPos(&cursor);
    const HMONITOR monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(monitor, &mi);
    MeasureScene scene = ScreenPicture(mi.rcMonitor);
    if (!scene.bits) {
        PutBack();
        return;
    }
    const HWND target = program_.target.hwnd;
    const bool hasTarget = target && IsWindow(target);
    const RECT frame = hasTarget ? VisibleFrame(target) : mi.rcMonitor;
    scene.origin = {frame.left, frame.top};
    const Dpi dpi = MonitorDpi(monitor);
    scene.dpi = dpi.y;
    if (hasTarget && walk_) scene.controls = walk_(target);
    const double twipsPerPixel = MonitorTwipsPerPixel(monitor, dpi).x;
    scene.scale.unit = program_.unit;
    scene.scale.pixelsPerMm = NominalPixelsPerMm(twipsPerPixel);
    if (!window_.Open(std::move(scene), [this] { PutBack(); })) {
        PutBack();
        return;
    }
    // The true millimetres of the monitor the window now stands on, as its rulers take them.
    window_.SetPixelsPerMm(NominalPixelsPerMm(twipsPerPixel) *
                           program_.calibrations.LengthScaleOf(window_.hwnd(), twipsPerPixel));
}

void MeasureMode::PutBack() {
    program_.measuring = false;
    if (program_.rulers) {
        program_.rulers->ResumeTracking();
        if (rulersHidden_) program_.rulers->Show(true);
    }
    if (viewerHidden_ && program_.viewer) ShowWindow(program_.viewer->Window(), SW_SHOWNA);
    rulersHidden_ = viewerHidden_ = false;
}

}  // namespace plumbo
