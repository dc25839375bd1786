#include "platform/dpi_reading.h"

#include <cmath>
#include <limits>

namespace plumbo {

namespace {

// v * to / from, rounded half away from zero as MulDiv does, kept to 32 bits.
int32_t Scale(int32_t v, uint32_t to, uint32_t from) {
    if (to == from || from == 0) return v;
    const double scaled = std::round(static_cast<double>(v) * to / from);
    constexpr double kLow = std::numeric_limits<int32_t>::min();
    constexpr double kHigh = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(scaled < kLow ? kLow : scaled > kHigh ? kHigh : scaled);
}

}  // namespace

DpiReading ReadingFor(const DpiFacts& facts) {
    uint32_t own = facts.monitorDpi;
    if (facts.awareness == DpiAwareness::Unaware) own = 96;
    // A system-aware program keeps the system DPI it started with; one started before the user
    // changed the scaling has another than ours.
    if (facts.awareness == DpiAwareness::System) own = facts.contextDpi;
    if (facts.awareness == DpiAwareness::System && !own) own = facts.ourSystemDpi;
    DpiReading r;
    r.monitorDpi = facts.monitorDpi;
    // Without a compositor nothing is stretched: every program draws in the screen's pixels.
    r.stretched = own != facts.monitorDpi && facts.composed;
    r.dpi = r.stretched ? own : facts.monitorDpi;
    r.threadDpi = r.dpi;
    if (!r.stretched) return r;
    // This thread can take an unaware program's pixels, and a system-aware one's only at our own
    // system DPI; any other is read in the screen's pixels and scaled.
    if (facts.awareness == DpiAwareness::Unaware) r.thread = DpiAwareness::Unaware;
    else if (own == facts.ourSystemDpi) r.thread = DpiAwareness::System;
    else r.threadDpi = facts.monitorDpi;
    return r;
}

int32_t FromThreadPixels(int32_t v, const DpiReading& reading) {
    return Scale(v, reading.dpi, reading.threadDpi);
}

int32_t FromPhysicalPixels(int32_t v, const DpiReading& reading) {
    return Scale(v, reading.dpi, reading.monitorDpi);
}

int32_t ToPhysicalPixels(int32_t v, const DpiReading& reading) {
    return Scale(v, reading.monitorDpi, reading.dpi);
}

}  // namespace plumbo
