// The settings file through the real profile functions, in a folder of its own. How values
// are understood and repaired is tested natively (settings_rules_test); making a new file and
// an unusable folder are tested in tests/shell. Here: that each repair and each save reaches
// the file, and that a value is read through an 80-character buffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "core/calibration.h"
#include "platform/monitor_win.h"
#include "state/program_win.h"
#include "state/settings_store_win.h"

namespace plumbo {
namespace {

// A file with a colour the reader repairs and a value longer than the read buffer; then every
// field away from its default, so a save that writes the wrong key, the wrong field or a colour
// the reader refuses (it takes signed numbers) does not read back.
TEST(SettingsStore, RepairsAndEachSaveReachTheFileAndLongValuesAreCutToTheReadBuffer) {
    const auto folder = std::filesystem::temp_directory_path() / ("ini-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    Program program;
    program.folder = (folder / "").wstring();  // with the separator the file name follows
    const std::wstring path = program.IniPath();
    SettingsFileState state{};
    std::ofstream(path.c_str(), std::ios::binary)
        << "[COLOR]\r\nLINE=white\r\n[SHOW]\r\nINSIDE=" << std::string(100, 'x') << "\r\n";
    // Braces evaluate left to right: the file is loaded, and repaired, before it is read.
    EXPECT_EQ((std::tuple{LoadSettingsFile(path, state).tickColor, ReadIni(path, L"COLOR", L"LINE"),
                          ReadIni(path, L"SHOW", L"INSIDE")}),
              std::tuple(16711680u, L"16711680", std::wstring(79, L'x')));

    program.settings = {0x00FF8040, 0x80000000, 255, false, true, true, {{{}, {kHotKeyWin, 'C'}, {0, 0x7B}, {}}}};
    for (const SettingDef& def : kSettingDefs) program.Save(def.id);
    EXPECT_EQ(LoadSettingsFile(path, state), program.settings);
    std::filesystem::remove_all(folder);
}

// A monitor's calibration that is no number is read as none and its section removed, the
// rest of the file left alone.
TEST(SettingsStore, AnUnreadableCalibrationLosesItsSection) {
    const std::wstring path = std::filesystem::temp_directory_path() / ("calib-" + std::to_string(GetCurrentProcessId()) + ".ini");
    const HWND desktop = GetDesktopWindow();
    const std::wstring device = MonitorDevicePath(MonitorFromWindow(desktop, MONITOR_DEFAULTTONEAREST));
    const std::wstring section = CalibrationSection(MonitorIdentity(MonitorEdid(device), device));
    WriteIni(path, L"COLOR", L"NO", L"0");
    WriteIni(path, section, kKeyPixelsPerMm, L"4,5");
    Calibrations calibrations;
    calibrations.iniPath = path;
    EXPECT_EQ(calibrations.Of(desktop).pixelsPerMm, std::nullopt);
    EXPECT_EQ(std::pair(ReadIni(path, section, kKeyPixelsPerMm), ReadIni(path, L"COLOR", L"NO")),
              std::pair(std::optional<std::wstring>(), std::optional<std::wstring>(L"0")));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace plumbo
