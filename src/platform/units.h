#pragma once
// Length units. Our own windows are laid out in twips (1/1440 inch); other windows' rectangles
// are in screen pixels; picture sizes are in HIMETRIC (1/100 mm). The screen's twips per pixel
// are read at run time and passed in: nothing here assumes 96 dots per inch.
#include <cstdint>

namespace plumbo {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kMmPerInch = 25.4;
inline constexpr double kTwipsPerMm = kTwipsPerInch / kMmPerInch;        // 56.6929...
inline constexpr double kTwipsPerCm = kTwipsPerInch / (kMmPerInch / 10);  // 566.929...
inline constexpr double kTwipsPerHimetric = 1440.0 / 2540.0;             // 0.5669292...

// The screen's resolution, horizontal and vertical separately.
struct TwipsPerPixel {
    double x = 0.0;
    double y = 0.0;
};

}  // namespace plumbo
