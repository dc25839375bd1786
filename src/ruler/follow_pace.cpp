#include "ruler/follow_pace.h"

namespace plumbo {

namespace {

// A move of another program's window is seen at a random moment of the poll's interval, so
// the interval sets the delay. Every look wakes a thread, and under Wine on a small, busy
// virtual machine a wake with its three questions to Wine's server costs some 150 us of CPU:
// looking every 10 ms costs over 1 % of a core. So the poll looks every 10 ms, more often than
// a frame, while a mouse button is down and for a while after anything changed, when the next
// change tends to follow; and every 100 ms once everything has long been still, which keeps
// resting Plumbo under 0.3 % of a core there (at 75 ms it measured 0.25 to 0.32 %), at the
// price of seeing the first move after a long rest up to 100 ms late. Windows rounds a wait up to its clock tick (15.6 ms unless some
// program asks for a finer one); Wine keeps it to the millisecond.
constexpr unsigned kLatelyMs = 10;
constexpr uint64_t kLatelyForMs = 10000;
constexpr unsigned kLongRestMs = 100;
// With the events arriving the check only catches what they missed.
constexpr unsigned kCheckMs = 1000;

}  // namespace

unsigned CheckInterval() { return kCheckMs; }

unsigned PollInterval(uint64_t sinceChange, bool buttonDown) {
    return buttonDown || sinceChange < kLatelyForMs ? kLatelyMs : kLongRestMs;
}

void EventProof::OnEvent(bool location, bool aboutTarget) {
    eventsArrive_ |= location;
    if (aboutTarget) ++eventsSinceCheck_;
}

void EventProof::OnCheck(bool changed) {
    if (changed && eventsArrive_ && eventsSinceCheck_ == 0) eventsMissed_ = true;
    eventsSinceCheck_ = 0;
}

}  // namespace plumbo
