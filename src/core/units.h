#pragma once
// Length units. Our own windows are laid out in twips (1/1440 inch); other windows' rectangles
// are in screen pixels; picture sizes are in HIMETRIC (1/100 mm). The twips per pixel of the
// monitor in question are read at run time and passed in: nothing here assumes 96 dots per inch.
//
// Every conversion between physical units goes through the one table below, so the rulers,
// the size dialog, the vector drawing and the picture files cannot disagree on a constant.
#include <cstdint>
#include <optional>

namespace plumbo {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kMmPerInch = 25.4;
inline constexpr double kHimetricPerInch = 2540.0;
inline constexpr double kTwipsPerMm = kTwipsPerInch / kMmPerInch;             // 56.6929...
inline constexpr double kTwipsPerCm = kTwipsPerMm * 10.0;                      // 566.929...
inline constexpr double kTwipsPerHimetric = kTwipsPerInch / kHimetricPerInch;  // 0.5669292...
inline constexpr double kTwipsPerPoint = kTwipsPerInch / 72.0;                 // 20

// The physical length units, and the one table of how many twips each holds. Pixels are not
// in the table: their size is the screen's and is always passed in.
enum class LengthUnit { Twip, Point, Millimetre, Centimetre, Inch, Himetric };

constexpr double TwipsPer(LengthUnit unit) {
    switch (unit) {
        case LengthUnit::Twip: return 1.0;
        case LengthUnit::Point: return kTwipsPerPoint;
        case LengthUnit::Millimetre: return kTwipsPerMm;
        case LengthUnit::Centimetre: return kTwipsPerCm;
        case LengthUnit::Inch: return kTwipsPerInch;
        case LengthUnit::Himetric: return kTwipsPerHimetric;
    }
    return 1.0;
}

// A monitor's resolution, horizontal and vertical separately.
struct TwipsPerPixel {
    double x = 0.0;
    double y = 0.0;
};

// At a number of dots per inch; none (0 or less) counts as 96, the resolution Windows assumes.
constexpr TwipsPerPixel TwipsPerPixelAt(double dpiX, double dpiY) {
    return {kTwipsPerInch / (dpiX > 0 ? dpiX : 96.0), kTwipsPerInch / (dpiY > 0 ? dpiY : 96.0)};
}

// The unit the rulers show. The numbers are what the rulers have always used inside the
// program (3 was never used); they are not stored in the settings file.
enum class RulerUnit : int32_t {
    Millimetre = 0,
    InchTenths = 1,
    Pixel = 2,
    InchEighths = 4,
};

}  // namespace plumbo
