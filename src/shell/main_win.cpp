// Plumbo: rulers along the window you work in, and pictures of it.
#include <windows.h>
#include <commctrl.h>

#include "shell/command_line_win.h"
#include "shell/startup_win.h"

namespace {

// The one message loop; modal windows run theirs through the platform's RunModal.
int RunMainLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using plumbo::CommandLineRun;
    const plumbo::ParsedCommandLine parsed = plumbo::ParseCommandLine(plumbo::SplitCommandLine(GetCommandLineW()));
    const CommandLineRun run = parsed.request.run;
    if (run == CommandLineRun::Exit) return plumbo::EndRunningCopy();
    // A run for a script goes beside a copy in the tray: it never reaches the check for one, and
    // makes none of the tray program's windows.
    if (parsed.error || (run != CommandLineRun::Resident && run != CommandLineRun::Startup)) {
        if (std::optional<int> code = plumbo::StartScriptRun(parsed)) return *code;
        return RunMainLoop();
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    plumbo::Shell shell;
    // Started with Windows (the Run entry adds /startup): no splash.
    if (!shell.Start(instance, plumbo::ProgramFolder(), run != CommandLineRun::Startup)) return 0;
    return RunMainLoop();
}
