// When tracking trusts the system's window events, and how fast its poll looks otherwise.
#include "ruler/follow_pace.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace plumbo {
namespace {

// Steps: L a location event about another window, T one about the target, F a foreground
// event, c a check that found nothing changed, C one that found a change.
bool ArriveAfter(const std::string& steps) {
    EventProof proof;
    for (char step : steps)
        if (step == 'c' || step == 'C') proof.OnCheck(step == 'C');
        else proof.OnEvent(step != 'F', step != 'L');
    return proof.EventsArrive();
}

TEST(EventProof, EventsAreTrustedOnceLocationsArriveUntilACheckFindsAChangeNoneAnnounced) {
    const struct { const char* steps; bool want; } rows[] = {
        {"", false},       // a quiet system, or one whose events do not cross programs
        {"F", false},      // foreground events alone do not say moves will come
        {"L", true},       // any window's move does
        {"LTc", true},     //
        {"CL", true},      // a change the poll saw before any event came was no event missed
        {"LC", false},     // a change no event announced
        {"LTC", true},     // a change the target's own event announced
        {"LFC", true},     // or the foreground's
        {"LTcC", false},   // events before the check's last look announce nothing after it
        {"LCLTc", false},  // once missed, for the rest of the run
    };
    for (const auto& row : rows) EXPECT_EQ(ArriveAfter(row.steps), row.want) << row.steps;
}

TEST(PollInterval, FastWhileAButtonIsDownOrAfterAChangeSlowAtLongRest) {
    const unsigned moving = PollInterval(100, false), longAgo = PollInterval(600000, false);
    EXPECT_LT(moving, longAgo);
    // A while after a change, and with a button down however long ago.
    EXPECT_EQ(std::pair(PollInterval(5000, false), PollInterval(600000, true)), std::pair(moving, moving));
}

}  // namespace
}  // namespace plumbo
