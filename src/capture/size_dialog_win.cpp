#include "app/dialog_forms_win.h"
#include "app/texts.h"
#include "platform/window_win.h"

namespace plumbo {

namespace {
class SizeDialog : public Window {};
SizeDialog gSizeDialog;
}  // namespace

Window* CreateSizeDialog() {
    WindowArgs a;
    a.className = L"PlumboSize";
    a.title = Texts().sizeCaption;
    a.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    a.exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;
    a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    gSizeDialog.Create(a);
    return &gSizeDialog;
}

}  // namespace plumbo
