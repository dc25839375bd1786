#include "shown_texts.h"

namespace {

std::wstring shown;

std::wstring ShownPath() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"plumbo-shown-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

}  // namespace

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

LRESULT Ask(HWND control, UINT message, WPARAM w, const void* l) {
    return SendMessageW(control, message, w, reinterpret_cast<LPARAM>(l));
}

std::wstring WithoutMnemonics(const std::wstring& s) {
    std::wstring out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

void AddShown(const wchar_t* kind, const std::wstring& text, const RECT& r) {
    if (text.empty()) return;
    shown += std::wstring(kind) + L"\t" + text + L"\t" + std::to_wstring(r.left) + L" " + std::to_wstring(r.top) +
             L" " + std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom) + L"\n";
}

void WriteShown() {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, shown.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, shown.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    const std::wstring path = ShownPath();
    HANDLE f = CreateFileW((path + L".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(f);
    MoveFileExW((path + L".part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void ForgetEarlierShown() { DeleteFileW(ShownPath().c_str()); }
