#pragma once
// The program as one object: its state, the hidden main form, and every feature, wired
// together at start-up.
#include <windows.h>

#include <map>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sizing/size_dialog_win.h"
#include "capture/viewer_win.h"
#include "dialogs/settings_dialog_win.h"
#include "measure/measure_mode_win.h"
#include "ruler/rulers_win.h"
#include "shell/main_form_win.h"
#include "state/program_win.h"

namespace plumbo {

// The folder plumbo.exe lies in, ending in a backslash: its settings file lives there.
std::wstring ProgramFolder();

// plumbo.exe /exit: asks the copy that runs to end as "終了" ends it, and waits a while for it.
// 0 once none runs; 1 when it is still there (a copy too old to understand the request).
int EndRunningCopy();

class Shell {
public:
    Shell();
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Starts the program from folder (ending in a backslash); false when it is to end at once
    // (another copy runs, or a window could not be made). Started with Windows, it shows no
    // splash: the tray icon comes quietly.
    bool Start(HINSTANCE instance, const std::wstring& folder, bool splash = true);
    // Hides the rulers, removes the tray icon and ends the main loop; nothing is saved.
    void End();

    Program& program() { return program_; }

private:
    std::map<CommandId, std::function<void()>> CommandTable();
    bool AnotherCopyRuns();

    Program program_;
    MainForm mainForm_;
    Rulers rulers_;
    Viewer viewer_;
    SizeDialog sizeDialog_;
    SettingsDialog settingsDialog_;
    MeasureMode measure_;
    HANDLE instanceMutex_ = nullptr;
};

}  // namespace plumbo
