#pragma once
// The hidden main form: it owns the tray icon and every menu, holds the global hotkeys, and runs
// the commands chosen from them, one at a time, from the main loop.
#include <windows.h>
#include <shellapi.h>

#include <deque>
#include <functional>
#include <map>

#include "platform/menu_win.h"
#include "platform/window_win.h"
#include "state/program_win.h"

namespace plumbo {

// The tray's callback: a private number, so no real mouse message is taken for a click on the
// icon.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// Another process asks the running copy to end as "終了" ends it (plumbo.exe /exit): WM_CLOSE
// is ignored, so that nothing but the user ends the program by accident.
inline constexpr wchar_t kMainFormClass[] = L"PlumboMenuForm";
inline constexpr wchar_t kExitRequestMessage[] = L"Plumbo.ExitRequest";

class MainForm final : public Window, public CommandService {
public:
    explicit MainForm(Program& program) : program_(program) {}
    ~MainForm() override;

    // Hidden, class "PlumboMenuForm", with every menu built.
    bool Create(HICON icon);
    void SetCommands(std::map<CommandId, std::function<void()>> commands) { commands_ = std::move(commands); }

    void AddTrayIcon();
    void RemoveTrayIcon();
    // The viewer's menu bar: the file and zoom menus.
    HMENU CreateViewerMenuBar() const;

    // CommandService.
    void Check(CommandId id, bool checked) override;
    bool IsChecked(CommandId id) const override;
    void Enable(CommandId id, bool enabled) override;
    void PopUp(CommandId menu, HWND owner, POINT screenPoint) override;
    void Post(CommandId id) override;

    // Runs a command now, as if chosen; false when no command has that id.
    bool Run(CommandId id);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnTrayNotify(UINT event, POINT anchor);
    void OnHotKey(CommandId id);
    void RunPending();

    Program& program_;
    NOTIFYICONDATAW trayIcon_{};
    HICON smallIcon_ = nullptr;
    MenuTree menus_;
    std::map<CommandId, std::function<void()>> commands_;
    std::deque<CommandId> pending_;  // chosen while a modal window was open
    UINT taskbarCreated_ = 0;
    UINT exitRequest_ = 0;
};

}  // namespace plumbo
