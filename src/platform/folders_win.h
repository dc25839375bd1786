#pragma once
// Where a file may go: whether a new file can be made in a folder, and the user's own folder for
// programs' data. Root makes files wherever it likes, under Wine as anywhere, so a test that
// needs a folder that refuses sets an answer of its own here.
#include <string>

namespace plumbo {

// Whether a new file can be made in folder (ending in a backslash): one is made and removed.
bool CanCreateFileIn(const std::wstring& folder);
// nullptr: the disk answers again.
using CreateFileProbe = bool (*)(const std::wstring& folder);
void SetCreateFileProbe(CreateFileProbe probe);

// The user's roaming application data (%APPDATA%), ending in a backslash; empty when the system
// names none.
std::wstring RoamingAppDataFolder();

}  // namespace plumbo
