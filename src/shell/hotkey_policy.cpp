#include "shell/hotkey_policy.h"

namespace plumbo {

HotkeyDecision DecideHotkey(CommandId key, const HotkeyMoment& now) {
    // Under a dialog of ours a command now would open its window inside that one's loop, and
    // one kept for later would surprise when the dialog closes: the key shows the dialog.
    if (now.dialogOpen) return {HotkeyAnswer::ShowOpenDialog, key};
    // An open menu has the keyboard; the key is for it, not for a command run inside its loop.
    // So has the measuring mode, whose topmost picture would cover any window a command opened.
    if (now.menuOpen || now.measuring) return {HotkeyAnswer::LeaveAlone, key};
    // The rulers' key toggles them, whatever window is in front.
    if (key == CommandId::ShowRulers)
        return {HotkeyAnswer::Run, now.rulersShown ? CommandId::HideRulers : CommandId::ShowRulers};
    // Every other key acts on the window in front.
    return {HotkeyAnswer::RunOnForeground, key};
}

}  // namespace plumbo
