#include "shell/tray_icon_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cwchar>

#include "core/texts.h"
#include "resource.h"

namespace plumbo {

TrayEvent ReadTrayCallback(WPARAM wp, LPARAM lp) {
    // Version 4: the event in the low word, the anchor on the screen in wParam.
    const UINT event = LOWORD(lp);
    const POINT anchor{GET_X_LPARAM(wp), GET_Y_LPARAM(wp)};
    // A double-click, or Enter or Space on the focused icon, shows the rulers; a right-click,
    // Shift+F10 or the menu key asks for the menu.
    if (event == WM_LBUTTONDBLCLK || event == NIN_KEYSELECT) return {TrayRequest::ShowRulers, anchor};
    if (event == WM_CONTEXTMENU) return {TrayRequest::OpenMenu, anchor};
    return {TrayRequest::None, anchor};
}

TrayIcon::~TrayIcon() {
    if (small_) DestroyIcon(small_);
}

void TrayIcon::Prepare(HWND owner, HICON large) {
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 1;
    // Version 4 shows the tip only when asked to.
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    // Drawn at the small icon's size for the tray's resolution from the icon file's own images,
    // not the large icon shrunk by the tray.
    if (!small_ && FAILED(LoadIconMetric(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLUMBO), LIM_SMALL, &small_)))
        small_ = nullptr;
    data_.hIcon = small_ ? small_ : large;
    wcsncpy(data_.szTip, Texts().trayTip, sizeof data_.szTip / sizeof(wchar_t) - 1);
}

bool TrayIcon::Add() {
    // At logon the taskbar may not be there yet, or answer too late, having added the icon all
    // the same: an icon it already has takes a modification.
    if (!Shell_NotifyIconW(NIM_ADD, &data_) && !Shell_NotifyIconW(NIM_MODIFY, &data_)) return false;
    data_.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &data_);
    return true;
}

void TrayIcon::Remove() { Shell_NotifyIconW(NIM_DELETE, &data_); }

}  // namespace plumbo
