#pragma once
// What a global hotkey does, given what is open at the moment it is pressed.
#include "state/command_ids.h"

namespace plumbo {

struct HotkeyMoment {
    bool dialogOpen = false;   // a modal window of ours
    bool menuOpen = false;     // a pop-up menu of ours
    bool rulersShown = false;
    bool measuring = false;    // the measuring mode's picture covers the screen
};

enum class HotkeyAnswer {
    ShowOpenDialog,   // bring our open dialog forward, as a click on the tray icon does
    LeaveAlone,       // an open menu or the measuring mode has the keyboard: do nothing
    Run,              // run `command` from the main loop
    RunOnForeground,  // run `command` if the foreground window can be the target, else beep
};

struct HotkeyDecision {
    HotkeyAnswer answer;
    CommandId command;
    bool operator==(const HotkeyDecision&) const = default;
};

HotkeyDecision DecideHotkey(CommandId key, const HotkeyMoment& now);

}  // namespace plumbo
