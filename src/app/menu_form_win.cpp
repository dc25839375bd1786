#include "app/menu_form_win.h"

#include <cwchar>

#include "app/controller_win.h"
#include "app/menu_table.h"
#include "app/texts.h"
#include "capture/target_win.h"
#include "platform/gdi_win.h"
#include "ruler/transparent_win.h"

namespace plumbo {

namespace {
constexpr UINT kTimerIntervals[3] = {0, 300, 50};  // Serch, Back
}

bool MenuForm::Create(HICON icon) {
    WindowArgs a;
    a.className = L"PlumboMenuForm";
    a.title = Texts().viewerCaption;
    a.style = WS_OVERLAPPEDWINDOW;
    a.icon = icon;
    a.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    a.classStyle = CS_HREDRAW | CS_VREDRAW;
    a.width = 400;
    a.height = 300;
    if (!Window::Create(a)) return false;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

    // The viewer's menu bar holds mFile and mMetaShow; mCtrl and mMenu are only popped up.
    TheApp().menus = BuildMenuTree(MenuTable());
    HMENU bar = CreateMenu();
    const UiTexts& t = Texts();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(TheApp().menus.Find(mFile)), t.mFile);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(TheApp().menus.Find(mMetaShow)), t.mMetaShow);
    SetMenu(hwnd(), bar);

    gTrayIcon.cbSize = sizeof gTrayIcon;
    gTrayIcon.hWnd = hwnd();
    gTrayIcon.uID = 1;
    gTrayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    gTrayIcon.uCallbackMessage = kTrayCallbackMessage;
    gTrayIcon.hIcon = icon;
    wcsncpy(gTrayIcon.szTip, t.trayTip, sizeof gTrayIcon.szTip / sizeof(wchar_t) - 1);
    return true;
}

void MenuForm::AddTrayIcon() { Shell_NotifyIconW(NIM_ADD, &gTrayIcon); }
void MenuForm::RemoveTrayIcon() { Shell_NotifyIconW(NIM_DELETE, &gTrayIcon); }

void MenuForm::SetTimerEnabled(TimerId id, bool on) {
    auto i = static_cast<UINT_PTR>(id);
    if (on == timerOn_[i]) return;
    timerOn_[i] = on;
    if (on)
        SetTimer(hwnd(), i, kTimerIntervals[i], nullptr);
    else
        KillTimer(hwnd(), i);
}

bool MenuForm::IsTimerEnabled(TimerId id) const { return timerOn_[static_cast<UINT_PTR>(id)]; }

void MenuForm::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void MenuForm::Paint(HDC dc) {
    RECT client = ClientRect();
    if (HBITMAP bmp = picture_.Bitmap()) {
        // A bitmap at its own size from the top-left corner.
        BITMAP bm{};
        GetObjectW(bmp, sizeof bm, &bm);
        MemoryDc mem(dc);
        SelectGuard sel(mem.Get(), bmp);
        HPALETTE oldPal = nullptr;
        if (picture_.Palette()) {
            oldPal = SelectPalette(dc, picture_.Palette(), FALSE);
            RealizePalette(dc);
        }
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCCOPY);
        if (oldPal) SelectPalette(dc, oldPal, FALSE);
    } else if (HENHMETAFILE emf = picture_.EnhMetafile()) {
        // A metafile stretched over the whole client area: zoom is a resize of the viewer.
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        PlayEnhMetaFile(dc, emf, &client);
    }
}

void MenuForm::OnTrayNotify(UINT event) {
    // While a dialog of ours has the main form disabled, the icon does not react.
    if (!IsWindowEnabled(hwnd())) return;
    switch (event) {
    case WM_LBUTTONDBLCLK:
        mCtrlActivate_Click();
        break;
    case WM_RBUTTONDOWN: {
        SetTimerEnabled(TimerId::Serch, false);
        POINT pt;
        GetCursorPos(&pt);
        // Clicked on a taskbar along the bottom: the menu stands on the taskbar, not under it.
        UINT align = TPM_LEFTALIGN;
        RECT bar{};
        HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        if (taskbar && GetWindowRect(taskbar, &bar) && PtInRect(&bar, pt) && bar.top > 0 &&
            bar.right - bar.left > bar.bottom - bar.top) {
            pt.y = bar.top;
            align |= TPM_BOTTOMALIGN;
        }
        UINT cmd = PopupMenuAt(TheApp().menus.Find(mCtrl), hwnd(), pt, align);
        // Run from the main loop once this notification is done (see the ruler menu).
        if (cmd) PostMessageW(hwnd(), WM_COMMAND, cmd, 0);
        // Visible rulers go on following the foreground window once the menu has closed.
        if (cmd != mCtrlExit && IsMenuChecked(mCtrlActivate) && IsWindowEnabled(hwnd()))
            SetTimerEnabled(TimerId::Serch, true);
        break;
    }
    default:
        break;
    }
}

LRESULT MenuForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTrayCallbackMessage) {
        OnTrayNotify(LOWORD(lp));
        return 0;
    }
    if (taskbarCreated_ && msg == taskbarCreated_) {
        AddTrayIcon();
        return 0;
    }
    switch (msg) {
    case WM_COMMAND:
        // While a dialog of ours has the main form disabled, a command chosen just before it
        // opened (and still queued) must not run inside it.
        if (HIWORD(wp) == 0 && IsWindowEnabled(hwnd())) RunCommand(LOWORD(wp));
        return 0;
    case WM_TIMER:
        if (wp == static_cast<WPARAM>(TimerId::Serch) && timerOn_[wp]) tSerch_Timer();
        else if (wp == static_cast<WPARAM>(TimerId::Back) && timerOn_[wp]) tBack_Timer();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        Paint(dc);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_CLOSE:
        // The viewer's close box only hides it; only "終了" ends the program.
        SetVisible(false);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp) EndProgram();
        return 0;
    default:
        return DefaultProc(msg, wp, lp);
    }
}

}  // namespace plumbo
