// The main loop's command queue and what a global hotkey does at each moment.
#include "shell/command_queue.h"
#include "shell/hotkey_policy.h"

#include <gtest/gtest.h>

#include <string>

#include "rows.h"

namespace plumbo {
namespace {

TEST(HotkeyPolicy, AnOpenDialogMenuOrMeasuringKeepsTheKeyTheRulersKeyTogglesOthersActOnTheWindowInFront) {
    using A = HotkeyAnswer;
    using C = CommandId;
    const struct { C key; HotkeyMoment now; HotkeyDecision want; } rows[] = {
        {C::ShowRulers, {true, true, true}, {A::ShowOpenDialog, C::ShowRulers}},
        {C::ShowRulers, {false, true, true}, {A::LeaveAlone, C::ShowRulers}},
        {C::SetTargetSize, {false, false, false, true}, {A::LeaveAlone, C::SetTargetSize}},
        {C::ShowRulers, {false, false, false}, {A::Run, C::ShowRulers}},
        {C::ShowRulers, {false, false, true}, {A::Run, C::HideRulers}},
        {C::RedrawAsVector, {false, false, false}, {A::RunOnForeground, C::RedrawAsVector}},
        {C::SetTargetSize, {false, false, true}, {A::RunOnForeground, C::SetTargetSize}},
    };
    ExpectRows(rows, [](auto& r) { return DecideHotkey(r.key, r.now); });
}

TEST(CommandQueue, CommandsRunInOrderAndWhatIsChosenUnderAModalWindowWaitsForItToClose) {
    std::string ran;
    bool modal = false;
    CommandQueue queue([&] { return modal; });
    queue.SetCommands({
        {CommandId::OpenSettings, [&] { ran += 'S'; modal = true; }},  // opens a dialog
        {CommandId::ShowVersion, [&] { ran += 'V'; }},
        {CommandId::HideRulers, [&] { ran += 'H'; }},
    });
    using C = CommandId;
    // The last two are chosen while the dialog is open.
    for (C id : {C::ShowVersion, C::OpenSettings, C::HideRulers, C::ShowVersion}) queue.Push(id);
    EXPECT_EQ(ran, "VS");
    modal = false;
    queue.RunWaiting();
    EXPECT_EQ(ran, "VSHV");
    // Exit has no row: it is dropped, and does not stop what follows.
    for (C id : {C::Exit, C::HideRulers}) queue.Push(id);
    EXPECT_EQ(ran, "VSHVH");
}

}  // namespace
}  // namespace plumbo
