#pragma once
// "plumbo.ini" beside the program, one key per call through the profile functions. The program
// keeps working with the values it holds whatever becomes of the file: one that cannot be used
// at start-up, or the first write that fails later, is said once a run, and only one of the two.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/settings_rules.h"

namespace plumbo {

class SettingsFile {
public:
    // Set at start-up; before that nothing is read or written.
    std::wstring path;

    std::optional<std::wstring> Read(std::wstring_view section, std::wstring_view key) const;
    void Write(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void RemoveSection(std::wstring_view section);

    // Creates the file with defaults when it is missing, then reads and repairs every key. A file
    // that can neither be created nor read gives the new-file defaults, and says so; else a
    // repair that could not be written is said, with the system's reason.
    Settings Load();

private:
    void Written(DWORD error);
    void SayWriteFailed(DWORD error);
    void Say(const std::wstring& text);

    bool loading_ = false;
    DWORD loadFailure_ = 0;  // the first write that failed while loading
    bool said_ = false;              // one message a run
};

}  // namespace plumbo
