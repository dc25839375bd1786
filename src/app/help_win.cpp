#include "app/help_win.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/app_win.h"
#include "app/menu_form_win.h"
#include "app/settings.h"
#include "app/texts.h"

namespace plumbo {

namespace {
// The old help viewer is gone from current Windows; the help is a page the browser shows.
constexpr const wchar_t* kHelpFile = L"plHelp.html";
}  // namespace

void mCtrlHelp_Click() {
    HWND owner = TheApp().fMenu ? TheApp().fMenu->hwnd() : nullptr;
    std::wstring path = gAppPath + kHelpFile;
    DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        MessageBoxW(owner, Texts().helpMissing, Texts().messageTitle, MB_OK);
        return;
    }
    // A help command that silently does nothing leaves the user guessing: say when no
    // program is registered for the page, as the version box's links do.
    HINSTANCE r = ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(r);
    if (code >= 0 && code <= 32) MessageBoxW(owner, Texts().noAssociatedProgram, Texts().messageTitle, MB_OK);
}

}  // namespace plumbo
