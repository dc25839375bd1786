#include "app/app_win.h"

#include <map>

#include "app/menu_form_win.h"
#include "app/menu_table.h"
#include "app/settings.h"
#include "ruler/ruler_window_win.h"

namespace plumbo {

namespace {
std::map<UINT, std::function<void()>>& Commands() {
    static std::map<UINT, std::function<void()>> commands;
    return commands;
}
}  // namespace

App& TheApp() {
    static App app;
    return app;
}

void ShowRulers(bool show) {
    App& a = TheApp();
    if (a.fHrz) a.fHrz->SetVisible(show);
    if (a.fVer) a.fVer->SetVisible(show);
    SetTimerEnabled(TimerId::Serch, show);
    SetTimerEnabled(TimerId::Back, show);
    CheckMenu(mCtrlHide, !show);
    CheckMenu(mCtrlActivate, show);
}

void SetRulersTopmost(bool on) {
    App& a = TheApp();
    HWND after = on ? HWND_TOPMOST : HWND_NOTOPMOST;
    for (RulerWindow* r : {a.fHrz, a.fVer})
        if (r && r->hwnd()) SetWindowPos(r->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ApplyLoadedSettings(const Settings& s) {
    App& a = TheApp();
    gColorMej = s.colorMej;
    if (a.fHrz) a.fHrz->SetBaseColor(gColorMej);
    if (a.fVer) a.fVer->SetBaseColor(gColorMej);
    gColorLine = s.colorLine;
    if (a.fHrz) a.fHrz->Model().lines.SetColor(gColorLine);
    if (a.fVer) a.fVer->Model().lines.SetColor(gColorLine);
    gColorNo = s.colorNo;
    if (a.fHrz) a.fHrz->Model().labels.SetColor(gColorNo);
    if (a.fVer) a.fVer->Model().labels.SetColor(gColorNo);
    gZorderFlg = s.zorderFlg;
    SetRulersTopmost(gZorderFlg);
    gToumeiFlg = s.toumeiFlg;
    CheckMenu(mMenuSetToumei, gToumeiFlg);
    gInsideFlg = s.insideFlg;
    CheckMenu(mMenuSetShowIn, gInsideFlg);
    CheckMenu(mMenuSetShowOut, !gInsideFlg);
    if (a.fHrz) InvalidateRect(a.fHrz->hwnd(), nullptr, FALSE);
    if (a.fVer) InvalidateRect(a.fVer->hwnd(), nullptr, FALSE);
}

void CheckMenu(UINT id, bool checked) {
    for (auto& [tid, h] : TheApp().menus.topLevel)
        if (CheckMenuItem(h, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1))
            return;
}

bool IsMenuChecked(UINT id) {
    for (auto& [tid, h] : TheApp().menus.topLevel) {
        UINT state = GetMenuState(h, id, MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) return (state & MF_CHECKED) != 0;
    }
    return false;
}

void EnableMenu(UINT id, bool enabled) {
    for (auto& [tid, h] : TheApp().menus.topLevel)
        if (EnableMenuItem(h, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) != -1) return;
}

void RegisterCommand(UINT id, std::function<void()> handler) { Commands()[id] = std::move(handler); }

void RunCommand(UINT id) {
    auto it = Commands().find(id);
    if (it != Commands().end() && it->second) it->second();
}

void SetTimerEnabled(TimerId id, bool on) {
    if (TheApp().fMenu) TheApp().fMenu->SetTimerEnabled(id, on);
}

bool IsTimerEnabled(TimerId id) { return TheApp().fMenu && TheApp().fMenu->IsTimerEnabled(id); }

bool IsOwnForm(HWND hwnd) {
    if (!hwnd) return false;
    App& a = TheApp();
    for (Window* w : {static_cast<Window*>(a.fHrz), static_cast<Window*>(a.fVer), a.fAbout,
                      static_cast<Window*>(a.fMenu), a.fSet, a.fSize})
        if (w && w->hwnd() == hwnd) return true;
    return false;
}

}  // namespace plumbo
