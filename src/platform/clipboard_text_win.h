#pragma once
// Text on the clipboard.
#include <windows.h>

#include <string_view>

namespace plumbo {

// Clears the clipboard and puts the text on it as Unicode text. Another program may hold the
// clipboard for a moment: it is asked again at once, never waited for. False when it could not.
bool PutTextOnClipboard(HWND owner, std::wstring_view text);

}  // namespace plumbo
