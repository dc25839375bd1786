#include "shell/main_form_win.h"

#include "core/texts.h"
#include "platform/modal_win.h"
#include "platform/private_messages_win.h"
#include "shell/hotkey_policy.h"

namespace plumbo {

namespace {

constexpr UINT kTrayRetryMs = 1000;

}  // namespace

MainForm::MainForm(Program& program) : program_(program), queue_([] { return ModalScope::Active(); }) {}

bool MainForm::Create(HICON icon) {
    WindowArgs a;
    a.className = kMainFormClass;
    a.title = Texts().viewerCaption;
    a.style = WS_OVERLAPPEDWINDOW;
    a.icon = icon;
    a.width = 400;
    a.height = 300;
    if (!Window::Create(a)) return false;
    exitRequest_ = RegisterWindowMessageW(kExitRequestMessage);
    menus_.Build();
    trayIcon_.Prepare(hwnd(), icon);
    // A copy run as administrator would drop these from programs of the user's own rights: the
    // request to end from "/exit" and the installer, and the taskbar's word that it was made
    // again (after Explorer restarts), without which the icon is gone for good.
    for (UINT message : {exitRequest_, trayIcon_.TaskbarCreatedMessage()})
        ChangeWindowMessageFilterEx(hwnd(), message, MSGFLT_ALLOW, nullptr);
    ModalScope::SetOnAllEnded([h = hwnd()] { PostMessageW(h, kRunWaitingMessage, 0, 0); });
    return true;
}

void MainForm::PopUp(CommandId menu, HWND owner, POINT pt) {
    // The target stays put while a menu is open: the rulers would otherwise be moved and
    // restacked under the open menu, which closes it under Wine.
    program_.rulers->SuspendTracking();
    UINT chosen = 0;
    {
        MenuScope menuOpen;
        chosen = menus_.PopUp(menu, owner, pt);
    }
    program_.rulers->ResumeTracking();
    if (chosen) Post(static_cast<CommandId>(chosen));
}

void MainForm::AddTrayIcon() {
    // The icon is the program's only door: without it only the hotkeys reach it. A taskbar not
    // ready at logon is asked again every second until it takes the icon.
    if (trayIcon_.Add()) KillTimer(hwnd(), kTrayRetryTimer);
    else SetTimer(hwnd(), kTrayRetryTimer, kTrayRetryMs, nullptr);
}

void MainForm::OnTimer(UINT_PTR id) {
    if (id == kTrayRetryTimer) AddTrayIcon();
}

void MainForm::Post(CommandId id) { PostMessageW(hwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0); }

void MainForm::OnTrayEvent(const TrayEvent& event) {
    if (event.request == TrayRequest::None) return;
    // The icon answers while a dialog of ours is open by showing that dialog.
    if (ModalScope::Active()) {
        ModalScope::BringForward();
        return;
    }
    if (event.request == TrayRequest::ShowRulers) Run(CommandId::ShowRulers);
    else PopUp(CommandId::ControlMenu, hwnd(), event.anchor);
}

void MainForm::OnHotKey(CommandId id) {
    const HotkeyDecision decision =
        DecideHotkey(id, {ModalScope::Active(), MenuScope::Open(), program_.rulers->Shown(), program_.measuring});
    switch (decision.answer) {
    case HotkeyAnswer::ShowOpenDialog:
        ModalScope::BringForward();
        return;
    case HotkeyAnswer::LeaveAlone:
        return;
    case HotkeyAnswer::Run:
        Post(decision.command);
        return;
    case HotkeyAnswer::RunOnForeground:
        if (program_.rulers->TargetForeground()) Post(decision.command);
        else MessageBeep(MB_OK);
        return;
    }
}

LRESULT MainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTrayCallbackMessage) {
        OnTrayEvent(ReadTrayCallback(wp, lp));
        return 0;
    }
    if (trayIcon_.IsTaskbarCreated(msg)) {
        AddTrayIcon();
        return 0;
    }
    if (exitRequest_ && msg == exitRequest_) {
        Run(CommandId::Exit);  // an open dialog or menu ends with the main loop
        return 0;
    }
    switch (msg) {
    case WM_COMMAND:
        // A command chosen (or still waiting) when a modal window opened waits for it.
        if (HIWORD(wp) == 0) queue_.Push(static_cast<CommandId>(LOWORD(wp)));
        return 0;
    case WM_HOTKEY:
        OnHotKey(static_cast<CommandId>(wp));
        return 0;
    case kRunWaitingMessage:
        queue_.RunWaiting();
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
