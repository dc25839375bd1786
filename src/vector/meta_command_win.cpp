#include "vector/meta_command_win.h"

#include <windows.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/menu_form_win.h"
#include "app/menu_table.h"
#include "capture/target_win.h"
#include "capture/viewer_win.h"
#include "platform/window_win.h"
#include "vector/player_win.h"

namespace plumbo {

namespace {

bool FitsInt32(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

void DrawWindowAsMeta() {
    MenuForm* viewer = TheApp().fMenu;
    if (!viewer) return;
    viewer->SetNormalState();
    HWND target = gTargetWnd.hWnd;
    if (!target) return;

    RECT rc{};
    if (!GetWindowRect(target, &rc)) return;  // gone since the rulers last saw it
    const int64_t width = int64_t{rc.right} - rc.left;
    const int64_t height = int64_t{rc.bottom} - rc.top;
    if (!FitsInt32(width) || !FitsInt32(height)) return;
    viewer->SetNormalState();

    // The client area shows the picture at 100 %: as large as the target's outer box.
    RECT outer = viewer->WindowRect();
    PlaceWindowByClient(*viewer, outer.left, outer.top, static_cast<int>(width), static_cast<int>(height));

    HDC reference = GetDC(viewer->hwnd());
    std::optional<RedrawResult> result = RedrawWindowAsMeta(target, reference, Tpp());
    ReleaseDC(viewer->hwnd(), reference);
    if (!result || result->picture.Empty()) return;
    viewer->gWidthWnd = result->widthWnd;
    viewer->gHeightWnd = result->heightWnd;
    viewer->SetPicture(std::move(result->picture));
}

void mMenuMeta_Click() {
    MenuForm* viewer = TheApp().fMenu;
    if (!viewer) return;
    ShowRulers(false);
    DrawWindowAsMeta();
    // Even when nothing was drawn, the viewer opens in metafile mode on what it held.
    SetViewerMenuStates(true);
    viewer->gMetaFlg = true;
    ShowWindow(viewer->hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(viewer->hwnd());
    InvalidateRect(viewer->hwnd(), nullptr, TRUE);
    ShowRulers(true);
}

void RegisterMetaCommand() { RegisterCommand(mMenuMeta, mMenuMeta_Click); }

}  // namespace plumbo
