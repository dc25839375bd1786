#pragma once
// The hidden main form: the window behind the tray icon, the menus and the global hotkeys. It
// hands what they ask for to the command queue, which runs one command at a time from the main
// loop.
#include <windows.h>

#include "platform/window_win.h"
#include "shell/command_queue.h"
#include "shell/menus_win.h"
#include "shell/tray_icon_win.h"
#include "state/program_win.h"

namespace plumbo {

// Another process asks the running copy to end as "終了" ends it (plumbo.exe /exit): WM_CLOSE
// is ignored, so that nothing but the user ends the program by accident.
inline constexpr wchar_t kMainFormClass[] = L"PlumboMenuForm";
inline constexpr wchar_t kExitRequestMessage[] = L"Plumbo.ExitRequest";

class MainForm final : public Window, public CommandService {
public:
    explicit MainForm(Program& program);

    // Hidden, class "PlumboMenuForm", with every menu built.
    bool Create(HICON icon);
    void SetCommands(CommandQueue::Commands commands) { queue_.SetCommands(std::move(commands)); }

    void AddTrayIcon();
    void RemoveTrayIcon() { trayIcon_.Remove(); }
    HMENU CreateViewerMenuBar() const { return menus_.CreateViewerMenuBar(); }

    // CommandService.
    void Check(CommandId id, bool checked) override { menus_.Check(id, checked); }
    bool IsChecked(CommandId id) const override { return menus_.IsChecked(id); }
    void Enable(CommandId id, bool enabled) override { menus_.Enable(id, enabled); }
    void PopUp(CommandId menu, HWND owner, POINT screenPoint) override;
    void Post(CommandId id) override;

    // Runs a command now, as if chosen; false when no command has that id.
    bool Run(CommandId id) { return queue_.Run(id); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnTimer(UINT_PTR id) override;

private:
    void OnTrayEvent(const TrayEvent& event);
    void OnHotKey(CommandId id);

    Program& program_;
    TrayIcon trayIcon_;
    Menus menus_;
    CommandQueue queue_;
    UINT exitRequest_ = 0;
};

}  // namespace plumbo
