// The settings file through the real profile functions, in a folder of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/settings.h"
#include "app/settings_store_win.h"

namespace plumbo {
namespace {

std::string ReadAll(const std::wstring& path) {
    std::string out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
    CloseHandle(h);
    return out;
}

void WriteAll(const std::wstring& path, const std::string& text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
    CloseHandle(h);
}

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
    std::wstring dir_;
};

TEST_F(SettingsStore, NewFileHoldsTheEightDefaultLines) {
    LoadSettingsAtStartup();
    EXPECT_EQ(ReadAll(IniPath()),
              "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n");
    EXPECT_EQ(gColorMej, 16777215u);
    EXPECT_EQ(gColorLine, 16711680u);
    EXPECT_EQ(gColorNo, 0u);
    EXPECT_TRUE(gZorderFlg);
    EXPECT_FALSE(gToumeiFlg);
    EXPECT_FALSE(gInsideFlg);
}

TEST_F(SettingsStore, MissingZorderIsAddedAsFalseAndSpacesAreRepaired) {
    WriteAll(IniPath(), "[COLOR]\r\nMEJ=   \r\nLINE=255\r\nNO=65280\r\n[SHOW]\r\nTRANSPARENT=true\r\nINSIDE=0\r\n");
    LoadSettingsAtStartup();
    EXPECT_EQ(gColorMej, 16777215u);
    EXPECT_EQ(gColorLine, 255u);
    EXPECT_EQ(gColorNo, 65280u);
    EXPECT_FALSE(gZorderFlg);
    EXPECT_TRUE(gToumeiFlg);
    EXPECT_TRUE(gInsideFlg);  // "0" is not "FALSE"
    std::string file = ReadAll(IniPath());
    EXPECT_NE(file.find("MEJ=16777215\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("ZORDER=FALSE\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("LINE=255\r\n"), std::string::npos) << file;
}

TEST_F(SettingsStore, NonNumericColourCountsAsMissing) {
    WriteAll(IniPath(), "[COLOR]\r\nMEJ=white\r\nLINE=99999999999\r\nNO=12\r\n[SHOW]\r\nZORDER=FALSE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n");
    LoadSettingsAtStartup();
    EXPECT_EQ(gColorMej, 16777215u);
    EXPECT_EQ(gColorLine, 16711680u);
    EXPECT_EQ(gColorNo, 12u);
    std::string file = ReadAll(IniPath());
    EXPECT_NE(file.find("MEJ=16777215\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("LINE=16711680\r\n"), std::string::npos) << file;
}

TEST_F(SettingsStore, ALongValueIsReadAsItsFirst79Characters) {
    std::string longValue(100, 'x');
    WriteAll(IniPath(), "[SHOW]\r\nINSIDE=" + longValue + "\r\n");
    auto v = ReadIni(L"SHOW", L"INSIDE");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->size(), 79u);
}

}  // namespace
}  // namespace plumbo
