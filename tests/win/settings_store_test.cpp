// The settings file through the real profile functions, in a folder of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "state/program_win.h"
#include "state/settings_store_win.h"

namespace plumbo {
namespace {

class SettingsStore : public testing::Test {
protected:
    void SetUp() override {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        program_.folder = std::wstring(tmp) + L"plumbo-ini-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount()) + L"\\";
        CreateDirectoryW(program_.folder.c_str(), nullptr);
    }
    void TearDown() override {
        DeleteFileW(Path().c_str());
        RemoveDirectoryW(program_.folder.c_str());
    }
    std::wstring Path() const { return program_.IniPath(); }
    std::string File() const {
        std::ifstream f(Path().c_str(), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    void Write(const std::string& text) const { std::ofstream(Path().c_str(), std::ios::binary) << text; }
    Settings Load(SettingsFileState expected = SettingsFileState::Usable) const {
        SettingsFileState state{};
        Settings s = LoadSettingsFile(Path(), state);
        EXPECT_EQ(state, expected);
        return s;
    }
    // The three colours and the three switches, in the file's order.
    using Values = std::tuple<uint32_t, uint32_t, uint32_t, bool, bool, bool>;
    static Values Of(const Settings& s) {
        return {s.rulerColor, s.tickColor, s.numberColor, s.onTop, s.transparent, s.inside};
    }
    Program program_;
};

TEST_F(SettingsStore, NewFileHoldsTheEightDefaultLines) {
    EXPECT_EQ(Of(Load()), (Values{16777215, 16711680, 0, true, false, false}));
    EXPECT_EQ(File(),
              "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n");
}

TEST_F(SettingsStore, MissingSpacedAndNonNumericValuesAreRepairedAndWrittenBack) {
    Write("[COLOR]\r\nMEJ=   \r\nLINE=white\r\nNO=65280\r\n[SHOW]\r\nTRANSPARENT=true\r\nINSIDE=0\r\n");
    EXPECT_EQ(Of(Load()), (Values{16777215, 16711680, 65280, false, true, true}));  // "0" is not "FALSE"
    const std::string file = File();
    for (const char* line : {"MEJ=16777215\r\n", "LINE=16711680\r\n", "NO=65280\r\n", "ZORDER=FALSE\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
}

TEST_F(SettingsStore, ALongValueIsReadAsItsFirst79Characters) {
    Write("[SHOW]\r\nINSIDE=" + std::string(100, 'x') + "\r\n");
    auto v = ReadIni(Path(), L"SHOW", L"INSIDE");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, std::wstring(79, L'x'));
}

TEST_F(SettingsStore, EachSaveWritesOnlyItsOwnKeyInTheFilesFormat) {
    Load();
    program_.settings = {0x00FF8040, 0x80000000, 255, false, true, true};
    const std::pair<SettingId, const char*> rows[] = {
        {SettingId::RulerColor, "MEJ=16744512\r\n"},
        {SettingId::TickColor, "LINE=-2147483648\r\n"},  // the file holds colours as signed numbers
        {SettingId::NumberColor, "NO=255\r\n"},
        {SettingId::OnTop, "ZORDER=FALSE\r\n"},
        {SettingId::Transparent, "TRANSPARENT=TRUE\r\n"},
        {SettingId::Inside, "INSIDE=TRUE\r\n"},
    };
    for (const auto& [id, line] : rows) {
        program_.Save(id);
        const std::string after = File();
        EXPECT_NE(after.find(line), std::string::npos) << line << " in\n" << after;
        // Still the eight lines of the file: the key was replaced, nothing was added.
        EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 8) << after;
    }
    // Read back as written.
    EXPECT_EQ(Of(Load()), Of(program_.settings));
}

TEST_F(SettingsStore, AFolderThatCannotHoldTheFileGivesTheNewFileDefaults) {
    program_.folder += L"missing\\";
    EXPECT_EQ(Of(Load(SettingsFileState::Unusable)), (Values{16777215, 16711680, 0, true, false, false}));
}

}  // namespace
}  // namespace plumbo
