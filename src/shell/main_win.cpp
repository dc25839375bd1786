// Plumbo: rulers along the window you work in, and pictures of it.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "shell/startup_win.h"

namespace {

// "/exit" and "/startup", also with a dash, in any case; other words are passed over.
bool HasSwitch(const wchar_t* name) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    bool found = false;
    for (int i = 1; args && i < count && !found; ++i) {
        const wchar_t* arg = args[i];
        found = (arg[0] == L'/' || arg[0] == L'-') && CompareStringOrdinal(arg + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
    }
    LocalFree(args);
    return found;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (HasSwitch(L"exit")) return plumbo::EndRunningCopy();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    plumbo::Shell shell;
    // Started with Windows (the Run entry adds /startup): no splash.
    if (!shell.Start(instance, plumbo::ProgramFolder(), !HasSwitch(L"startup"))) return 0;
    // The one message loop; modal windows run theirs through the platform's RunModal.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
