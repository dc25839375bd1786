#pragma once
// The global hotkeys: registered on the program's main window under the id of the command each
// one runs, so that WM_HOTKEY's id is a CommandId.
#include <windows.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/hotkey_text.h"
#include "state/command_ids.h"
#include "state/program_win.h"

namespace plumbo {

// The rulers' key shows them with "表示", or hides them with "非表示" when they are shown; the
// main form decides which when the key comes.
inline constexpr std::array<std::pair<HotKeyAction, CommandId>, kHotKeyActionCount> kHotKeyCommands = {{
    {HotKeyAction::Rulers, CommandId::ShowRulers},
    {HotKeyAction::Capture, CommandId::CaptureBitmap},
    {HotKeyAction::Redraw, CommandId::RedrawAsVector},
    {HotKeyAction::Size, CommandId::SetTargetSize},
    {HotKeyAction::Measure, CommandId::Measure},
}};

// Registers the keys of program.settings on the main window, after releasing what was registered
// there. A key that cannot be had (another program holds it, or an earlier action has it) is
// named in one message for all of them and left as none in program.settings; the file is not
// touched.
void RegisterHotKeys(Program& program);
void UnregisterHotKeys(HWND window);

}  // namespace plumbo
