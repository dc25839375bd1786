#pragma once
// "plumbo.ini" beside the program, one key per call through the profile functions.
#include <optional>
#include <string>
#include <string_view>

namespace plumbo {

std::wstring IniPath();
std::optional<std::wstring> ReadIni(std::wstring_view section, std::wstring_view key);
void WriteIni(std::wstring_view section, std::wstring_view key, std::wstring_view value);
void WriteDefaultIni();

// Creates the file with defaults when it is missing, then reads, repairs and applies every
// key. A file that can neither be created nor read is reported once; the run goes on with
// the defaults in memory.
void LoadSettingsAtStartup();

}  // namespace plumbo
