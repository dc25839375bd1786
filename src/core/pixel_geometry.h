#pragma once
// Rectangles on the screen in pixels, and keeping a window on a monitor's work area. Plain
// integers throughout: monitors left of or above the primary give negative coordinates, which
// must come out exact.
#include <algorithm>
#include <cstdint>

namespace plumbo {

// Right and bottom exclusive.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A window of width x height wanting its top-left corner at (left, top), moved the least that
// keeps it wholly within area; one larger than the area keeps the area's top-left corner.
constexpr PixelRect KeptWithin(int32_t left, int32_t top, int32_t width, int32_t height, const PixelRect& area) {
    const int64_t x = std::max<int64_t>(area.left, std::min<int64_t>(left, int64_t{area.right} - width));
    const int64_t y = std::max<int64_t>(area.top, std::min<int64_t>(top, int64_t{area.bottom} - height));
    return {static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x + width),
            static_cast<int32_t>(y + height)};
}

}  // namespace plumbo
