#pragma once
// The global hotkeys: registered on the program's main window under the id of the command each
// one runs, so that WM_HOTKEY's id is a CommandId.
#include <windows.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/hotkey_text.h"
#include "core/settings_rules.h"
#include "state/command_ids.h"

namespace plumbo {

// The rulers' key shows them with "表示", or hides them with "非表示" when they are shown; the
// main form decides which when the key comes.
inline constexpr std::array<std::pair<HotKeyAction, CommandId>, kHotKeyActionCount> kHotKeyCommands = {{
    {HotKeyAction::Rulers, CommandId::ShowRulers},
    {HotKeyAction::Capture, CommandId::CaptureBitmap},
    {HotKeyAction::Redraw, CommandId::RedrawAsVector},
    {HotKeyAction::Size, CommandId::SetTargetSize},
}};

// Registers every key that is not none on window, after releasing what was registered there
// before; gives the actions whose key could not be had (held by another program, or by an
// earlier action of the same set).
std::vector<HotKeyAction> RegisterHotKeys(HWND window, const std::array<HotKey, kHotKeyActionCount>& keys);
void UnregisterHotKeys(HWND window);

// One message for all the actions that got no key, naming their keys; nothing when none failed.
void ReportTakenHotKeys(HWND owner, const std::array<HotKey, kHotKeyActionCount>& keys,
                        const std::vector<HotKeyAction>& taken);

}  // namespace plumbo
