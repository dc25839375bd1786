#include "capture/export_messages_win.h"

#include "core/texts.h"
#include "platform/modal_win.h"

namespace plumbo {

namespace {

std::wstring SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring out;
    if (n && text) out.assign(text, n);
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L' ')) out.pop_back();
    if (out.empty()) out = L"Error " + std::to_wstring(error);
    return out;
}

void Tell(HWND owner, const std::wstring& text) {
    ModalMessageBox(owner, text.c_str(), Texts().messageTitle, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool AskReplaceFile(HWND owner) {
    return ModalMessageBox(owner, Texts().overwriteQuestion, Texts().messageTitle,
                           MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON1) == IDYES;
}

void ReportSaveFailure(HWND owner, const std::wstring& path, DWORD error) {
    Tell(owner, FillIn(Texts().saveFailed, {path, SystemMessage(error)}));
}

void ReportClipboardFailure(HWND owner, DWORD error) {
    Tell(owner, FillIn(Texts().clipboardFailed, {SystemMessage(error)}));
}

}  // namespace plumbo
