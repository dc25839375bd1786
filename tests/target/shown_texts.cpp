#include "shown_texts.h"

#include <fstream>

namespace {

std::wstring shown;
void (*teller)(HWND) = nullptr;

std::wstring ShownPath() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"plumbo-shown-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

void CALLBACK WriteShown(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    teller(window);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, shown.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, shown.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    const std::wstring path = ShownPath();
    std::ofstream((path + L".part").c_str(), std::ios::binary) << utf8;
    MoveFileExW((path + L".part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Register(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    const WNDCLASSW wc{0, procedure, 0, 0, GetModuleHandleW(nullptr), nullptr,
                       LoadCursorW(nullptr, IDC_ARROW), background, nullptr, name};
    RegisterClassW(&wc);
}

LRESULT Ask(HWND control, UINT message, WPARAM w, const void* l) {
    return SendMessageW(control, message, w, reinterpret_cast<LPARAM>(l));
}

std::wstring WithoutMnemonics(std::wstring s) {
    for (size_t i = s.find(L'&'); i != std::wstring::npos && i + 1 < s.size(); i = s.find(L'&', i + 1))
        s.erase(i, 1);
    return s;
}

void AddShown(const wchar_t* kind, const std::wstring& text, const RECT& r) {
    if (text.empty()) return;
    shown += std::wstring(kind) + L"\t" + text + L"\t" + std::to_wstring(r.left) + L" " + std::to_wstring(r.top) +
             L" " + std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom) + L"\n";
}

void AddItemsAt(HWND control, const wchar_t* kind, UINT message, const std::vector<std::wstring>& texts) {
    AddItems(control, kind, 0, static_cast<LRESULT>(texts.size()), [&](LRESULT i, RECT& r) {
        Ask(control, message, i, &r);
        return texts[i];
    });
}

void ReportWhenShown(HWND window, void (*tell)(HWND window)) {
    // Process ids come round again: an earlier target's file is not ours.
    DeleteFileW(ShownPath().c_str());
    teller = tell;
    SetTimer(window, 1, 0, WriteShown);
}
