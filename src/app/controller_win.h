#pragma once
// Start-up, the tray icon's control menu and the end of the program.
#include <windows.h>

namespace plumbo {

// Runs the start-up sequence; false when the program is to end at once (another copy runs).
bool StartUp(HINSTANCE instance);

void mCtrlActivate_Click();
void mCtrlHide_Click();
void mCtrlExit_Click();

// Hides the rulers, removes the tray icon and ends the process; nothing is saved.
[[noreturn]] void EndProgram();

}  // namespace plumbo
