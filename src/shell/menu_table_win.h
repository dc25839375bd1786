#pragma once
// Every menu of the program in one table: the viewer's menu bar (file and zoom), the tray
// icon's control menu and the rulers' menu. Each item's id is the command it runs.
#include <vector>

#include "platform/menu_win.h"

namespace plumbo {

std::vector<MenuItemDef> MenuTable();

}  // namespace plumbo
