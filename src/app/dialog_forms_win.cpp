#include "app/dialog_forms_win.h"

#include "app/app_win.h"
#include "platform/window_win.h"

namespace plumbo {

void CreateDialogForms() {
    App& a = TheApp();
    a.fSet = CreateSettingsDialog();
    a.fSize = CreateSizeDialog();
}

bool IsDialogFormMessage(MSG& msg) {
    App& a = TheApp();
    for (Window* w : {a.fSet, a.fSize})
        if (w && w->hwnd() && w->Visible() && IsDialogMessageW(w->hwnd(), &msg)) return true;
    return false;
}

}  // namespace plumbo
