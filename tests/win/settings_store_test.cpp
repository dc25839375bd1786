// The settings file through the real profile functions, in a folder of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "app/settings.h"
#include "app/settings_store_win.h"

namespace plumbo {
namespace {

class SettingsStore : public testing::Test {
protected:
    void SetUp() override {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        dir_ = std::wstring(tmp) + L"plumbo-ini-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(GetTickCount()) + L"\\";
        CreateDirectoryW(dir_.c_str(), nullptr);
        gAppPath = dir_;
    }
    void TearDown() override {
        DeleteFileW(IniPath().c_str());
        RemoveDirectoryW(dir_.c_str());
    }
    static std::string File() {
        std::ifstream f(IniPath().c_str(), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    static void Write(const std::string& text) { std::ofstream(IniPath().c_str(), std::ios::binary) << text; }
    // The three colours and the three switches, in the file's order.
    using Values = std::tuple<uint32_t, uint32_t, uint32_t, bool, bool, bool>;
    static Values Loaded() { return {gColorMej, gColorLine, gColorNo, gZorderFlg, gToumeiFlg, gInsideFlg}; }
    std::wstring dir_;
};

TEST_F(SettingsStore, NewFileHoldsTheEightDefaultLines) {
    LoadSettingsAtStartup();
    EXPECT_EQ(File(),
              "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n");
    EXPECT_EQ(Loaded(), (Values{16777215, 16711680, 0, true, false, false}));
}

TEST_F(SettingsStore, MissingSpacedAndNonNumericValuesAreRepairedAndWrittenBack) {
    Write("[COLOR]\r\nMEJ=   \r\nLINE=white\r\nNO=65280\r\n[SHOW]\r\nTRANSPARENT=true\r\nINSIDE=0\r\n");
    LoadSettingsAtStartup();
    EXPECT_EQ(Loaded(), (Values{16777215, 16711680, 65280, false, true, true}));  // "0" is not "FALSE"
    const std::string file = File();
    for (const char* line : {"MEJ=16777215\r\n", "LINE=16711680\r\n", "NO=65280\r\n", "ZORDER=FALSE\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
}

TEST_F(SettingsStore, ALongValueIsReadAsItsFirst79Characters) {
    Write("[SHOW]\r\nINSIDE=" + std::string(100, 'x') + "\r\n");
    auto v = ReadIni(L"SHOW", L"INSIDE");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, std::wstring(79, L'x'));
}

}  // namespace
}  // namespace plumbo
