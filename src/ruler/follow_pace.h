#pragma once
// How tracking learns that the window it follows changed. Where the system's window events
// arrive from other programs they say so, and a look now and then only checks that none was
// missed. Where they do not (Wine delivers none), a poll looks often while a mouse button is
// down and for a while after anything changed, and seldom at long rest. Times are
// milliseconds.
#include <cstdint>

namespace plumbo {

// Milliseconds between two looks of the check made while events arrive.
unsigned CheckInterval();
// Milliseconds between two looks of the poll, from how long ago it last saw a change.
unsigned PollInterval(uint64_t sinceChange, bool buttonDown);

// Whether the events can be trusted, from what arrived and what the check found.
class EventProof {
public:
    // A window event from another program. One for a location, whatever its window, shows
    // that events cross from other programs at all; aboutTarget: it concerns the window
    // followed, or the foreground.
    void OnEvent(bool location, bool aboutTarget);
    // A look of the check. A change found there that no event about the target announced
    // since the check's last look was missed by the events: from then on the poll decides,
    // for the rest of the run.
    void OnCheck(bool changed);
    bool EventsArrive() const { return eventsArrive_ && !eventsMissed_; }

private:
    bool eventsArrive_ = false;
    bool eventsMissed_ = false;
    int eventsSinceCheck_ = 0;
};

}  // namespace plumbo
