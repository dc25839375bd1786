#include "platform/menu_win.h"

#include <cwchar>

#include "platform/private_messages_win.h"

namespace plumbo {

HMENU MenuTree::Find(UINT id) const {
    for (auto& [tid, h] : topLevel)
        if (tid == id) return h;
    return nullptr;
}

MenuTree BuildMenuTree(std::span<const MenuItemDef> items) {
    MenuTree tree;
    HMENU stack[4] = {};
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItemDef& it = items[i];
        bool hasChildren = i + 1 < items.size() && items[i + 1].level > it.level;
        if (it.level == 1) {
            stack[1] = CreatePopupMenu();
            tree.topLevel.emplace_back(it.id, stack[1]);
            continue;
        }
        HMENU parent = stack[it.level - 1];
        if (std::wcscmp(it.caption, L"-") == 0) {
            AppendMenuW(parent, MF_SEPARATOR, it.id, nullptr);
        } else if (hasChildren) {
            stack[it.level] = CreatePopupMenu();
            MENUITEMINFOW mi{};
            mi.cbSize = sizeof mi;
            mi.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
            mi.wID = it.id;
            mi.hSubMenu = stack[it.level];
            mi.dwTypeData = const_cast<wchar_t*>(it.caption);
            InsertMenuItemW(parent, GetMenuItemCount(parent), TRUE, &mi);
        } else {
            AppendMenuW(parent, MF_STRING | (it.checked ? MF_CHECKED : 0), it.id, it.caption);
        }
    }
    return tree;
}

UINT PopupMenuAt(HMENU menu, HWND owner, POINT pt, UINT alignFlags) {
    // A menu owned by a window that is not in the foreground never closes when the user
    // clicks elsewhere. A hidden window can be made the foreground window, but under Wine it
    // cannot take the X server's keyboard focus, so keys from a real keyboard would go to the
    // window that held it last and the menu would never hear them. A hidden owner therefore
    // lends the menu a shown window of no size at the menu's point while the menu is open.
    HWND stand = nullptr;
    if (!IsWindowVisible(owner)) {
        stand = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, pt.x, pt.y, 0, 0, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        // Shown without activation: activating it here would ask for the X focus before the
        // stamp below is fresh, and SetForegroundWindow on a window already in front asks again
        // for nothing.
        if (stand) ShowWindow(stand, SW_SHOWNOACTIVATE);
    }
    if (stand) {
        // Wine stamps its request for the X keyboard focus with the time of the last message
        // this thread took from its queue. The tray icon's click arrives as a sent message,
        // which leaves that time alone, so it can be older than the moment another program
        // took the focus (or zero, before any message had a time), and the X server then
        // drops the request without a word. One message of our own, posted and taken back at
        // once, makes that time now. Only this message of this window is taken, so no posted
        // message or input of ours is handled here (messages other threads send us may be
        // answered, as in any SendMessage).
        PostMessageW(stand, kMenuStampMessage, 0, 0);
        MSG stamp;
        PeekMessageW(&stamp, stand, kMenuStampMessage, kMenuStampMessage, PM_REMOVE);
    }
    HWND tracker = stand ? stand : owner;
    SetForegroundWindow(tracker);
    UINT cmd = static_cast<UINT>(
        TrackPopupMenuEx(menu, alignFlags | TPM_LEFTBUTTON | TPM_RETURNCMD, pt.x, pt.y, tracker, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (stand) DestroyWindow(stand);
    return cmd;
}

}  // namespace plumbo
