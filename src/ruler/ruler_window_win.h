#pragma once
// One ruler: a thin top-level strip, 500 twips thick, whose client area carries the scale's
// ticks and numbers (windowless elements it paints itself) on a body of the ruler colour, or
// on a colour key through which the screen behind it shows.
#include <windows.h>

#include <optional>

#include "platform/dpi_win.h"
#include "platform/gdi_win.h"
#include "platform/window_win.h"
#include "ruler/scale_layout.h"
#include "state/program_win.h"

namespace plumbo {

class RulerWindow;

// What a ruler tells the pair it belongs to: what the user did with it, and what the system did
// to its window.
class RulerEvents {
public:
    // The user dragged the ruler and let go of it.
    virtual void Dragged(RulerWindow& ruler) = 0;
    // It came to stand on a monitor of another DPI other than by the user's drag (at once, inside
    // the move that brought it there), and took that monitor's thickness.
    virtual void DpiChanged(RulerWindow& ruler) = 0;
    // The displays changed (WM_DISPLAYCHANGE).
    virtual void DisplaysChanged(RulerWindow& ruler) = 0;

protected:
    ~RulerEvents() = default;
};

class RulerWindow final : public Window {
public:
    RulerWindow(Program& program, bool horizontal, RulerEvents& events)
        : program_(program), horizontal_(horizontal), events_(events) {}

    // Hidden, at the screen's origin. owner: the window it always stands above, or nullptr.
    bool Create(HWND owner);
    bool Horizontal() const { return horizontal_; }
    RulerModel& Model() { return model_; }

    // The thickness in whole pixels that 500 twips come to on the monitor it stands on.
    int ThicknessPx() const;
    // That monitor's, with which its size, thickness and scale go between twips and pixels.
    TwipsPerPixel LayoutTwipsPerPixel() const override { return twipsPerPixel_; }

    void SetColors(COLORREF body, COLORREF ticks, COLORREF numbers);
    // With a key the ruler becomes a layered window whose body is painted in the key, so the
    // screen behind shows through it; without one it is a plain window of the body colour.
    void SetColorKey(std::optional<COLORREF> key);
    // Which side the vertical ruler's ticks stand on follows the placement it was last laid
    // out by, so a changed setting never shows until the rulers are moved to match it.
    void SetPlacedInside(bool inside);

    // Lays out the scale in the program's unit now, as every paint does.
    void RunScale();
    void Redraw();

    // The cursor mark: a line across the ruler where the pointer is (at, on the screen), and its
    // position from the target's visible top-left corner in the rulers' unit. Painted again only
    // when it moved along the ruler; none with the mark switched off or the pointer beyond the
    // ruler's length.
    void MarkPointer(POINT at);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint(HDC dc, const RECT& client) override;

private:
    void OnWindowPosChanging(WINDOWPOS& pos) const;
    void TakeDpi(HMONITOR monitor, Dpi dpi);
    void OnDpiChanged(Dpi dpi, const RECT& suggested);
    bool PressedOnKey(LPARAM clientPoint) const;
    void StartDrag();
    void PopUpMenu();
    void PaintMark(HDC dc, const RECT& client);
    HFONT NumberFont();
    // The monitor it stands on, kept as it moves: every paint asks for its calibration, and
    // under Wine asking the system which monitor that is costs a tenth of a millisecond.
    HMONITOR Monitor() const;
    // How far in from its outer edge, along its length, the client area begins: the border.
    int BorderAlong() const;

    Program& program_;
    const bool horizontal_;
    RulerEvents& events_;
    RulerModel model_;
    COLORREF bodyColor_ = GetSysColor(COLOR_WINDOW);
    std::optional<COLORREF> colorKey_;
    bool placedInside_ = false;
    bool inMoveLoop_ = false;  // in the system's move loop
    Dpi dpi_;
    TwipsPerPixel twipsPerPixel_;
    // The stock font scaled to the monitor's DPI, unsmoothed for the transparent look; made when
    // the look or the DPI first needs it.
    Font numberFont_;
    bool numberFontKeyed_ = false;
    HMONITOR monitor_ = nullptr;  // the one it stood on when last moved
    std::optional<POINT> pointer_;  // on the screen, as last told
};

}  // namespace plumbo
