#pragma once
// The two dialogs created hidden at start-up and kept for the whole run.
#include <windows.h>

namespace plumbo {

class Window;

// Settings dialog "設定" (fSet) and window-size dialog "直接指定" (fSize).
Window* CreateSettingsDialog();
Window* CreateSizeDialog();

void CreateDialogForms();

// Tab and arrow keys inside our dialogs.
bool IsDialogFormMessage(MSG& msg);

}  // namespace plumbo
