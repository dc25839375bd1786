#pragma once
// The program's forms and the operations every subsystem uses on them.
#include <windows.h>

#include <functional>

#include "app/settings_rules.h"
#include "platform/menu_win.h"

namespace plumbo {

class MenuForm;
class RulerWindow;
class Window;

struct App {
    MenuForm* fMenu = nullptr;
    RulerWindow* fHrz = nullptr;
    RulerWindow* fVer = nullptr;
    Window* fSet = nullptr;
    Window* fSize = nullptr;
    Window* fAbout = nullptr;  // only while it is shown
    MenuTree menus;
};

App& TheApp();

// Both rulers with both timers and the "表示"/"非表示" check marks.
void ShowRulers(bool show);
// Both rulers into or out of the topmost band.
void SetRulersTopmost(bool on);
// Colours, stacking and check marks of freshly loaded settings.
void ApplyLoadedSettings(const Settings& s);

// Menu items, found by command id in any of the program's menus.
void CheckMenu(UINT id, bool checked);
bool IsMenuChecked(UINT id);
void EnableMenu(UINT id, bool enabled);

// Menu commands are registered by the subsystem that owns them.
void RegisterCommand(UINT id, std::function<void()> handler);
void RunCommand(UINT id);

// The two timers of the main form.
enum class TimerId : UINT_PTR { Serch = 1, Back = 2 };
void SetTimerEnabled(TimerId id, bool on);
bool IsTimerEnabled(TimerId id);

// Is this window one of our six forms?
bool IsOwnForm(HWND hwnd);

}  // namespace plumbo
