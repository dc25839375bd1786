#include "capture/viewer_win.h"

#include <optional>
#include <string>
#include <utility>

#include "capture/zoom.h"
#include "core/texts.h"
#include "platform/gdi_win.h"
#include "platform/input_box_win.h"
#include "platform/modal_win.h"

namespace plumbo {

namespace {

// The largest outer size the viewer may take for a zoom: the system's limit for a window.
constexpr LONG kMaxViewerSize = 32767;

}  // namespace

Viewer::Viewer(CommandService& commands) : commands_(commands) {}

bool Viewer::Create(HMENU menuBar, HICON icon) {
    WindowArgs a;
    a.className = L"PlumboViewer";
    a.title = Texts().viewerCaption;
    a.style = WS_OVERLAPPEDWINDOW;
    a.menu = menuBar;
    a.icon = icon;
    // A metafile fills the client area, so every resize repaints all of it.
    a.classStyle = CS_HREDRAW | CS_VREDRAW;
    a.bufferedPaint = true;
    a.width = 400;
    a.height = 300;
    return plumbo::Window::Create(a);
}

void Viewer::PlaceClient(int left, int top, int width, int height) {
    if (!hwnd()) return;
    // A minimised or maximised window has no normal frame to measure.
    SetNormalState();
    RECT outer = WindowRect(), client = ClientRect();
    MovePx(left, top, (outer.right - outer.left) - client.right + width,
           (outer.bottom - outer.top) - client.bottom + height);
    // At the new width the menu bar may take another line, or one fewer; measure once more.
    client = ClientRect();
    if (client.right != width || client.bottom != height) {
        outer = WindowRect();
        MovePx(left, top, (outer.right - outer.left) + width - client.right,
               (outer.bottom - outer.top) + height - client.bottom);
    }
}

void Viewer::Show(Picture picture, ViewerMode mode, SIZE naturalSize, std::unique_ptr<const RedrawnParts> parts) {
    if (!hwnd()) return;
    // A command that gave nothing leaves the viewer on what it holds, in that picture's mode and
    // at its size: a bitmap is not offered as a metafile, and 100 % is not nothing.
    if (!picture.Empty() || picture_.Empty()) {
        mode_ = mode;
        naturalSize_ = naturalSize;
    }
    if (!picture.Empty()) {
        picture_ = std::move(picture);
        parts_ = std::move(parts);
    }
    EnableMenusForMode();
    InvalidateRect(hwnd(), nullptr, FALSE);
    // An open dialog or menu of ours keeps the activation: the user is answering it.
    if (ModalScope::Active() || MenuScope::Open()) {
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        return;
    }
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
}

void Viewer::Hide() {
    if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

void Viewer::EnableMenusForMode() {
    // A bitmap can only be saved as a bitmap or a PNG, and it always shows at its own size; an
    // SVG file is written from the parts of a re-drawn picture. Copying works in both modes, so
    // its item is left as it is.
    const bool metafile = mode_ == ViewerMode::Metafile;
    commands_.Enable(CommandId::SaveBitmap, true);
    commands_.Enable(CommandId::SavePng, true);
    commands_.Enable(CommandId::SaveSvg, metafile && parts_);
    for (CommandId id : {CommandId::SaveEnhancedMetafile, CommandId::SaveWindowsMetafile, CommandId::Zoom150,
                         CommandId::Zoom100, CommandId::Zoom50, CommandId::ZoomTyped})
        commands_.Enable(id, metafile);
    DrawMenuBar(hwnd());
}

void Viewer::Zoom(double factor) {
    if (mode_ != ViewerMode::Metafile || !hwnd()) return;
    SetNormalState();
    const RECT outer = WindowRect();
    const ZoomedClient size = ZoomedClientSize(naturalSize_.cx, naturalSize_.cy, factor);
    PlaceClient(outer.left, outer.top, size.width, size.height);
}

void Viewer::ZoomTyped() {
    if (mode_ != ViewerMode::Metafile || !hwnd()) return;
    const UiTexts& t = Texts();
    auto ask = [&] { return InputBox(hwnd(), t.zoomPrompt, t.zoomTitle, L"100", {t.inputBoxOk, t.inputBoxCancel}); };
    auto refuse = [&](const std::wstring& text) {
        ModalMessageBox(hwnd(), text.c_str(), t.messageTitle, MB_OK | MB_ICONEXCLAMATION);
    };
    std::optional<double> percent =
        AskZoomPercent(ask, refuse, naturalSize_.cx, naturalSize_.cy, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (percent) Zoom(*percent / 100.0);
}

void Viewer::OnPaint(HDC dc, const RECT& client) {
    if (HENHMETAFILE emf = picture_.EnhMetafile()) {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        PlayEnhMetaFile(dc, emf, &client);
        return;
    }
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HBITMAP bitmap = picture_.Bitmap();
    if (!bitmap) return;
    BITMAP bm{};
    if (!GetObjectW(bitmap, sizeof bm, &bm)) return;
    MemoryDc source(dc);
    SelectGuard selected(source.Get(), bitmap);
    // A capture from a 256-colour screen carries the palette it was taken with.
    PaletteGuard palette(dc, picture_.Palette());
    BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, source.Get(), 0, 0, SRCCOPY);
}

bool Viewer::OnCommand(WORD id, WORD code, HWND control) {
    // Menu commands run from the main loop, like every other command, never inside this message.
    if (control || code != 0) return false;
    commands_.Post(static_cast<CommandId>(id));
    return true;
}

LRESULT Viewer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETMINMAXINFO) {
        // A zoom may take the picture past the screen (up to a few times the virtual screen):
        // the system would cut the window down to the screen's size, and the picture, stretched
        // over what is left, lose its proportions.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
        limits->ptMaxTrackSize = {kMaxViewerSize, kMaxViewerSize};
        return 0;
    }
    if (msg == WM_CLOSE) {
        // The close box only hides the viewer; the program goes on in the tray.
        Hide();
        return 0;
    }
    return plumbo::Window::HandleMessage(msg, wp, lp);
}

}  // namespace plumbo
