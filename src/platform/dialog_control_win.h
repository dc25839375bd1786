#pragma once
// A control of one of our dialogs, placed in twips at the system DPI the dialogs are laid out in
// and written in the dialog's font.
#include <windows.h>

namespace plumbo {

struct ControlArgs {
    const wchar_t* className = nullptr;
    const wchar_t* text = L"";
    int id = 0;
    DWORD style = 0;  // WS_CHILD and WS_VISIBLE come with it
    DWORD exStyle = 0;
    // In the dialog's client area. The edges are rounded to pixels, not the size, so that
    // controls that meet in twips meet on the screen.
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
};

// The control, or nullptr when it could not be made.
HWND CreateDialogControl(HWND dialog, HFONT font, const ControlArgs& args);

}  // namespace plumbo
