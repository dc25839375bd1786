#pragma once
// Opening the clipboard, and text on it.
#include <windows.h>

#include <string_view>

namespace plumbo {

// Opens the clipboard for owner. Another program may hold it for a moment: it is asked again at
// once, a few times, never waited for.
bool OpenClipboardSoon(HWND owner);

// Clears the clipboard and puts the text on it as Unicode text. False when it could not.
bool PutTextOnClipboard(HWND owner, std::wstring_view text);

}  // namespace plumbo
