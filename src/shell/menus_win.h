#pragma once
// Every menu of the program, built from the menu table: the marks and greying of their items,
// the viewer's menu bar, and where a menu pops up.
#include <windows.h>

#include "platform/menu_win.h"
#include "state/command_ids.h"

namespace plumbo {

class Menus {
public:
    void Build();
    void Check(CommandId id, bool checked);
    bool IsChecked(CommandId id) const;
    void Enable(CommandId id, bool enabled);
    // The viewer's menu bar: the file and zoom menus.
    HMENU CreateViewerMenuBar() const;
    // Runs a menu's loop at a screen point and returns the chosen command (0: none).
    UINT PopUp(CommandId menu, HWND owner, POINT screenPoint) const;

private:
    MenuTree tree_;
};

}  // namespace plumbo
