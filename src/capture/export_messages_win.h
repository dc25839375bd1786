#pragma once
// What the viewer's "ファイル" commands ask and tell: whether to replace a file, and why a file
// or the clipboard could not be written. Every message is modal, so no other window of ours
// takes a command while it is open.
#include <windows.h>

#include <string>

namespace plumbo {

// The overwrite question; true when the user answers yes.
bool AskReplaceFile(HWND owner);

// The file could not be saved: its name and the system's reason.
void ReportSaveFailure(HWND owner, const std::wstring& path, DWORD error);

// The picture could not be copied to the clipboard, and the system's reason.
void ReportClipboardFailure(HWND owner, DWORD error);

}  // namespace plumbo
