#pragma once
// The one call that writes a profile file, with the system's answer. Every write of the settings
// file comes through here. Under Wine root writes a read-only file all the same, so a test that
// needs a write to fail sets a writer of its own here.
#include <windows.h>

#include <string>

namespace plumbo {

// WritePrivateProfileStringW's arguments, in its order: a null key removes the section, a null
// value the key. Gives 0 once written, else the system's error code.
using ProfileWriter = DWORD (*)(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                const wchar_t* path);

// Through the writer set, the system's unless a test set another.
DWORD WriteProfileKey(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* path);
// nullptr: the system's again.
void SetProfileWriter(ProfileWriter writer);

// What the system says an error code means, in the user's language, with no line break after it.
std::wstring SystemErrorText(DWORD error);

}  // namespace plumbo
