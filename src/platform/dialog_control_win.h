#pragma once
// Our dialogs and their controls, placed in twips and written in the dialog's fonts. A dialog is
// laid out at the system DPI; when Windows tells it that it now stands at another DPI
// (WM_DPICHANGED: dragged onto another monitor, or the scaling changed), it takes the rectangle
// Windows suggests, every control is placed again from its twips and every font is made again
// for the new DPI, so the dialog looks there as it looked here.
#include <windows.h>

#include <vector>

#include "platform/dpi_win.h"
#include "platform/gdi_win.h"
#include "platform/window_win.h"

namespace plumbo {

struct ControlArgs {
    const wchar_t* className = nullptr;
    const wchar_t* text = L"";
    int id = 0;
    DWORD style = 0;  // WS_CHILD and WS_VISIBLE come with it
    DWORD exStyle = 0;
    // In the dialog's client area. The edges are rounded to pixels, not the size, so that
    // controls that meet in twips meet on the screen.
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f;
    // A label that takes the size of its text in its font at the dialog's DPI instead of
    // width and height, measured again at each DPI. Any other label grows to its text where
    // the design gave it less: no length in twips fits every language, font and DPI.
    bool sizedToText = false;
};

class DialogWindow : public Window {
public:
    // The DPI the dialog is laid out in now, its twips per pixel, and a length or a place in
    // twips as pixels of its client area there.
    Dpi LayoutDpi() const { return dpi_; }
    TwipsPerPixel LayoutTwipsPerPixel() const override;
    int PxX(double twips) const;
    int PxY(double twips) const;
    RECT PxRect(float left, float top, float width, float height) const;

    // A font for the dialog, described as made at the system DPI; the dialog keeps it, makes it
    // again at each DPI it comes to, and frees the old one. Its number for the two below.
    int AddFont(const LOGFONTW& atSystemDpi);
    HFONT DialogFont(int font) const { return fonts_[font].font.Get(); }
    // A control written in one of the dialog's fonts; nullptr when it could not be made.
    HWND AddControl(const ControlArgs& args, int font);
    // A child the dialog made itself (a picture it paints), placed again with the controls.
    void AddChild(HWND child, float left, float top, float width, float height);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // After the controls were placed and written again at a new DPI: for what the dialog
    // paints or measures itself.
    virtual void OnDpiChanged() {}

private:
    struct Child {
        HWND hwnd;
        float left, top, width, height;
        int font;  // a number from AddFont, or -1
        bool sizedToText;
        bool label;  // never narrower or lower than its text on one line
    };
    struct ScaledFont {
        LOGFONTW atSystemDpi;
        Font font;
    };
    void LayOutAgain(Dpi dpi);
    // Where a child stands at the present DPI, in client pixels.
    RECT PlaceOf(const Child& child) const;

    Dpi dpi_ = SystemDpi();
    std::vector<Child> children_;
    std::vector<ScaledFont> fonts_;
};

}  // namespace plumbo
