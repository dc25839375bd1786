#pragma once
// The true-millimetre calibration of each monitor (see core/calibration.h), read from
// "plumbo.ini" the first time one of our windows stands on the monitor and kept for the run.
// What is known of the monitors themselves (their names and sizes) is asked again after a
// change of the displays. Reading never writes: a section to repair waits for the next save.
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "core/calibration.h"
#include "state/settings_store_win.h"

namespace plumbo {

struct MonitorCalibration {
    std::wstring identity;              // the section's name after "CALIBRATION "; empty: never stored
    std::optional<double> pixelsPerMm;  // at the monitor's present resolution; none: Windows' millimetres
    std::optional<ImageSizeMm> edidSize;  // the picture's size the monitor reports, if it does
    int widthPx = 0;                      // the monitor's size in screen pixels
    int heightPx = 0;
};

class Calibrations {
public:
    // The file the sections live in; set at start-up. Without one nothing is read or stored.
    SettingsFile* file = nullptr;

    // The monitor a window stands on, or the one nearest to it.
    MonitorCalibration Of(HWND window);
    MonitorCalibration Of(HMONITOR monitor);
    // Layout twips per true twip there, at the resolution the caller lays out in.
    double LengthScaleOf(HWND window, double twipsPerPixel);
    double LengthScaleOf(HMONITOR monitor, double twipsPerPixel);
    // A measurement for the window's monitor at its present resolution, or with none Windows'
    // millimetres again: the section is removed.
    void Store(HWND window, std::optional<double> pixelsPerMm);
    // On WM_DISPLAYCHANGE: a monitor's size, or the monitors, may have changed.
    void DisplaysChanged() { monitors_.clear(); }
    // Sections read with unreadable text are removed, those without a resolution get the one
    // they were taken at.
    void SaveRepairs();

private:
    struct Monitor {
        std::wstring identity;
        std::optional<ImageSizeMm> edidSize;
        Resolution size;
    };
    // What a section holds, as it is used.
    struct Stored {
        std::optional<double> pixelsPerMm;
        Resolution measuredAt;
        bool unreadable = false;            // to be removed
        bool resolutionMissing = false;     // to be written
    };
    const Monitor& MonitorOf(HMONITOR monitor);
    Stored& StoredFor(const Monitor& monitor);
    static std::optional<double> PixelsPerMmNow(const Stored& stored, const Monitor& monitor);

    // By handle, until the displays change: a ruler asks on every paint, and under Wine even
    // the monitor's name costs a quarter of a millisecond to ask.
    std::map<HMONITOR, Monitor> monitors_;
    // By identity: the same panel keeps its calibration through a change of the displays.
    std::map<std::wstring, Stored> stored_;
};

}  // namespace plumbo
