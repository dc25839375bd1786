#include "platform/folders_win.h"

#include <windows.h>
#include <shlobj.h>

namespace plumbo {

namespace {

bool TryCreateFileIn(const std::wstring& folder) {
    // A name no program of ours keeps, gone again when the handle closes.
    const std::wstring probe = folder + L"plumbo-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

CreateFileProbe probe = &TryCreateFileIn;

}  // namespace

bool CanCreateFileIn(const std::wstring& folder) { return probe(folder); }

void SetCreateFileProbe(CreateFileProbe p) { probe = p ? p : &TryCreateFileIn; }

std::wstring RoamingAppDataFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path)) && path) folder = path;
    CoTaskMemFree(path);
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

}  // namespace plumbo
