#pragma once
// The measuring mode's rules: where the colour under the cursor ends on a still picture, and how
// a measured length in pixels reads in the rulers' unit and on the clipboard. Plain C++.
#include <cstdint>
#include <span>
#include <string>

#include "core/pixel_geometry.h"
#include "core/units.h"

namespace plumbo {

// The tolerance a new measuring mode starts with, and its range (per colour channel).
inline constexpr int kDefaultEdgeTolerance = 30;
inline constexpr int kMaxEdgeTolerance = 255;

// A picture's pixels, row by row from the top, as 0x00RRGGBB (or COLORREF: only the three
// channels are compared, each on its own).
struct PixelGrid {
    int32_t width = 0;
    int32_t height = 0;
    std::span<const uint32_t> pixels;  // width * height

    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Whether two colours differ by more than the tolerance in any channel.
bool ColoursDiffer(uint32_t a, uint32_t b, int tolerance);

// The run of pixels around (x, y), inclusive, that stays within the tolerance of the colour at
// (x, y): it ends before the first pixel each way that differs, or at the picture's border.
struct Span {
    int32_t first = 0;
    int32_t last = 0;
    int32_t Length() const { return last - first + 1; }
    friend bool operator==(const Span&, const Span&) = default;
};
Span HorizontalSpanAt(const PixelGrid& grid, int32_t x, int32_t y, int tolerance);
Span VerticalSpanAt(const PixelGrid& grid, int32_t x, int32_t y, int tolerance);

// A control in the target, as the measuring mode knows it: its box and the box inside it that
// its own controls stand in (a window's client area), screen pixels, and the index of its parent
// in the same list, -1 for the target's client area.
struct ControlBox {
    PixelRect outer;
    PixelRect inner;
    int32_t parent = -1;
};

// The innermost control under (x, y): the smallest that holds it; -1 for none.
int32_t ControlAt(std::span<const ControlBox> controls, int32_t x, int32_t y);

// Where each side's gap ends: for each side of the control, the nearest facing edge of a
// sibling beside it (one that overlaps it across that side), else its parent's inner edge. The
// gaps are control.left - reach.left, reach.right - control.right and so on.
PixelRect GapsReach(const PixelRect& control, const PixelRect& parentInner, std::span<const PixelRect> siblings);

// How the measured pixels turn into the rulers' unit on one monitor: its pixels per true
// millimetre, the calibration's where there is one, else Windows' own at the monitor's DPI.
struct MeasureScale {
    RulerUnit unit = RulerUnit::Pixel;
    double pixelsPerMm = 96.0 / kMmPerInch;
};

// A number of pixels in the unit, as shown: px whole, mm with one decimal, inches with two in
// both inch scales; half away from zero; NaN as "?", an infinity as "∞" or "-∞". Followed by
// " px", " mm" or " in" when withUnit.
std::wstring FormatLength(double pixels, const MeasureScale& scale, bool withUnit = true);

// The copied text: "120 × 45 px", "31.8 × 11.9 mm"; one length alone is "<length> <unit>".
std::wstring SizeText(double width, double height, const MeasureScale& scale);
std::wstring LengthText(double length, const MeasureScale& scale);

// As shown on the screen: the copied text, and in units other than pixels the pixels after it
// in brackets, "31.8 × 11.9 mm (120 × 45 px)".
std::wstring SizeLabel(double width, double height, const MeasureScale& scale);
std::wstring LengthLabel(double length, const MeasureScale& scale);

}  // namespace plumbo
