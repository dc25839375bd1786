#include "state/settings_store_win.h"

#include <windows.h>

#include <vector>

#include "core/texts.h"
#include "platform/files_win.h"
#include "platform/folders_win.h"
#include "platform/modal_win.h"
#include "platform/profile_write_win.h"
#include "state/program_win.h"

namespace plumbo {

namespace {

bool FileReadable(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace

std::optional<std::wstring> SettingsFile::Read(std::wstring_view section, std::wstring_view key) const {
    if (path.empty()) return std::nullopt;
    std::wstring sec(section), k(key);
    std::vector<wchar_t> buffer(kIniReadBufferChars, L' ');
    DWORD n = GetPrivateProfileStringW(sec.c_str(), k.c_str(), nullptr, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), path.c_str());
    if (n == 0) return std::nullopt;
    return std::wstring(buffer.data(), n);
}

void SettingsFile::Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    if (path.empty()) return;
    std::wstring sec(section), k(key), v(value);
    Written(WriteProfileKey(sec.c_str(), k.c_str(), v.c_str(), path.c_str()));
}

void SettingsFile::RemoveSection(std::wstring_view section) {
    if (path.empty()) return;
    std::wstring sec(section);
    Written(WriteProfileKey(sec.c_str(), nullptr, nullptr, path.c_str()));
}

void SettingsFile::Written(DWORD error) {
    if (!error) return;
    if (!loading_) SayWriteFailed(error);
    else if (!loadFailure_) loadFailure_ = error;
}

void SettingsFile::SayWriteFailed(DWORD error) {
    if (!said_) Say(FillIn(Texts().iniWriteFailed, {path, SystemErrorText(error)}));
}

void SettingsFile::Say(const std::wstring& text) {
    // Set before the box: its loop may run a paint or a command that writes again.
    said_ = true;
    ModalMessageBox(nullptr, text.c_str(), Texts().messageTitle, MB_OK | MB_ICONWARNING);
}

Settings SettingsFile::Load() {
    auto write = [&](std::wstring_view section, std::wstring_view key, std::wstring_view value) {
        Write(section, key, value);
    };
    auto read = [&](std::wstring_view section, std::wstring_view key) { return Read(section, key); };
    // What fails while loading is said once, when it is known whether the file is usable at all.
    loading_ = true;
    loadFailure_ = 0;
    if (!FileExists(path)) WriteDefaultSettings(write);
    const bool usable = FileExists(path) && FileReadable(path);
    const Settings settings = usable ? ReadSettings(read, write) : NewFileSettings();
    loading_ = false;
    if (!usable) Say(FillIn(Texts().iniUnusable, {path}));
    else if (loadFailure_) SayWriteFailed(loadFailure_);
    return settings;
}

std::wstring Program::IniPath() const {
    // Beside the program whenever a file is there or can be made there, so portable copies and
    // existing set-ups stay as they are. A folder that takes no new file (Program Files) sends
    // it to the user's application data. Nothing is ever moved between the two.
    const std::wstring beside = folder + std::wstring(kIniFileName);
    if (FileExists(beside) || CanCreateFileIn(folder)) return beside;
    const std::wstring appData = RoamingAppDataFolder();
    if (appData.empty()) return beside;
    const std::wstring own = appData + L"Plumbo\\";
    CreateDirectoryW(own.c_str(), nullptr);
    return own + std::wstring(kIniFileName);
}

void Program::Save(SettingId id) {
    WriteSetting([&](std::wstring_view section, std::wstring_view key,
                     std::wstring_view value) { settingsFile.Write(section, key, value); },
                 id, settings);
    calibrations.SaveRepairs();
}

}  // namespace plumbo
