#pragma once
// Zoom of the viewer in metafile mode: the arithmetic behind "１５０％", "１００％", "５０％" and
// "比率入力", the reading of the typed reply, and the upper bound on what may be typed.
// Plain C++, no Win32.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/units.h"

namespace plumbo {

// The viewer's new outer size, in twips (not rounded).
struct ZoomedOuterTwips {
    double width = 0.0;
    double height = 0.0;
};

// The frame (outer minus client) stays; the client becomes the re-drawn window's pixel size
// times f. All sizes in twips except widthWnd/heightWnd, which are pixels.
ZoomedOuterTwips ZoomedOuterSize(double outerWidth, double outerHeight, double clientWidth, double clientHeight,
                                 int32_t widthWnd, int32_t heightWnd, TwipsPerPixel tpp, double f);

// Reads a reply the way the classic Val does: blanks, tabs and line feeds are skipped
// wherever they are, then an optional sign, digits with at most one decimal point, and an
// optional exponent (E or D, optional sign, digits); reading stops at the first character
// that cannot continue the number, and no number at all gives 0. So "150%" is 150, "abc" 0,
// " 7 5" 75, "1.5.2" 1.5, "2e3" 2000. Radix prefixes (&H, &O) are not read: "&H10" is 0.
// A magnitude beyond double gives an infinity of the number's sign.
double ReadLeadingNumber(std::wstring_view reply);

// Largest factor by which any client dimension may exceed the virtual screen.
inline constexpr double kMaxZoomOverVirtualScreen = 8.0;

enum class ZoomPercentVerdict { Accept, NotPositive, TooLarge };

// Whether a typed percentage may be used. Not positive (0, negative, NaN) brings the input
// box back silently; too large means the client area would exceed the virtual screen
// (pixels) by more than kMaxZoomOverVirtualScreen in width or in height.
ZoomPercentVerdict ClassifyZoomPercent(double percent, int32_t widthWnd, int32_t heightWnd, int32_t virtualWidth,
                                       int32_t virtualHeight);

inline bool IsZoomPercentAcceptable(double percent, int32_t widthWnd, int32_t heightWnd, int32_t virtualWidth,
                                    int32_t virtualHeight) {
    return ClassifyZoomPercent(percent, widthWnd, heightWnd, virtualWidth, virtualHeight) ==
           ZoomPercentVerdict::Accept;
}

// The largest acceptable percentage, for the refusal message. Infinite when the re-drawn
// window has no size.
double MaxZoomPercent(int32_t widthWnd, int32_t heightWnd, int32_t virtualWidth, int32_t virtualHeight);

// The message shown when a typed percentage is refused as too large.
std::wstring ZoomTooLargeMessage(double maxPercent);

}  // namespace plumbo
