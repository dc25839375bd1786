#include "platform/run_entry_win.h"

#include <windows.h>

#include <vector>

namespace plumbo {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

std::optional<std::wstring> ReadRunEntry(const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                     text.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text.data());
}

long WriteRunEntry(const wchar_t* name, const wchar_t* command) {
    HKEY key = nullptr;
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS) return error;
    if (command) {
        const DWORD bytes = static_cast<DWORD>((wcslen(command) + 1) * sizeof(wchar_t));
        error = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(command), bytes);
    } else {
        error = RegDeleteValueW(key, name);
        if (error == ERROR_FILE_NOT_FOUND) error = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return error;
}

}  // namespace plumbo
