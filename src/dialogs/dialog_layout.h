#pragma once
// Layout arithmetic of the settings dialog "設定" and of the version box: the preview ruler's
// ticks and numbers, and the version box's gradient bands.
// Plain C++, no Win32.
#include <cstdint>
#include <vector>

namespace plumbo {

// ---- Preview ruler of "設定" (always millimetres with centimetre numbers) ----

inline constexpr double kPreviewLongTick = 200.0;    // twips, at every 10 mm
inline constexpr double kPreviewMediumTick = 150.0;  // at every 5 mm
inline constexpr double kPreviewShortTick = 100.0;   // elsewhere

struct PreviewTick {
    double x = 0.0;       // twips from the preview's left edge; both ends share it
    double yTop = 0.0;    // upper end
    double yBottom = 0.0; // lower end: the preview's bottom edge
};

struct PreviewNumber {
    int32_t value = 0;  // the caption, in centimetres
    double left = 0.0;  // twips
    double top = 0.0;   // twips; the label's bottom rests on the long tick's tip
};

struct PreviewLayout {
    std::vector<PreviewTick> ticks;      // one per whole millimetre, 0 to n - 1
    std::vector<PreviewNumber> numbers;  // 0 to n \ 10 - 1
};

// n = the preview's width in millimetres, nearest whole number (halves to even).
int32_t PreviewTickCount(double previewWidthTwips);

// Positions inside the preview picture box, from its size and a number label's height (all in
// twips).
PreviewLayout LayoutSettingsPreview(double previewWidthTwips, double previewHeightTwips, double labelHeightTwips);

// ---- Version box gradient ----

struct GradientBand {
    // Rectangle to fill, in client pixels, right and bottom exclusive as a GDI fill takes them.
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    uint32_t color = 0;  // COLORREF 0x00BBGGRR; red and green are always 0
};

// Bands for a client area of W x H pixels: step = H \ 16; for y = 0, step, ... while y <= H,
// the band (-1, y - 1) to (W, y + step) in blue 255 - (y * 255 \ H). A box less than 16 pixels
// high would give step 0 and never end, so it uses one-pixel bands instead. No bands for an
// empty client area.
std::vector<GradientBand> VersionBoxGradient(int32_t clientWidth, int32_t clientHeight);

}  // namespace plumbo
