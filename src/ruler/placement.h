#pragma once
// Where the two rulers go along a target window, in screen pixels. Plain integers throughout:
// monitors left of or above the primary give negative coordinates, which must come out exact.
#include <cstdint>
#include <optional>

#include "core/pixel_geometry.h"

namespace plumbo {

// A window's position and size for one move.
struct PixelPlace {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;

    friend bool operator==(const PixelPlace&, const PixelPlace&) = default;
};

struct RulerPlaces {
    PixelPlace horizontal;  // move first: it owns the vertical one
    PixelPlace vertical;
    // The vertical ruler laid inside the target although the setting says outside, for want of
    // room on the screen: its ticks then face the target's left edge from inside.
    bool verticalInside = false;
};

// Outside: along the target's top and left edges, outside its frame. Inside: the vertical
// ruler inside the left edge, the horizontal one inside the bottom edge, overlapping in the
// bottom-left corner. Nothing is clipped to the screen. The thicknesses (the horizontal
// ruler's height, the vertical one's width) are kept. nullopt when a result does not fit 32
// bits.
//
// workArea, when given, is the work area of the target's monitor, and both rulers keep their
// whole thickness within it. A ruler laid outside whose thickness would not fit there (beside a
// maximized window, one snapped to an edge or pushed against the taskbar) is laid as the inside
// placement lays it: the vertical one inside the left edge, the horizontal one inside the
// bottom edge. A ruler whose edge itself is off the work area (a window half off the screen)
// stands at the work area's edge, across the target. Lengths are not cut: the screen does that.
std::optional<RulerPlaces> PlaceRulers(const PixelRect& target, int32_t horizontalThickness,
                                       int32_t verticalThickness, bool inside,
                                       const std::optional<PixelRect>& workArea = std::nullopt);

}  // namespace plumbo
