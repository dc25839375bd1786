#include "dialogs/help_win.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "core/texts.h"
#include "platform/modal_win.h"

namespace plumbo {

void OpenHelp(const Program& program) {
    const UiTexts& t = Texts();
    // The old help viewer is gone from current Windows; the help is a page the browser shows,
    // in the language of the menus.
    const std::wstring path = program.folder + t.helpPage;
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        ModalMessageBox(program.mainWindow, t.helpMissing, t.messageTitle, MB_OK);
        return;
    }
    // A help command that silently does nothing leaves the user guessing: say when no
    // program is registered for the page, as the version box's links do.
    HINSTANCE r = ShellExecuteW(program.mainWindow, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(r);
    if (code >= 0 && code <= 32) ModalMessageBox(program.mainWindow, t.noAssociatedProgram, t.messageTitle, MB_OK);
}

}  // namespace plumbo
