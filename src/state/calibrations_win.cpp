#include "state/calibrations_win.h"

#include <utility>

#include "core/calibration.h"
#include "platform/monitor_win.h"

namespace plumbo {

const Calibrations::Monitor& Calibrations::MonitorOf(HMONITOR monitor) {
    auto it = monitors_.find(monitor);
    if (it != monitors_.end()) return it->second;
    Monitor m;
    const std::wstring path = MonitorDevicePath(monitor);
    const std::vector<uint8_t> edid = MonitorEdid(path);
    m.identity = MonitorIdentity(edid, path);
    m.edidSize = EdidImageSizeMm(edid);
    const RECT r = MonitorRect(monitor);
    m.size = {r.right - r.left, r.bottom - r.top};
    return monitors_.emplace(monitor, std::move(m)).first->second;
}

Calibrations::Stored& Calibrations::StoredFor(const Monitor& monitor) {
    auto it = stored_.find(monitor.identity);
    if (it != stored_.end()) return it->second;
    Stored s;
    if (file && !monitor.identity.empty()) {
        const std::wstring section = CalibrationSection(monitor.identity);
        const StoredCalibration read =
            ParseStoredCalibration(file->Read(section, kKeyPixelsPerMm), file->Read(section, kKeyResolution));
        s.pixelsPerMm = read.pixelsPerMm;
        s.unreadable = read.unreadable;
        // Written by an older copy: measured, as far as anyone knows, at the resolution of today.
        s.measuredAt = read.measuredAt.value_or(monitor.size);
        s.resolutionMissing = read.pixelsPerMm && !read.measuredAt;
    }
    return stored_.emplace(monitor.identity, s).first->second;
}

std::optional<double> Calibrations::PixelsPerMmNow(const Stored& stored, const Monitor& monitor) {
    if (!stored.pixelsPerMm) return std::nullopt;
    return PixelsPerMmAt(*stored.pixelsPerMm, stored.measuredAt, monitor.size);
}

MonitorCalibration Calibrations::Of(HWND window) { return Of(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

MonitorCalibration Calibrations::Of(HMONITOR monitor) {
    const Monitor& m = MonitorOf(monitor);
    return {m.identity, PixelsPerMmNow(StoredFor(m), m), m.edidSize, m.size.width, m.size.height};
}

double Calibrations::LengthScaleOf(HWND window, double twipsPerPixel) {
    return LengthScaleOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), twipsPerPixel);
}

double Calibrations::LengthScaleOf(HMONITOR monitor, double twipsPerPixel) {
    const Monitor& m = MonitorOf(monitor);
    return LengthScale(PixelsPerMmNow(StoredFor(m), m), twipsPerPixel);
}

void Calibrations::Store(HWND window, std::optional<double> pixelsPerMm) {
    // A copy: a failed write shows a message box, whose loop may take a change of the displays
    // that empties the list the monitor was found in.
    const Monitor m = MonitorOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    StoredFor(m) = {pixelsPerMm, m.size, false, false};
    // A monitor with no name cannot be found again next time: calibrated for this run only.
    if (file && !m.identity.empty()) {
        const std::wstring section = CalibrationSection(m.identity);
        if (pixelsPerMm) {
            file->Write(section, kKeyPixelsPerMm, FormatPixelsPerMm(*pixelsPerMm));
            file->Write(section, kKeyResolution, FormatResolution(m.size));
        } else {
            file->RemoveSection(section);
        }
    }
    SaveRepairs();
}

void Calibrations::SaveRepairs() {
    if (!file) return;
    for (auto& [identity, s] : stored_) {
        if (identity.empty()) continue;
        const bool remove = std::exchange(s.unreadable, false);
        const bool addResolution = std::exchange(s.resolutionMissing, false);
        if (remove) file->RemoveSection(CalibrationSection(identity));
        if (addResolution) file->Write(CalibrationSection(identity), kKeyResolution, FormatResolution(s.measuredAt));
    }
}

}  // namespace plumbo
