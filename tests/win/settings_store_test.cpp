// The settings file through the real profile functions, in a folder of its own. How values
// are understood and repaired is tested natively (settings_rules_test); making a new file and
// an unusable folder are tested in tests/shell. Here: that each save and each repair reaches
// the file, and that a value is read through an 80-character buffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "state/program_win.h"
#include "state/settings_store_win.h"

namespace plumbo {
namespace {

class SettingsStore : public testing::Test {
protected:
    void SetUp() override {
        const auto folder = std::filesystem::temp_directory_path() / ("ini-" + std::to_string(GetCurrentProcessId()));
        program_.folder = folder.wstring() + L"\\";
        std::filesystem::create_directory(program_.folder);
    }
    void TearDown() override { std::filesystem::remove_all(program_.folder); }
    Settings Load() const {
        SettingsFileState state{};
        return LoadSettingsFile(program_.IniPath(), state);
    }
    Program program_;
};

// Every field away from its default, so a save that writes the wrong key, the wrong field or a
// colour the reader refuses (it takes signed numbers) does not read back.
TEST_F(SettingsStore, EachSaveReplacesItsKeyAndReadsBack) {
    Load();
    program_.settings = {0x00FF8040, 0x80000000, 255, false, true, true};
    for (SettingId id : {SettingId::RulerColor, SettingId::TickColor, SettingId::NumberColor, SettingId::OnTop,
                         SettingId::Transparent, SettingId::Inside})
        program_.Save(id);
    EXPECT_EQ(Load(), program_.settings);
}

TEST_F(SettingsStore, RepairsReachTheFileAndLongValuesAreCutToTheReadBuffer) {
    std::ofstream(program_.IniPath().c_str(), std::ios::binary)
        << "[COLOR]\r\nLINE=white\r\n[SHOW]\r\nINSIDE=" << std::string(100, 'x') << "\r\n";
    EXPECT_EQ(Load().tickColor, 16711680u);
    const std::wstring path = program_.IniPath();
    EXPECT_EQ(std::tuple(ReadIni(path, L"COLOR", L"LINE"), ReadIni(path, L"SHOW", L"INSIDE")),
              std::tuple(L"16711680", std::wstring(79, L'x')));
}

}  // namespace
}  // namespace plumbo
