#include "shell/menus_win.h"

#include "core/texts.h"
#include "shell/menu_table_win.h"

namespace plumbo {

void Menus::Build() { tree_ = BuildMenuTree(MenuTable()); }

void Menus::Check(CommandId id, bool checked) {
    for (auto& [menuId, menu] : tree_.topLevel)
        if (CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) !=
            static_cast<DWORD>(-1))
            return;
}

bool Menus::IsChecked(CommandId id) const {
    for (auto& [menuId, menu] : tree_.topLevel) {
        UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) return (state & MF_CHECKED) != 0;
    }
    return false;
}

void Menus::Enable(CommandId id, bool enabled) {
    for (auto& [menuId, menu] : tree_.topLevel)
        if (EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) != -1)
            return;
}

HMENU Menus::CreateViewerMenuBar() const {
    const UiTexts& t = Texts();
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tree_.Find(static_cast<UINT>(CommandId::FileMenu))),
                t.fileMenu);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tree_.Find(static_cast<UINT>(CommandId::ZoomMenu))),
                t.zoomMenu);
    return bar;
}

UINT Menus::PopUp(CommandId menu, HWND owner, POINT pt) const {
    UINT align = TPM_LEFTALIGN;
    if (menu == CommandId::ControlMenu) {
        // Opened from a taskbar along the bottom: the menu stands on the taskbar, not under it.
        RECT bar{};
        HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        if (taskbar && GetWindowRect(taskbar, &bar) && PtInRect(&bar, pt) && bar.top > 0 &&
            bar.right - bar.left > bar.bottom - bar.top) {
            pt.y = bar.top;
            align |= TPM_BOTTOMALIGN;
        }
    }
    return PopupMenuAt(tree_.Find(static_cast<UINT>(menu)), owner, pt, align);
}

}  // namespace plumbo
