#pragma once
// A ruler: a thin top-level strip, 500 twips thick, whose client area is the picture box
// `pBase` carrying the scale's tick lines and numbers (windowless elements it paints itself)
// over the ruler colour or over a copy of the screen behind it.
#include <windows.h>

#include "platform/gdi_win.h"
#include "platform/window_win.h"
#include "ruler/scale_layout.h"

namespace plumbo {

class RulerWindow : public Window {
public:
    explicit RulerWindow(bool horizontal) : horizontal_(horizontal) {}

    bool Create(HWND owner);
    bool Horizontal() const { return horizontal_; }

    RulerModel& Model() { return model_; }

    // The ruler colour (`pBase`'s background). Setting it clears a copied background.
    void SetBaseColor(COLORREF color);
    // The transparent look's copy of the screen, or none for the plain colour.
    void SetBackgroundImage(Bitmap image);
    bool HasBackgroundImage() const { return static_cast<bool>(background_); }

    // The thickness in whole pixels that 500 twips come to on this screen.
    int ThicknessPx() const;

    // Rebuilds the scale of the current unit, as every paint does.
    void RunScale();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FitModelToWindow();
    void Form_Resize();
    void Paint(HDC dc);
    void OnButtonDown(int button);
    void pBase_MouseUp();

    bool horizontal_;
    RulerModel model_;
    COLORREF baseColor_ = GetSysColor(COLOR_WINDOW);
    Bitmap background_;
    bool resizing_ = false;
};

// The ruler's number font and how much room a caption takes in it, in twips.
std::pair<float, float> MeasureRulerLabel(std::wstring_view caption);

}  // namespace plumbo
