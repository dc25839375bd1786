#pragma once
// The settings file "plumbo.ini": its keys, what a new file holds, and how values read
// back are understood and repaired. No file access here: the caller passes the key reader
// and writer (the profile functions in the program, a map in tests).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hotkey_text.h"

namespace plumbo {

inline constexpr std::wstring_view kIniFileName = L"plumbo.ini";
inline constexpr std::wstring_view kSectionColor = L"COLOR";
inline constexpr std::wstring_view kSectionShow = L"SHOW";
// Read by this version only: older copies never ask for it and leave it as it is.
inline constexpr std::wstring_view kSectionHotKey = L"HOTKEY";
inline constexpr std::wstring_view kSectionVector = L"VECTOR";

// The read buffer holds 80 characters including the terminating NUL.
inline constexpr std::size_t kIniReadBufferChars = 80;
inline constexpr std::size_t kIniMaxValueChars = kIniReadBufferChars - 1;

inline constexpr std::wstring_view kIniTrue = L"TRUE";
inline constexpr std::wstring_view kIniFalse = L"FALSE";

enum class SettingId {
    RulerColor, TickColor, NumberColor, OnTop, Transparent, Inside,
    RulersHotKey, CaptureHotKey, RedrawHotKey, SizeHotKey, MeasureHotKey,  // in HotKeyAction's order
    ShowCursor,
    Pictures,
};

struct SettingDef {
    SettingId id;
    std::wstring_view section;
    std::wstring_view key;
    std::wstring_view newFileDefault;  // written by WriteDefaultSettings
    std::wstring_view missingDefault;  // written back when the key is missing, empty or unreadable
};

// In the order a new file holds them and LoadSettings reads them. Only ZORDER differs between
// the two defaults: a new file keeps the rulers on top, an old file lacking the key does not. A
// file from before the hotkeys gets the keys a new file has, written back like any missing key.
inline constexpr std::array<SettingDef, 13> kSettingDefs = {{
    {SettingId::RulerColor, kSectionColor, L"MEJ", L"16777215", L"16777215"},
    {SettingId::TickColor, kSectionColor, L"LINE", L"16711680", L"16711680"},
    {SettingId::NumberColor, kSectionColor, L"NO", L"0", L"0"},
    {SettingId::OnTop, kSectionShow, L"ZORDER", L"TRUE", L"FALSE"},
    {SettingId::Transparent, kSectionShow, L"TRANSPARENT", L"FALSE", L"FALSE"},
    {SettingId::Inside, kSectionShow, L"INSIDE", L"FALSE", L"FALSE"},
    {SettingId::ShowCursor, kSectionShow, L"CURSOR", L"TRUE", L"TRUE"},
    {SettingId::RulersHotKey, kSectionHotKey, L"RULERS", L"Ctrl+Alt+R", L"Ctrl+Alt+R"},
    {SettingId::CaptureHotKey, kSectionHotKey, L"CAPTURE", L"Ctrl+Alt+C", L"Ctrl+Alt+C"},
    {SettingId::RedrawHotKey, kSectionHotKey, L"REDRAW", L"Ctrl+Alt+V", L"Ctrl+Alt+V"},
    {SettingId::SizeHotKey, kSectionHotKey, L"SIZE", L"Ctrl+Alt+S", L"Ctrl+Alt+S"},
    {SettingId::MeasureHotKey, kSectionHotKey, L"MEASURE", L"Ctrl+Alt+M", L"Ctrl+Alt+M"},
    {SettingId::Pictures, kSectionVector, L"PICTURES", L"FALSE", L"FALSE"},
}};

constexpr SettingId HotKeySetting(HotKeyAction action) {
    return static_cast<SettingId>(static_cast<int>(SettingId::RulersHotKey) + static_cast<int>(action));
}

// The settings as the program holds them, before loading: black, all switches off, no keys.
struct Settings {
    uint32_t rulerColor = 0;   // COLORREF of the ruler body
    uint32_t tickColor = 0;    // COLORREF of the ticks
    uint32_t numberColor = 0;  // COLORREF of the numbers
    bool onTop = false;        // rulers above all other windows
    bool transparent = false;  // the ruler body shows what lies behind it
    bool inside = false;       // rulers inside the target's frame
    std::array<HotKey, kHotKeyActionCount> hotKeys{};  // by HotKeyAction
    bool pictures = false;     // the re-drawing puts in as pixels what nothing tells
    bool showCursor = false;   // the rulers mark the pointer's position

    friend bool operator==(const Settings&, const Settings&) = default;
};

// A value as read into the 80-character buffer: cut to 79 characters (and at a NUL), spaces
// trimmed from both ends. Empty means not found.
std::optional<std::wstring> CleanIniValue(std::wstring_view raw);

// True unless the value is "FALSE" in any mix of case: "0", "no" and typos all read as true.
bool ParseSwitch(std::wstring_view value);

// True only for "TRUE" in any mix of case: the switches added later have no old files to keep,
// and a typo must not turn them on.
bool ParseStrictSwitch(std::wstring_view value);

// A decimal integer, optionally signed, that fits a signed 32-bit value, taken as COLORREF
// bits. Anything else (hex, fractions, trailing text, out of range) is nullopt and is treated
// as a missing key.
std::optional<uint32_t> ParseColor(std::wstring_view value);

// The text the program writes for a colour or a switch; ParseColor and ParseSwitch read it back.
std::wstring FormatColor(uint32_t color);
std::wstring_view FormatSwitch(bool on);

// Reads one key: the text found, or nullopt when there is none (the profile call copied
// nothing). The text may be raw; it is cleaned before use.
using IniReader = std::function<std::optional<std::wstring>(std::wstring_view section, std::wstring_view key)>;
using IniWriter = std::function<void(std::wstring_view section, std::wstring_view key, std::wstring_view value)>;

// Writes the new-file defaults in file order.
void WriteDefaultSettings(const IniWriter& write);

// What a new file holds, as settings.
Settings NewFileSettings();

// Writes one setting's current value under its own section and key, in the file's format.
// Every change the program saves goes through here.
void WriteSetting(const IniWriter& write, SettingId id, const Settings& settings);

// Reads every key in file order; each key that is missing, empty or (for a colour or a hotkey)
// unreadable gets its missing-key default written back before that default is used.
Settings ReadSettings(const IniReader& read, const IniWriter& write);

}  // namespace plumbo
