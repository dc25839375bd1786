#include "shell/main_form_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cwchar>

#include "core/texts.h"
#include "resource.h"
#include "platform/modal_win.h"
#include "shell/menu_table_win.h"

namespace plumbo {

namespace {

// Runs whatever was chosen while a modal window was open, once the last one has closed.
constexpr UINT kRunPendingMessage = WM_APP + 2;

}  // namespace

bool MainForm::Create(HICON icon) {
    WindowArgs a;
    a.className = kMainFormClass;
    a.title = Texts().viewerCaption;
    a.style = WS_OVERLAPPEDWINDOW;
    a.icon = icon;
    a.width = 400;
    a.height = 300;
    if (!Window::Create(a)) return false;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    exitRequest_ = RegisterWindowMessageW(kExitRequestMessage);
    menus_ = BuildMenuTree(MenuTable());
    ModalScope::SetOnAllEnded([h = hwnd()] { PostMessageW(h, kRunPendingMessage, 0, 0); });

    trayIcon_.cbSize = sizeof trayIcon_;
    trayIcon_.hWnd = hwnd();
    trayIcon_.uID = 1;
    // Version 4 shows the tip only when asked to.
    trayIcon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    trayIcon_.uCallbackMessage = kTrayCallbackMessage;
    // Drawn at the small icon's size for the tray's resolution from the icon file's own images,
    // not the large icon shrunk by the tray.
    if (FAILED(LoadIconMetric(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLUMBO), LIM_SMALL, &smallIcon_)))
        smallIcon_ = nullptr;
    trayIcon_.hIcon = smallIcon_ ? smallIcon_ : icon;
    wcsncpy(trayIcon_.szTip, Texts().trayTip, sizeof trayIcon_.szTip / sizeof(wchar_t) - 1);
    return true;
}

MainForm::~MainForm() {
    if (smallIcon_) DestroyIcon(smallIcon_);
}

void MainForm::AddTrayIcon() {
    Shell_NotifyIconW(NIM_ADD, &trayIcon_);
    // Version 4: the icon is reached by the keyboard too (Enter or Space selects it, Shift+F10 or
    // the menu key asks for its menu), and each callback says where to open the menu.
    trayIcon_.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &trayIcon_);
}

void MainForm::RemoveTrayIcon() { Shell_NotifyIconW(NIM_DELETE, &trayIcon_); }

HMENU MainForm::CreateViewerMenuBar() const {
    const UiTexts& t = Texts();
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menus_.Find(static_cast<UINT>(CommandId::FileMenu))),
                t.fileMenu);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menus_.Find(static_cast<UINT>(CommandId::ZoomMenu))),
                t.zoomMenu);
    return bar;
}

void MainForm::Check(CommandId id, bool checked) {
    for (auto& [menuId, menu] : menus_.topLevel)
        if (CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) !=
            static_cast<DWORD>(-1))
            return;
}

bool MainForm::IsChecked(CommandId id) const {
    for (auto& [menuId, menu] : menus_.topLevel) {
        UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) return (state & MF_CHECKED) != 0;
    }
    return false;
}

void MainForm::Enable(CommandId id, bool enabled) {
    for (auto& [menuId, menu] : menus_.topLevel)
        if (EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) != -1)
            return;
}

void MainForm::PopUp(CommandId menu, HWND owner, POINT pt) {
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
    // The target stays put while a menu is open: the rulers would otherwise be moved and
    // restacked under the open menu, which closes it under Wine.
    program_.rulers->SuspendTracking();
    UINT chosen = 0;
    {
        MenuScope menuOpen;
        chosen = PopupMenuAt(menus_.Find(static_cast<UINT>(menu)), owner, pt, align);
    }
    program_.rulers->ResumeTracking();
    if (chosen) Post(static_cast<CommandId>(chosen));
}

void MainForm::Post(CommandId id) { PostMessageW(hwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool MainForm::Run(CommandId id) {
    auto it = commands_.find(id);
    if (it == commands_.end() || !it->second) return false;
    it->second();
    return true;
}

void MainForm::RunPending() {
    // One at a time: a command that opens a modal window leaves the rest for when it closes.
    while (!pending_.empty() && !ModalScope::Active()) {
        CommandId id = pending_.front();
        pending_.pop_front();
        Run(id);
    }
}

void MainForm::OnTrayNotify(UINT event, POINT anchor) {
    // A double-click, or Enter or Space on the focused icon, shows the rulers; a right-click,
    // Shift+F10 or the menu key opens the menu where the tray says.
    const bool show = event == WM_LBUTTONDBLCLK || event == NIN_KEYSELECT;
    if (!show && event != WM_CONTEXTMENU) return;
    // The icon answers while a dialog of ours is open by showing that dialog.
    if (ModalScope::Active()) {
        ModalScope::BringForward();
        return;
    }
    if (show) {
        Run(CommandId::ShowRulers);
        return;
    }
    PopUp(CommandId::ControlMenu, hwnd(), anchor);
}

void MainForm::OnHotKey(CommandId id) {
    // A dialog of ours is open: a command now would open its dialog inside that one's loop, and
    // one kept for later would surprise when the dialog closes. The key shows the open dialog,
    // as a click on the tray icon does.
    if (ModalScope::Active()) {
        ModalScope::BringForward();
        return;
    }
    // An open menu has the keyboard; the key is for it, not for a command run inside its loop.
    if (MenuScope::Open()) return;
    if (id == CommandId::ShowRulers) {
        Post(program_.rulers->Shown() ? CommandId::HideRulers : CommandId::ShowRulers);
        return;
    }
    if (!program_.rulers->TargetForeground()) {
        MessageBeep(MB_OK);
        return;
    }
    Post(id);
}

LRESULT MainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTrayCallbackMessage) {
        // Version 4: the event in the low word, the anchor on the screen in wParam.
        OnTrayNotify(LOWORD(lp), POINT{GET_X_LPARAM(wp), GET_Y_LPARAM(wp)});
        return 0;
    }
    if (taskbarCreated_ && msg == taskbarCreated_) {
        AddTrayIcon();
        return 0;
    }
    if (exitRequest_ && msg == exitRequest_) {
        Run(CommandId::Exit);  // an open dialog or menu ends with the main loop
        return 0;
    }
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) != 0) return 0;
        // A command chosen (or still queued) when a modal window opened waits for it.
        pending_.push_back(static_cast<CommandId>(LOWORD(wp)));
        RunPending();
        return 0;
    case WM_HOTKEY:
        OnHotKey(static_cast<CommandId>(wp));
        return 0;
    case kRunPendingMessage:
        RunPending();
        return 0;
    case WM_CLOSE:
        return 0;  // only "終了" ends the program
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp) Run(CommandId::Exit);
        return 0;
    case WM_DISPLAYCHANGE:
        // A resolution changed, or a monitor came or went: each monitor's size is asked again.
        program_.calibrations.DisplaysChanged();
        return 0;
    default:
        return Window::HandleMessage(msg, wp, lp);
    }
}

}  // namespace plumbo
