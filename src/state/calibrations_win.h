#pragma once
// The true-millimetre calibration of each monitor (see core/calibration.h), read from
// "plumbo.ini" the first time one of our windows stands on the monitor and kept for the run.
// Reading never writes: a section to repair waits for the next save.
#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>

#include "core/calibration.h"
#include "state/settings_store_win.h"

namespace plumbo {

struct MonitorCalibration {
    std::wstring identity;              // the section's name after "CALIBRATION "; empty: never stored
    std::optional<double> pixelsPerMm;  // none: Windows' millimetres
    std::optional<ImageSizeMm> edidSize;  // the picture's size the monitor reports, if it does
    int widthPx = 0;                      // the monitor's size in screen pixels
    int heightPx = 0;
};

class Calibrations {
public:
    // The file the sections live in; set at start-up. Without one nothing is read or stored.
    SettingsFile* file = nullptr;

    // The monitor a window stands on, or the one nearest to it.
    const MonitorCalibration& Of(HWND window);
    // Layout twips per true twip there, at the resolution the caller lays out in.
    double LengthScaleOf(HWND window, double twipsPerPixel);
    // A measurement for the window's monitor, or with none Windows' millimetres again: the
    // section is removed.
    void Store(HWND window, std::optional<double> pixelsPerMm);
    // Sections read with unreadable text are removed.
    void SaveRepairs();

private:
    MonitorCalibration& Find(HWND window);
    // By device path: cheap to ask on every paint, where the EDID is not.
    std::map<std::wstring, MonitorCalibration> known_;
    std::set<std::wstring> unreadable_;  // sections
};

}  // namespace plumbo
