#include "app/controller_win.h"

#include <iterator>
#include <memory>

#include "app/about_win.h"
#include "app/commands_win.h"
#include "app/dialog_forms_win.h"
#include "app/app_win.h"
#include "app/menu_form_win.h"
#include "app/menu_table.h"
#include "app/settings.h"
#include "app/settings_store_win.h"
#include "capture/target_win.h"
#include "resource.h"
#include "ruler/ruler_window_win.h"
#include "ruler/transparent_win.h"
#include "ruler/unit_commands_win.h"

namespace plumbo {

namespace {

// The forms live for the whole run.
MenuForm gMenuForm;
RulerWindow gHrz(true);
RulerWindow gVer(false);
HANDLE gInstanceMutex = nullptr;

bool AnotherCopyRuns() {
    gInstanceMutex = CreateMutexW(nullptr, FALSE, L"Local\\Plumbo.SingleInstance");
    return gInstanceMutex && GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring p(path, n);
    size_t slash = p.find_last_of(L"\\/");
    p = slash == std::wstring::npos ? std::wstring() : p.substr(0, slash);
    if (p.empty() || p.back() != L'\\') p += L'\\';
    return p;
}

void RegisterControlCommands() {
    RegisterCommand(mCtrlActivate, &mCtrlActivate_Click);
    RegisterCommand(mCtrlHide, &mCtrlHide_Click);
    RegisterCommand(mCtrlExit, &mCtrlExit_Click);
    RegisterCommand(mMenuSetToumei, &mMenuSetToumei_Click);
    RegisterUnitCommands();
    RegisterViewerCommands();
    RegisterExportCommands();
    RegisterMetaCommand();
    RegisterSettingsCommands();
}

}  // namespace

bool StartUp(HINSTANCE instance) {
    App& a = TheApp();
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PLUMBO));
    if (!gMenuForm.Create(icon)) return false;
    a.fMenu = &gMenuForm;

    // 1. The version box as a splash window, painted once.
    std::unique_ptr<AboutBox> splash = ShowSplash();
    DoEvents();
    // 2. One copy at a time.
    if (AnotherCopyRuns()) return false;
    // 3.
    gAppPath = ProgramFolder();
    // 4-5. The rulers, fVer owned by fHrz; created hidden.
    gHrz.Create(nullptr);
    gVer.Create(gHrz.hwnd());
    a.fHrz = &gHrz;
    a.fVer = &gVer;
    // 6.
    SetRulersTopmost(true);
    // 7. The dialogs.
    CreateDialogForms();
    // 8.
    ShowRulers(false);
    // 9.
    if (splash) splash->SetVisible(false);
    // 10.
    gMenuForm.AddTrayIcon();
    // 11.
    LoadSettingsAtStartup();
    // 12. mCtrl and mMenu are never on the menu bar; they are only popped up.
    RegisterControlCommands();
    // 13.
    splash.reset();
    a.fAbout = nullptr;
    return true;
}

void mCtrlActivate_Click() {
    App& a = TheApp();
    ShowRulers(true);
    // Parked just outside the screen's top-left corner until the tracking lays them out.
    RECT h = a.fHrz->WindowRect();
    RECT v = a.fVer->WindowRect();
    a.fHrz->MovePx(0, -(h.bottom - h.top), h.right - h.left, h.bottom - h.top);
    a.fVer->MovePx(-(v.right - v.left), 0, v.right - v.left, v.bottom - v.top);
    CheckMenu(mCtrlActivate, true);
    CheckMenu(mCtrlHide, false);
}

void mCtrlHide_Click() {
    ShowRulers(false);
    CheckMenu(mCtrlActivate, false);
    CheckMenu(mCtrlHide, true);
}

void mCtrlExit_Click() { EndProgram(); }

void EndProgram() {
    ShowRulers(false);
    if (TheApp().fMenu) TheApp().fMenu->RemoveTrayIcon();
    ExitProcess(0);
}

}  // namespace plumbo
