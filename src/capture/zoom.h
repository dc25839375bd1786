#pragma once
// Zoom of the viewer in metafile mode: the arithmetic behind "１５０％", "１００％", "５０％" and
// "比率入力", the reading of the typed reply, and the upper bound on what may be typed.
// Plain C++, no Win32.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plumbo {

struct ZoomedClient {
    int32_t width = 0;
    int32_t height = 0;
};

// The viewer's client area, in pixels, for a zoom factor: the picture's natural (100 %) size
// times the factor, halves to even. Every zoom starts from the natural size, never from the
// last zoom, so 50 % and then 150 % is 150 % of the picture.
ZoomedClient ZoomedClientSize(int32_t naturalWidth, int32_t naturalHeight, double factor);

// Largest factor by which any client dimension may exceed the virtual screen.
inline constexpr double kMaxZoomOverVirtualScreen = 8.0;

enum class ZoomPercentVerdict { Accept, NotPositive, TooLarge };

// Whether a typed percentage may be used. Not positive (0, negative, NaN) brings the input
// box back silently; too large means the client area would exceed the virtual screen
// (pixels) by more than kMaxZoomOverVirtualScreen in width or in height. The natural size is
// the picture's 100 % size in pixels.
ZoomPercentVerdict ClassifyZoomPercent(double percent, int32_t naturalWidth, int32_t naturalHeight,
                                       int32_t virtualWidth, int32_t virtualHeight);

// The largest acceptable percentage, for the refusal message. Infinite when the picture has
// no size.
double MaxZoomPercent(int32_t naturalWidth, int32_t naturalHeight, int32_t virtualWidth, int32_t virtualHeight);

// The message shown when a typed percentage is refused as too large.
std::wstring ZoomTooLargeMessage(double maxPercent);

// The typed-percentage dialogue. ask() shows the input box (nothing = Cancel); refuse(text)
// tells the user why a reply was not taken. Asks again until a usable percentage or Cancel.
std::optional<double> AskZoomPercent(const std::function<std::optional<std::wstring>()>& ask,
                                     const std::function<void(const std::wstring&)>& refuse, int32_t naturalWidth,
                                     int32_t naturalHeight, int32_t virtualWidth, int32_t virtualHeight);

}  // namespace plumbo
