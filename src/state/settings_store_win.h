#pragma once
// "plumbo.ini" beside the program, one key per call through the profile functions.
#include <optional>
#include <string>
#include <string_view>

#include "core/settings_rules.h"

namespace plumbo {

std::optional<std::wstring> ReadIni(const std::wstring& path, std::wstring_view section, std::wstring_view key);
void WriteIni(const std::wstring& path, std::wstring_view section, std::wstring_view key, std::wstring_view value);
void RemoveIniSection(const std::wstring& path, std::wstring_view section);

enum class SettingsFileState { Usable, Unusable };

// Creates the file with defaults when it is missing, then reads and repairs every key. A file
// that can neither be created nor read gives the new-file defaults and Unusable, for the
// caller to report once.
Settings LoadSettingsFile(const std::wstring& path, SettingsFileState& state);

}  // namespace plumbo
