#pragma once
// The settings dialog "設定" (fSet): created hidden at start-up, re-filled and shown by the
// control menu, hidden again by "Ｏ．Ｋ" or "キャンセル".
#include <windows.h>

namespace plumbo {

// Opens the dialog and returns once it has been hidden again.
void mCtrlSet_Click();

}  // namespace plumbo
