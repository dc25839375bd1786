#pragma once
// The measuring mode's window: a still picture of one monitor, full-screen and topmost, with the
// measurements drawn over it and a bar of the ways to measure at the top of the screen.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/measurement.h"
#include "platform/gdi_win.h"
#include "platform/window_win.h"

namespace plumbo {

// In the order of their keys, 1 to 5.
enum class MeasureWay { Box, Spacing, Horizontal, Vertical, Controls };

// What the window shows and measures on.
struct MeasureScene {
    RECT monitor{};        // screen pixels: where the picture was taken and is shown
    POINT origin{};        // screen pixels: positions count from here, the target's visible corner
    Bitmap picture;        // a top-down DIB section of 32 bits per pixel, the monitor's size
    const uint32_t* bits = nullptr;  // its pixels, 0x00RRGGBB
    MeasureScale scale;
    UINT dpi = 96;                     // the monitor's: the bar and the labels are drawn at it
    std::vector<ControlBox> controls;  // the target's, in screen pixels
};

class MeasureWindow final : public Window {
public:
    // Shows the scene over its monitor and takes the keyboard; onLeave runs from the main loop
    // once the window has gone.
    bool Open(MeasureScene scene, std::function<void()> onLeave);

    // The monitor's true millimetres, known once the window stands on it.
    void SetPixelsPerMm(double pixelsPerMm);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint(HDC dc, const RECT& client) override;

private:
    // One measurement as drawn, in client pixels, and its text.
    struct Measurement {
        std::vector<RECT> boxes;
        std::vector<std::pair<POINT, POINT>> lines;
        std::wstring label;
        POINT labelAt{};
        std::vector<std::pair<POINT, std::wstring>> notes;  // smaller texts: a gap's length beside it
        std::wstring copied;
    };
    PixelGrid Grid() const;
    std::optional<Measurement> MeasureAt(POINT client) const;
    Measurement BoxBetween(POINT a, POINT b) const;
    std::optional<Measurement> ControlAtPoint(POINT client) const;
    void Follow(POINT client);
    void FollowCursor();
    void Keep(Measurement m, bool withPrevious);
    void Copy(const std::wstring& text);
    void Leave();
    void DrawMeasurement(HDC dc, const Measurement& m) const;
    void DrawBar(HDC dc, const RECT& client) const;

    MeasureScene scene_;
    std::function<void()> onLeave_;
    int wheelTurned_ = 0;  // what the wheel turned short of a whole notch
    bool notCopied_ = false;  // the last copy failed
    Font font_;
    MeasureWay way_ = MeasureWay::Spacing;
    int tolerance_ = kDefaultEdgeTolerance;
    std::optional<POINT> dragFrom_;
    std::optional<Measurement> live_;
    std::vector<Measurement> kept_;
};

}  // namespace plumbo
