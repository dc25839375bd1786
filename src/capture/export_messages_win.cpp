#include "capture/export_messages_win.h"

#include "core/texts.h"
#include "platform/modal_win.h"
#include "platform/profile_write_win.h"

namespace plumbo {

namespace {

void Tell(HWND owner, const std::wstring& text) {
    ModalMessageBox(owner, text.c_str(), Texts().messageTitle, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool AskReplaceFile(HWND owner) {
    return ModalMessageBox(owner, Texts().overwriteQuestion, Texts().messageTitle,
                           MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON1) == IDYES;
}

void ReportSaveFailure(HWND owner, const std::wstring& path, DWORD error) {
    Tell(owner, FillIn(Texts().saveFailed, {path, SystemErrorText(error)}));
}

void ReportClipboardFailure(HWND owner, DWORD error) {
    Tell(owner, FillIn(Texts().clipboardFailed, {SystemErrorText(error)}));
}

}  // namespace plumbo
