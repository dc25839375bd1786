// Plumbo: rulers along the window you work in, and pictures of it.
#include <windows.h>
#include <commctrl.h>

#include "shell/startup_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    plumbo::Shell shell;
    if (!shell.Start(instance, plumbo::ProgramFolder())) return 0;
    // The one message loop; modal windows run theirs through the platform's RunModal.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
