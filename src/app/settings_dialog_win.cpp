#include "app/dialog_forms_win.h"
#include "app/texts.h"
#include "platform/window_win.h"

namespace plumbo {

namespace {
class SettingsDialog : public Window {};
SettingsDialog gSettingsDialog;
}  // namespace

Window* CreateSettingsDialog() {
    WindowArgs a;
    a.className = L"PlumboSettings";
    a.title = Texts().settingsCaption;
    a.style = WS_POPUP | WS_CAPTION | WS_DLGFRAME;
    a.exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;
    a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    gSettingsDialog.Create(a);
    return &gSettingsDialog;
}

}  // namespace plumbo

#include "app/about_win.h"
#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/menu_table.h"

namespace plumbo {

void RegisterSettingsCommands() { RegisterCommand(mCtrlAbout, &mCtrlAbout_Click); }

}  // namespace plumbo
