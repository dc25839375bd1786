#pragma once
// A value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run: Windows runs its command line
// when the user logs on, and shows it in its own list of start-up programs, where it can be
// switched off. Wine runs them when its prefix boots (wineboot).
#include <optional>
#include <string>

namespace plumbo {

// The command line of the value name, if there is one.
std::optional<std::wstring> ReadRunEntry(const wchar_t* name);
// A null command removes the value. Gives 0 once done, else the system's error code.
long WriteRunEntry(const wchar_t* name, const wchar_t* command);

}  // namespace plumbo
