#include "shell/startup_win.h"

#include <iterator>
#include <string>

#include "core/texts.h"
#include "dialogs/about_win.h"
#include "platform/modal_win.h"
#include "resource.h"
#include "state/hotkeys_win.h"
#include "vector/meta_command_win.h"

namespace plumbo {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring p(path, n);
    size_t slash = p.find_last_of(L"\\/");
    p = slash == std::wstring::npos ? std::wstring() : p.substr(0, slash);
    if (p.empty() || p.back() != L'\\') p += L'\\';
    return p;
}

int EndRunningCopy() {
    HWND form = FindWindowW(kMainFormClass, nullptr);
    if (!form) return 0;
    DWORD pid = 0;
    GetWindowThreadProcessId(form, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageW(form, RegisterWindowMessageW(kExitRequestMessage), 0, 0);
    // Long enough for a copy busy drawing a large window to come back to its loop.
    constexpr DWORD kWaitMs = 10000;
    const bool ended = process ? WaitForSingleObject(process, kWaitMs) == WAIT_OBJECT_0 : !IsWindow(form);
    if (process) CloseHandle(process);
    return ended ? 0 : 1;
}

Shell::Shell()
    : mainForm_(program_), rulers_(program_), viewer_(mainForm_), sizeDialog_(program_), settingsDialog_(program_),
      measure_(program_, WalkControlBoxes) {
    program_.rulers = &rulers_;
    program_.viewer = &viewer_;
    program_.commands = &mainForm_;
}

Shell::~Shell() {
    // The icon never outlives the program object, however it ends.
    mainForm_.RemoveTrayIcon();
    if (program_.mainWindow) UnregisterHotKeys(program_.mainWindow);
    if (instanceMutex_) CloseHandle(instanceMutex_);
}

bool Shell::AnotherCopyRuns() {
    instanceMutex_ = CreateMutexW(nullptr, FALSE, L"Local\\Plumbo.SingleInstance");
    const DWORD error = GetLastError();
    // A copy run as administrator made the mutex with rights we do not have. Its windows are out
    // of our reach too (UIPI), so the user is told where to find it.
    if (!instanceMutex_ && error == ERROR_ACCESS_DENIED) {
        ModalMessageBox(nullptr, Texts().copyRunsElevated, Texts().messageTitle, MB_OK | MB_ICONINFORMATION);
        return true;
    }
    return instanceMutex_ && error == ERROR_ALREADY_EXISTS;
}

bool Shell::Start(HINSTANCE instance, const std::wstring& folder, bool splash) {
    // Every window and menu takes its texts from the table chosen here. Windows gives the
    // user's display language; Wine gives the language of the process's locale (LC_ALL or
    // LANG), whatever the prefix was made with.
    UseLanguage(LanguageForUi(GetUserDefaultUILanguage()));
    // Before any window: a second copy's hidden window, found by class while the copy ends,
    // would take a request to end meant for the one that runs.
    if (AnotherCopyRuns()) return false;
    program_.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PLUMBO));
    if (!mainForm_.Create(program_.icon)) return false;
    program_.mainWindow = mainForm_.hwnd();

    // The version box greets the user while the rest is made.
    std::unique_ptr<AboutBox> splashBox = splash ? ShowSplash(program_.mainWindow) : nullptr;
    program_.folder = folder;
    program_.settingsFile.path = program_.IniPath();
    program_.calibrations.file = &program_.settingsFile;

    if (!rulers_.Create() || !viewer_.Create(mainForm_.CreateViewerMenuBar(), program_.icon)) return false;
    sizeDialog_.Create();
    settingsDialog_.Create();
    rulers_.Show(false);
    splashBox.reset();

    // A file that cannot be used, or a repair that cannot be written, is said here.
    program_.settings = program_.settingsFile.Load();
    rulers_.ApplySettings();
    mainForm_.SetCommands(CommandTable());
    // A key another program holds is named once and left unused for this run; the file keeps
    // it, for a run when it is free again.
    RegisterHotKeys(program_);
    // The icon last: once the user sees it, its menu and its keys all work.
    mainForm_.AddTrayIcon();
    return true;
}

void Shell::End() {
    UnregisterHotKeys(program_.mainWindow);
    rulers_.Show(false);
    mainForm_.RemoveTrayIcon();
    PostQuitMessage(0);
}

}  // namespace plumbo
