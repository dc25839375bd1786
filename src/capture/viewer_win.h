#pragma once
// The picture viewer: its own top-level window with the menu bar the shell built. A bitmap
// shows at its own size from the top-left corner; a metafile is stretched over the whole
// client area, so zooming is resizing the viewer.
#include <windows.h>

#include "platform/picture_win.h"
#include "platform/window_win.h"
#include "state/program_win.h"

namespace plumbo {

class Viewer final : public Window, public ViewerService {
public:
    explicit Viewer(CommandService& commands);

    // Hidden and unowned, so it has a taskbar button of its own when shown. The menu bar's
    // items carry CommandId values; choosing one posts it to the command queue.
    bool Create(HMENU menuBar, HICON icon);

    ViewerMode Mode() const { return mode_; }
    SIZE NaturalSize() const { return naturalSize_; }  // the picture's 100 % size in pixels
    const Picture& Shown() const { return picture_; }
    const RedrawnParts* Parts() const { return parts_.get(); }  // none for a captured bitmap

    // "１５０％", "１００％", "５０％": the client area becomes the natural size times factor,
    // the outer top-left corner stays. Metafile mode only.
    void Zoom(double factor);
    // "比率入力": asks for a percentage until a usable one or Cancel, which keeps the zoom.
    void ZoomTyped();

    // ViewerService
    HWND Window() const override { return hwnd(); }
    void PlaceClient(int left, int top, int width, int height) override;
    void Show(Picture picture, ViewerMode mode, SIZE naturalSize, std::unique_ptr<const RedrawnParts> parts) override;
    void Hide() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint(HDC dc, const RECT& client) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void EnableMenusForMode();

    CommandService& commands_;
    Picture picture_;
    std::unique_ptr<const RedrawnParts> parts_;
    ViewerMode mode_ = ViewerMode::Bitmap;
    SIZE naturalSize_{};
};

}  // namespace plumbo
