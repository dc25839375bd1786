// The settings file through the real profile functions, in a folder of its own. How values
// are understood and repaired is tested natively (settings_rules_test); making a new file, an
// unusable folder and a write that fails are tested in tests/shell. Here: that each repair and each save reaches
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

namespace plumbo {
namespace {

// A file with a colour the reader repairs, a value longer than the read buffer and a monitor's
// calibration that is no number; then every field away from both its default and what the
// repaired file holds, each key its own, so a save that skips a key, writes the wrong key, the
// wrong field or a colour the reader refuses (it takes signed numbers) does not read back. The
// calibration is read as none and its section goes at the first save.
TEST(SettingsStore, RepairsAndEachSaveReachTheFileAndLongValuesAreCutToTheReadBuffer) {
    Program program;
    SettingsFile& file = program.settingsFile;
    file.path = std::filesystem::temp_directory_path() / ("ini-" + std::to_string(GetCurrentProcessId()) + ".ini");
    program.calibrations.file = &file;
    const std::wstring device = MonitorDevicePath(MonitorFromWindow(GetDesktopWindow(), MONITOR_DEFAULTTONEAREST));
    const std::wstring section = CalibrationSection(MonitorIdentity(MonitorEdid(device), device));
    std::ofstream(file.path.c_str(), std::ios::binary) << "[COLOR]\r\nLINE=white\r\n[SHOW]\r\nINSIDE=" << std::string(100, 'x')
                                                       << "\r\n[" << std::string(section.begin(), section.end()) << "]\r\nPIXELS_PER_MM=4,5\r\n";
    // Braces evaluate left to right: the file is loaded, and repaired, before it is read.
    EXPECT_EQ((std::tuple{file.Load().tickColor, file.Read(L"COLOR", L"LINE"), file.Read(L"SHOW", L"INSIDE"),
                          program.calibrations.Of(GetDesktopWindow()).pixelsPerMm}),
              std::tuple(16711680u, L"16711680", std::wstring(79, L'x'), std::nullopt));

    program.settings = {0x00FF8040, 0x80000000, 255, true, true, false, {{{kHotKeyCtrl | kHotKeyShift, 'Q'}, {kHotKeyWin, 'C'},
                        {0, 0x7B}, {kHotKeyAlt, 0x78}, {kHotKeyCtrl | kHotKeyAlt, 'N'}}}, true, false};
    for (const SettingDef& def : kSettingDefs) program.Save(def.id);
    EXPECT_EQ(std::pair(file.Load(), file.Read(section, kKeyPixelsPerMm)), std::pair(program.settings, std::optional<std::wstring>()));
    std::filesystem::remove(file.path);
}

}  // namespace
}  // namespace plumbo
