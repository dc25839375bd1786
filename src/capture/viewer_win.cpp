#include "capture/viewer_win.h"

#include "app/app_win.h"
#include "app/commands_win.h"
#include "app/menu_form_win.h"
#include "app/menu_table.h"
#include "app/texts.h"
#include "capture/raster_capture_win.h"
#include "capture/zoom.h"
#include "platform/input_box_win.h"
#include "platform/window_win.h"

namespace plumbo {

void SetViewerMenuStates(bool metafileMode) {
    EnableMenu(mFileSaveBMP, true);
    for (UINT id : {mFileSaveEMF, mFileSaveWMF, mMetaShow150, mMetaShow100, mMetaShow50, mMetaShowInput})
        EnableMenu(id, metafileMode);
    if (TheApp().fMenu) DrawMenuBar(TheApp().fMenu->hwnd());
}

void PlaceWindowByClient(Window& window, int left, int top, int clientWidth, int clientHeight) {
    HWND h = window.hwnd();
    if (!h) return;
    int frameW = 0, frameH = 0;
    if (IsIconic(h)) {
        // A minimised window has no client area to measure; take the frame its styles give.
        RECT r{0, 0, 0, 0};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)), GetMenu(h) != nullptr,
                           static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE)));
        frameW = r.right - r.left;
        frameH = r.bottom - r.top;
    } else {
        RECT outer = window.WindowRect(), client = window.ClientRect();
        frameW = (outer.right - outer.left) - client.right;
        frameH = (outer.bottom - outer.top) - client.bottom;
    }
    window.MovePx(left, top, clientWidth + frameW, clientHeight + frameH);
    if (IsIconic(h)) return;
    // The menu bar may wrap to another line at the new width; measure once more.
    RECT client = window.ClientRect();
    if (client.right != clientWidth || client.bottom != clientHeight) {
        RECT outer = window.WindowRect();
        window.MovePx(left, top, (outer.right - outer.left) + clientWidth - client.right,
                      (outer.bottom - outer.top) + clientHeight - client.bottom);
    }
}

void ZoomViewer(Window& viewer, int32_t widthWnd, int32_t heightWnd, double f) {
    double left = viewer.Left(), top = viewer.Top();
    ZoomedOuterTwips z = ZoomedOuterSize(viewer.Width(), viewer.Height(), viewer.ScaleWidth(), viewer.ScaleHeight(),
                                         widthWnd, heightWnd, Tpp(), f);
    viewer.Move(static_cast<float>(left), static_cast<float>(top), static_cast<float>(z.width),
                static_cast<float>(z.height));
}

std::optional<double> AskZoomPercent(const std::function<std::optional<std::wstring>()>& ask,
                                     const std::function<void(const std::wstring&)>& refuse, int32_t widthWnd,
                                     int32_t heightWnd, int32_t virtualWidth, int32_t virtualHeight) {
    for (;;) {
        std::optional<std::wstring> reply = ask();
        if (!reply) return std::nullopt;  // Cancel leaves the zoom as it was
        double percent = ReadLeadingNumber(*reply);
        switch (ClassifyZoomPercent(percent, widthWnd, heightWnd, virtualWidth, virtualHeight)) {
        case ZoomPercentVerdict::Accept:
            return percent;
        case ZoomPercentVerdict::TooLarge:
            refuse(ZoomTooLargeMessage(MaxZoomPercent(widthWnd, heightWnd, virtualWidth, virtualHeight)));
            break;
        case ZoomPercentVerdict::NotPositive:
            break;
        }
    }
}

namespace {

void ZoomTheViewer(double f) {
    MenuForm* viewer = TheApp().fMenu;
    if (!viewer) return;
    ZoomViewer(*viewer, viewer->gWidthWnd, viewer->gHeightWnd, f);
}

}  // namespace

void mMetaShow150_Click() { ZoomTheViewer(1.5); }
void mMetaShow100_Click() { ZoomTheViewer(1.0); }
void mMetaShow50_Click() { ZoomTheViewer(0.5); }

void mMetaShowInput_Click() {
    MenuForm* viewer = TheApp().fMenu;
    if (!viewer) return;
    const UiTexts& t = Texts();
    HWND owner = viewer->hwnd();
    auto ask = [&]() {
        return InputBox(owner, t.zoomPrompt, t.zoomTitle, L"100", {t.inputBoxOk, t.inputBoxCancel});
    };
    auto refuse = [&](const std::wstring& text) {
        MessageBoxW(owner, text.c_str(), t.messageTitle, MB_OK | MB_ICONEXCLAMATION);
    };
    std::optional<double> percent =
        AskZoomPercent(ask, refuse, viewer->gWidthWnd, viewer->gHeightWnd, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (percent) ZoomTheViewer(*percent / 100.0);
}

void RegisterViewerCommands() {
    RegisterCommand(mMenuCopy, mMenuCopy_Click);
    RegisterCommand(mMenuActiveSize, mMenuActiveSize_Click);
    RegisterCommand(mMetaShow150, mMetaShow150_Click);
    RegisterCommand(mMetaShow100, mMetaShow100_Click);
    RegisterCommand(mMetaShow50, mMetaShow50_Click);
    RegisterCommand(mMetaShowInput, mMetaShowInput_Click);
}

}  // namespace plumbo
