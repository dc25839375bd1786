#include "platform/dialog_control_win.h"

#include "platform/window_win.h"

namespace plumbo {

HWND CreateDialogControl(HWND dialog, HFONT font, const ControlArgs& a) {
    const int x = TwipsToPxX(a.left), y = TwipsToPxY(a.top);
    HWND control = CreateWindowExW(a.exStyle, a.className, a.text, WS_CHILD | WS_VISIBLE | a.style, x, y,
                                   TwipsToPxX(a.left + a.width) - x, TwipsToPxY(a.top + a.height) - y, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)), GetModuleHandleW(nullptr),
                                   nullptr);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

}  // namespace plumbo
