#pragma once
// Menus built from one table of items: level, command id, caption, initial check mark.
#include <windows.h>

#include <span>
#include <vector>

namespace plumbo {

struct MenuItemDef {
    int level;             // 1 = top-level menu, 2 = its item, 3 = an item of a submenu
    UINT id;               // command id; also identifies submenus and top-level menus
    const wchar_t* caption;  // L"-" for a separator
    bool checked;
};

// The top-level menus of the table, each a popup menu holding its tree.
struct MenuTree {
    std::vector<std::pair<UINT, HMENU>> topLevel;
    HMENU Find(UINT id) const;
};

MenuTree BuildMenuTree(std::span<const MenuItemDef> items);

// Pops a menu up at a screen point for a window and returns the chosen command (0: none).
// flags: the TPM_ alignment, left-aligned at the point by default.
UINT PopupMenuAt(HMENU menu, HWND owner, POINT screenPt, UINT alignFlags = TPM_LEFTALIGN);

}  // namespace plumbo
