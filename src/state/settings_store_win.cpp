#include "state/settings_store_win.h"

#include <windows.h>

#include <vector>

#include "state/program_win.h"

namespace plumbo {

std::optional<std::wstring> ReadIni(const std::wstring& path, std::wstring_view section, std::wstring_view key) {
    std::wstring sec(section), k(key);
    std::vector<wchar_t> buffer(kIniReadBufferChars, L' ');
    DWORD n = GetPrivateProfileStringW(sec.c_str(), k.c_str(), nullptr, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), path.c_str());
    if (n == 0) return std::nullopt;
    return std::wstring(buffer.data(), n);
}

void WriteIni(const std::wstring& path, std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    std::wstring sec(section), k(key), v(value);
    WritePrivateProfileStringW(sec.c_str(), k.c_str(), v.c_str(), path.c_str());
}

void RemoveIniSection(const std::wstring& path, std::wstring_view section) {
    std::wstring sec(section);
    WritePrivateProfileStringW(sec.c_str(), nullptr, nullptr, path.c_str());
}

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

}  // namespace

Settings LoadSettingsFile(const std::wstring& path, SettingsFileState& state) {
    auto write = [&](std::wstring_view section, std::wstring_view key, std::wstring_view value) {
        WriteIni(path, section, key, value);
    };
    auto read = [&](std::wstring_view section, std::wstring_view key) { return ReadIni(path, section, key); };
    if (!FileExists(path)) WriteDefaultSettings(write);
    if (FileExists(path) && FileReadable(path)) {
        state = SettingsFileState::Usable;
        return ReadSettings(read, write);
    }
    state = SettingsFileState::Unusable;
    return NewFileSettings();
}

std::wstring Program::IniPath() const { return folder + std::wstring(kIniFileName); }

void Program::Save(SettingId id) const {
    const std::wstring path = IniPath();
    WriteSetting([&](std::wstring_view section, std::wstring_view key,
                     std::wstring_view value) { WriteIni(path, section, key, value); },
                 id, settings);
}

}  // namespace plumbo
