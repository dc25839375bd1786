#include "core/settings_rules.h"
#include "rows.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

namespace plumbo {
namespace {

using Writes = std::vector<std::tuple<std::wstring, std::wstring, std::wstring>>;
constexpr uint32_t kCtrlAlt = kHotKeyCtrl | kHotKeyAlt;
// Ctrl+Alt+R, C, V, S and M.
constexpr std::array<HotKey, kHotKeyActionCount> kKeys{
    {{kCtrlAlt, 'R'}, {kCtrlAlt, 'C'}, {kCtrlAlt, 'V'}, {kCtrlAlt, 'S'}, {kCtrlAlt, 'M'}}};
// What the new file's texts "16777215", "16711680", "0", "TRUE", "FALSE", "FALSE" and the keys read as.
const Settings kNewFile{0x00FFFFFF, 0x00FF0000, 0, true, false, false, kKeys, false, true};

// An INI file in memory that records every write.
struct FakeIni {
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> keys;
    Writes writes;
    IniWriter write = [this](std::wstring_view section, std::wstring_view key, std::wstring_view value) {
        writes.emplace_back(section, key, value);
        keys[{std::wstring(section), std::wstring(key)}] = value;
    };
    Settings Read() {
        return ReadSettings([this](std::wstring_view section, std::wstring_view key) -> std::optional<std::wstring> {
            auto it = keys.find({std::wstring(section), std::wstring(key)});
            return it == keys.end() ? std::nullopt : std::optional(it->second);
        }, write);
    }
};

TEST(SettingsRules, ValuesAreCutTrimmedAndParsedEachIsWrittenUnderItsKeyAndMissingOrBadKeysGetTheirDefault) {
    // Three spaces and 97 characters: cut to 79 first, then trimmed to 76.
    const struct { std::wstring raw; std::optional<std::wstring> want; } values[] = {
        {L"     ", std::nullopt}, {L"  a b  ", L"a b"}, {std::wstring(L"12\0  junk", 9), L"12"},
        {std::wstring(3, L' ') + std::wstring(97, L'y'), std::wstring(76, L'y')}};
    ExpectRows(values, [](auto& c) { return CleanIniValue(c.raw); });
    // An older switch is true unless "FALSE" in any case; a newer one only when "TRUE" in any case.
    const struct { const wchar_t* text; std::pair<bool, bool> want; } switches[] = {
        {L"FaLsE", {false, false}}, {L"0", {true, false}}, {L"FALS", {true, false}}, {L"FALSEE", {true, false}},
        {L"tRuE", {true, true}}, {L"yes", {true, false}}, {L"TRUEE", {true, false}}, {L"1", {true, false}}};
    ExpectRows(switches, [](auto& c) { return std::pair(ParseSwitch(c.text), ParseStrictSwitch(c.text)); });
    // A colour is a decimal integer of 32 signed bits; "010" is ten, not eight.
    const struct { const wchar_t* text; std::optional<uint32_t> want; } colours[] = {
        {L"010", 10u}, {L"+5", 5u}, {L"2147483647", 0x7FFFFFFFu}, {L"-1", 0xFFFFFFFFu}, {L"-2147483648", 0x80000000u},
        {L"2147483648", std::nullopt}, {L"-2147483649", std::nullopt}, {L"123456789012345678901234567890", std::nullopt},
        {L"12abc", std::nullopt}, {L"1.5", std::nullopt}, {L"&HFF", std::nullopt}, {L"-", std::nullopt}};
    ExpectRows(colours, [](auto& c) { return ParseColor(c.text); });
    // A key: modifiers in any order and case, the key by name or code; written in one order.
    const struct { const wchar_t* text; std::pair<std::optional<HotKey>, std::wstring> want; } keys[] = {
        {L" alt + CTRL+r ", {HotKey{kCtrlAlt, 'R'}, L"Ctrl+Alt+R"}}, {L"none", {HotKey{}, L"NONE"}},
        {L"Win+Shift+F12", {HotKey{kHotKeyShift | kHotKeyWin, 0x7B}, L"Shift+Win+F12"}},
        {L"Ctrl+num7", {HotKey{kHotKeyCtrl, 0x67}, L"Ctrl+Num7"}}, {L"Ctrl+Alt+pageup", {HotKey{kCtrlAlt, 0x21}, L"Ctrl+Alt+PageUp"}},
        {L"Ctrl+0xba", {HotKey{kHotKeyCtrl, 0xBA}, L"Ctrl+0xBA"}}, {L"F24", {HotKey{0, 0x87}, L"F24"}},
        {L"Ctrl+Alt+", {}}, {L"Ctrl+Alt", {}}, {L"Ctrl+0x11", {}}, {L"Ctrl+Alt+F25", {}}, {L"Strg+R", {}}, {L"Ctrl+RR", {}}, {L"", {}},
        // A key that types or moves the caret needs Ctrl, Alt or Win; one that types nothing does not.
        {L"Alt+R", {HotKey{kHotKeyAlt, 'R'}, L"Alt+R"}}, {L"Win+Home", {HotKey{kHotKeyWin, 0x24}, L"Win+Home"}},
        {L"Shift+F5", {HotKey{kHotKeyShift, 0x74}, L"Shift+F5"}}, {L"pause", {HotKey{0, 0x13}, L"Pause"}}};
    ExpectRows(keys, [](auto& c) { auto k = ParseHotKey(c.text); return std::pair(k, k ? FormatHotKey(*k) : L""); });
    for (const wchar_t* typing : {L"R", L"Shift+7", L"0xBA", L"Num5", L"Space", L"Enter", L"Tab", L"Backspace", L"Delete", L"Insert",
                                  L"Home", L"End", L"PageUp", L"Shift+PageDown", L"Esc", L"Left", L"Down"})
        EXPECT_EQ(ParseHotKey(typing), std::nullopt) << typing;
    // Each setting is written under its own key and reads back without repair: a key written
    // twice or not at all would be repaired, a colour written unsigned refused. The keys' names
    // and the texts are the new file's, checked where the program writes it.
    const Settings s{0x80000000, 0xFFFFFFFF, 5, false, true, false, {{{}, {kHotKeyWin, 'C'}, kKeys[2], kKeys[3], {}}}, true, false};
    FakeIni ini;
    for (const SettingDef& def : kSettingDefs) WriteSetting(ini.write, def.id, s);
    EXPECT_EQ((std::pair{ini.Read(), ini.writes.size()}), std::pair(s, kSettingDefs.size()));
    EXPECT_EQ(NewFileSettings(), kNewFile);
    // A file without the keys is from before ZORDER: its rulers were not kept on top; it gets
    // the new file's hotkeys. One repair makes it whole.
    const Settings old{0x00FFFFFF, 0x00FF0000, 0, false, false, false, kKeys, false, true};
    FakeIni empty;
    for (int read = 1; read <= 2; ++read) EXPECT_EQ(empty.Read(), old) << "read " << read;
    EXPECT_EQ(empty.writes.size(), kSettingDefs.size());
    // One key changed in a new file: its value after the read, and what was written back. The
    // 80th character falls off the read buffer, leaving "FALSE" and spaces.
    auto withSizeKey = [](HotKey key) { Settings s = kNewFile; s.hotKeys[3] = key; return s; };
    const struct { std::wstring section, key, value; std::pair<Settings, Writes> want; } rows[] = {
        {L"SHOW", L"ZORDER", L"", {old, {{L"SHOW", L"ZORDER", L"FALSE"}}}},
        {L"COLOR", L"LINE", L"blue", {kNewFile, {{L"COLOR", L"LINE", L"16711680"}}}},
        {L"SHOW", L"TRANSPARENT", std::wstring(L"FALSE").append(74, L' ').append(21, L'X'), {kNewFile, {}}},
        {L"HOTKEY", L"SIZE", L"Ctrl+Alt+Enter", {withSizeKey(HotKey{kCtrlAlt, 0x0D}), {}}},
        {L"HOTKEY", L"SIZE", L"NONE", {withSizeKey(HotKey{}), {}}},
        {L"HOTKEY", L"RULERS", L"R", {kNewFile, {{L"HOTKEY", L"RULERS", L"Ctrl+Alt+R"}}}}};
    ExpectRows(rows, [](auto& c) {
        FakeIni ini;
        WriteDefaultSettings(ini.write);
        ini.writes.clear();
        ini.keys.erase({c.section, c.key});
        if (!c.value.empty()) ini.keys[{c.section, c.key}] = c.value;
        return std::pair{ini.Read(), ini.writes};  // braces: the read comes before its writes are taken
    });
}

}  // namespace
}  // namespace plumbo
