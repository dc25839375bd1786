#include "state/calibrations_win.h"

#include <utility>

#include "core/calibration.h"
#include "platform/monitor_win.h"

namespace plumbo {

MonitorCalibration& Calibrations::Find(HWND window) {
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    const std::wstring path = MonitorDevicePath(monitor);
    auto it = known_.find(path);
    if (it != known_.end()) return it->second;

    MonitorCalibration c;
    const std::vector<uint8_t> edid = MonitorEdid(path);
    c.identity = MonitorIdentity(edid, path);
    c.edidSize = EdidImageSizeMm(edid);
    const RECT r = MonitorRect(monitor);
    c.widthPx = r.right - r.left;
    c.heightPx = r.bottom - r.top;
    if (!c.identity.empty() && file) {
        const std::wstring section = CalibrationSection(c.identity);
        const StoredCalibration stored = ParseStoredCalibration(file->Read(section, kKeyPixelsPerMm));
        if (stored.unreadable) unreadable_.insert(section);
        c.pixelsPerMm = stored.pixelsPerMm;
    }
    return known_.emplace(path, std::move(c)).first->second;
}

const MonitorCalibration& Calibrations::Of(HWND window) { return Find(window); }

double Calibrations::LengthScaleOf(HWND window, double twipsPerPixel) {
    return LengthScale(Of(window).pixelsPerMm, twipsPerPixel);
}

void Calibrations::Store(HWND window, std::optional<double> pixelsPerMm) {
    MonitorCalibration& c = Find(window);
    c.pixelsPerMm = pixelsPerMm;
    // A monitor with no name cannot be found again next time: calibrated for this run only.
    if (!c.identity.empty() && file) {
        const std::wstring section = CalibrationSection(c.identity);
        if (pixelsPerMm)
            file->Write(section, kKeyPixelsPerMm, FormatPixelsPerMm(*pixelsPerMm));
        else
            file->RemoveSection(section);
    }
    SaveRepairs();
}

void Calibrations::SaveRepairs() {
    if (!file) return;
    for (const std::wstring& section : std::exchange(unreadable_, {})) file->RemoveSection(section);
}

}  // namespace plumbo
