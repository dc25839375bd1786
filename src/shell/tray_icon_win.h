#pragma once
// The icon in the notification area, in version 4: reached by the keyboard too, and each
// callback says where a menu is to open.
#include <windows.h>
#include <shellapi.h>

#include "platform/private_messages_win.h"

namespace plumbo {

// What the user did to the icon, from a version 4 callback.
enum class TrayRequest { None, ShowRulers, OpenMenu };

struct TrayEvent {
    TrayRequest request;
    POINT anchor;  // screen point where the tray wants a menu opened
};

TrayEvent ReadTrayCallback(WPARAM wp, LPARAM lp);

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Prepares the icon for owner; large: the program's icon, used when the small one is missing.
    void Prepare(HWND owner, HICON large);
    // False when the taskbar did not take the icon: it is asked again later.
    bool Add();
    void Remove();
    // Whether msg is the shell's word that the taskbar was made again (after Explorer restarted):
    // the icon must then be added again.
    bool IsTaskbarCreated(UINT msg) const { return taskbarCreated_ && msg == taskbarCreated_; }
    UINT TaskbarCreatedMessage() const { return taskbarCreated_; }

private:
    NOTIFYICONDATAW data_{};
    HICON small_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace plumbo
