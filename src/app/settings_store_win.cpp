#include "app/settings_store_win.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/menu_table.h"
#include "app/settings.h"
#include "app/settings_rules.h"
#include "app/texts.h"

namespace plumbo {

std::wstring IniPath() { return gAppPath + std::wstring(kIniFileName); }

std::optional<std::wstring> ReadIni(std::wstring_view section, std::wstring_view key) {
    std::wstring path = IniPath();
    std::wstring sec(section), k(key);
    std::vector<wchar_t> buffer(kIniReadBufferChars, L' ');
    DWORD n = GetPrivateProfileStringW(sec.c_str(), k.c_str(), nullptr, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), path.c_str());
    if (n == 0) return std::nullopt;
    return std::wstring(buffer.data(), n);
}

void WriteIni(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    std::wstring path = IniPath();
    std::wstring sec(section), k(key), v(value);
    WritePrivateProfileStringW(sec.c_str(), k.c_str(), v.c_str(), path.c_str());
}

void WriteDefaultIni() { WriteDefaultSettings(&WriteIni); }

namespace {

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileReadable(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// Defaults of a new file, for a run whose settings file cannot be used.
Settings NewFileDefaults() {
    Settings s;
    WriteDefaultSettings([&](std::wstring_view, std::wstring_view key, std::wstring_view value) {
        if (key == L"MEJ") s.colorMej = *ParseColor(value);
        else if (key == L"LINE") s.colorLine = *ParseColor(value);
        else if (key == L"NO") s.colorNo = *ParseColor(value);
        else if (key == L"ZORDER") s.zorderFlg = ParseSwitch(value);
        else if (key == L"TRANSPARENT") s.toumeiFlg = ParseSwitch(value);
        else if (key == L"INSIDE") s.insideFlg = ParseSwitch(value);
    });
    return s;
}

}  // namespace

void LoadSettingsAtStartup() {
    std::wstring path = IniPath();
    if (!FileExists(path)) WriteDefaultIni();
    Settings s;
    if (FileExists(path) && FileReadable(path)) {
        s = ReadSettings(&ReadIni, &WriteIni);
    } else {
        std::wstring text(Texts().iniUnusable);
        size_t at = text.find(L"%s");
        if (at != std::wstring::npos) text.replace(at, 2, path);
        MessageBoxW(nullptr, text.c_str(), Texts().messageTitle, MB_OK | MB_ICONWARNING);
        s = NewFileDefaults();
    }
    ApplyLoadedSettings(s);
}

}  // namespace plumbo
