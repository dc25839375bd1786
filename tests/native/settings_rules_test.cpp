#include "core/settings_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace plumbo {
namespace {

using Write = std::tuple<std::wstring, std::wstring, std::wstring>;
const Settings kDefaults{0x00FFFFFF, 0x00FF0000, 0, true, false, false};

TEST(SettingsRules, NewFileSettingsAreWhatANewFileReadsAs) { EXPECT_EQ(NewFileSettings(), kDefaults); }

TEST(SettingsRules, CleaningAValueRead) {
    const std::wstring hundred = std::wstring(L"0123456789").append(90, L'x');
    const struct {
        std::wstring raw;
        std::optional<std::wstring> clean;
    } cases[] = {
        {L"", std::nullopt},
        {L"     ", std::nullopt},
        {L"  a b  ", L"a b"},
        {hundred, hundred.substr(0, 79)},
        {std::wstring(3, L' ') + std::wstring(97, L'y'), std::wstring(76, L'y')},  // cut first, then trimmed
        {std::wstring(L"12\0  junk", 9), L"12"},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanIniValue(c.raw), c.clean) << "raw of " << c.raw.size() << " chars";
}

TEST(SettingsRules, SwitchIsTrueUnlessFalseInAnyCase) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"TRUE", true},   {L"true", true}, {L"FALSE", false}, {L"false", false}, {L"FaLsE", false},
        {L"0", true},      {L"yes", true},  {L"FALS", true},   {L"FALSEE", true},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ParseSwitch(text), expected) << text;
}

TEST(SettingsRules, ColourIsADecimalIntegerOf32SignedBits) {
    const std::pair<const wchar_t*, std::optional<uint32_t>> cases[] = {
        {L"16711680", 0x00FF0000u},     {L"007", 7u},
        {L"+5", 5u},                    {L"2147483647", 0x7FFFFFFFu},
        {L"-1", 0xFFFFFFFFu},           {L"-2147483648", 0x80000000u},
        {L"2147483648", std::nullopt},  {L"-2147483649", std::nullopt},
        {L"123456789012345678901234567890", std::nullopt},
        {L"abc", std::nullopt},         {L"12abc", std::nullopt},
        {L"1.5", std::nullopt},         {L"&HFF", std::nullopt},
        {L"-", std::nullopt},           {L"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ParseColor(text), expected) << text;
}

TEST(SettingsRules, WrittenValuesReadBack) {
    for (uint32_t c : {0u, 0x00FF0000u, 0x80000000u, 0xFFFFFFFFu}) EXPECT_EQ(ParseColor(FormatColor(c)), c);
    EXPECT_FALSE(ParseSwitch(FormatSwitch(false)));
}

// An INI file in memory that records every read and write.
struct FakeIni {
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> keys;
    std::vector<Write> writes;
    std::vector<std::wstring> reads;

    IniReader Reader() {
        return [this](std::wstring_view section, std::wstring_view key) -> std::optional<std::wstring> {
            reads.emplace_back(key);
            auto it = keys.find({std::wstring(section), std::wstring(key)});
            if (it == keys.end() || it->second.empty()) return std::nullopt;
            return it->second;
        };
    }
    IniWriter Writer() {
        return [this](std::wstring_view section, std::wstring_view key, std::wstring_view value) {
            writes.emplace_back(section, key, value);
            keys[{std::wstring(section), std::wstring(key)}] = std::wstring(value);
        };
    }
};

TEST(SettingsRules, NewFileLoadsWithoutRepairs) {
    FakeIni ini;
    WriteDefaultSettings(ini.Writer());
    EXPECT_EQ(ini.writes.size(), 6u);
    ini.writes.clear();
    EXPECT_EQ(ReadSettings(ini.Reader(), ini.Writer()), kDefaults);
    EXPECT_TRUE(ini.writes.empty());
    EXPECT_EQ(ini.reads, (std::vector<std::wstring>{L"MEJ", L"LINE", L"NO", L"ZORDER", L"TRANSPARENT", L"INSIDE"}));
}

TEST(SettingsRules, EmptyFileIsRepairedWithTheMissingKeyDefaults) {
    FakeIni ini;
    const Settings s = ReadSettings(ini.Reader(), ini.Writer());
    const std::vector<Write> expectedWrites = {
        {L"COLOR", L"MEJ", L"16777215"}, {L"COLOR", L"LINE", L"16711680"}, {L"COLOR", L"NO", L"0"},
        {L"SHOW", L"ZORDER", L"FALSE"},  {L"SHOW", L"TRANSPARENT", L"FALSE"}, {L"SHOW", L"INSIDE", L"FALSE"},
    };
    EXPECT_EQ(ini.writes, expectedWrites);
    EXPECT_EQ(s, (Settings{0x00FFFFFF, 0x00FF0000, 0, false, false, false}));
}

TEST(SettingsRules, RepairOfSingleKeys) {
    struct RepairCase {
        const char* name;
        std::wstring section, key, value;  // value empty: key removed
        std::vector<Write> writes;
        Settings result;
    };
    auto with = [](auto change) { Settings s = kDefaults; change(s); return s; };
    const RepairCase cases[] = {
        {"no ZORDER", L"SHOW", L"ZORDER", L"", {{L"SHOW", L"ZORDER", L"FALSE"}},
         with([](Settings& s) { s.onTop = false; })},
        {"MEJ of spaces", L"COLOR", L"MEJ", L"    ", {{L"COLOR", L"MEJ", L"16777215"}}, kDefaults},
        {"MEJ not a number", L"COLOR", L"MEJ", L"white", {{L"COLOR", L"MEJ", L"16777215"}}, kDefaults},
        {"LINE beyond 32 bits", L"COLOR", L"LINE", L"4294967296", {{L"COLOR", L"LINE", L"16711680"}}, kDefaults},
        {"INSIDE 0", L"SHOW", L"INSIDE", L"0", {}, with([](Settings& s) { s.inside = true; })},
        {"TRANSPARENT yes", L"SHOW", L"TRANSPARENT", L"yes", {}, with([](Settings& s) { s.transparent = true; })},
        // The 80th character falls off the read buffer, leaving "FALSE" and spaces.
        {"TRANSPARENT of 100 chars", L"SHOW", L"TRANSPARENT", std::wstring(L"FALSE").append(74, L' ').append(21, L'X'),
         {}, kDefaults},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeIni ini;
        WriteDefaultSettings(ini.Writer());
        ini.writes.clear();
        if (c.value.empty()) {
            ini.keys.erase({c.section, c.key});
        } else {
            ini.keys[{c.section, c.key}] = c.value;
        }
        EXPECT_EQ(ReadSettings(ini.Reader(), ini.Writer()), c.result);
        EXPECT_EQ(ini.writes, c.writes);
    }
}

}  // namespace
}  // namespace plumbo
