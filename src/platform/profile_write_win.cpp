#include "platform/profile_write_win.h"

namespace plumbo {

namespace {

DWORD WriteWithSystem(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* path) {
    if (WritePrivateProfileStringW(section, key, value, path)) return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_WRITE_FAULT;  // failed, whatever the last error says
}

ProfileWriter writer = &WriteWithSystem;

}  // namespace

DWORD WriteProfileKey(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* path) {
    return writer(section, key, value, path);
}

void SetProfileWriter(ProfileWriter w) { writer = w ? w : &WriteWithSystem; }

std::wstring SystemErrorText(DWORD error) {
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 512, nullptr);
    std::wstring said = text;
    said.erase(said.find_last_not_of(L"\r\n ") + 1);
    return said.empty() ? L"Error " + std::to_wstring(error) : said;
}

}  // namespace plumbo
