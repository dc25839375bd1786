// How another program's window is read for its DPI: in which pixels, with this thread in which
// awareness, and in which DPI the window manager's rectangles come then.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/dpi_reading.h"
#include "rows.h"

namespace plumbo {

TEST(DpiReading, ATargetIsReadInTheDpiItsOwnProgramLaysItOutAt) {
    using A = DpiAwareness;
    // The record's DPI, stretched, this thread's awareness and the DPI its rectangles come in;
    // from awareness, context DPI, monitor DPI, ours, composed.
    using Want = std::tuple<uint32_t, bool, A, uint32_t>;
    const struct { DpiFacts facts; Want want; } rows[] = {
        // Started at 144 while we have 96: our thread cannot think at 144, so the screen's pixels
        // are read and scaled.
        {{A::System, 144, 96, 96}, {144, true, A::PerMonitor, 96}},
        // Started before the scaling went from 150 % to 100 %, now on a 96-dpi monitor.
        {{A::System, 144, 96, 144}, {144, true, A::System, 144}},
        // Its DPI is the monitor's now: nothing is stretched, whatever ours is.
        {{A::System, 144, 144, 96}, {144, false, A::PerMonitor, 144}},
        // Nothing tells its own system DPI (Wine, older Windows): it is taken to be ours.
        {{A::System, 0, 144, 96}, {96, true, A::System, 96}},
        {{A::Unaware, 96, 144, 144}, {96, true, A::Unaware, 96}},
        {{A::Unaware, 96, 96, 144}, {96, false, A::PerMonitor, 96}},
        {{A::PerMonitor, 0, 120, 96}, {120, false, A::PerMonitor, 120}},
        // Without a compositor every program draws in the screen's pixels.
        {{A::Unaware, 96, 144, 144, false}, {144, false, A::PerMonitor, 144}},
    };
    ExpectRows(rows, [](const auto& row) {
        const DpiReading r = ReadingFor(row.facts);
        return Want{r.dpi, r.stretched, r.thread, r.threadDpi};
    });
}

}  // namespace plumbo
