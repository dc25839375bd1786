#pragma once
// The hidden main form: it owns the tray icon, every menu and both timers, and doubles as
// the picture viewer, the only time it is shown.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "app/app_win.h"
#include "capture/picture_win.h"
#include "platform/window_win.h"

namespace plumbo {

// The tray's callback: a private number, so a real middle-button press on the viewer is
// never taken for a click on the icon.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

class MenuForm : public Window {
public:
    bool Create(HICON icon);

    void AddTrayIcon();
    void RemoveTrayIcon();

    void SetTimerEnabled(TimerId id, bool on);
    bool IsTimerEnabled(TimerId id) const;

    // The viewer's picture. Replacing it releases the previous handles.
    void SetPicture(Picture picture);
    const Picture& GetPicture() const { return picture_; }

    bool gMetaFlg = false;
    int32_t gWidthWnd = 0;
    int32_t gHeightWnd = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnTrayNotify(UINT event);
    void Paint(HDC dc);

    NOTIFYICONDATAW gTrayIcon{};
    bool timerOn_[3] = {};
    Picture picture_;
    UINT taskbarCreated_ = 0;
};

}  // namespace plumbo
