#include "ruler/placement.h"

#include <limits>

namespace plumbo {
namespace {

bool Fits(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

std::optional<RulerPlaces> PlaceRulers(const PixelRect& target, int32_t horizontalThickness,
                                       int32_t verticalThickness, bool inside) {
    const int64_t left = target.left;
    const int64_t top = target.top;
    const int64_t width = static_cast<int64_t>(target.right) - left;
    const int64_t height = static_cast<int64_t>(target.bottom) - top;

    const int64_t horizontalTop = inside ? target.bottom - static_cast<int64_t>(horizontalThickness)
                                         : top - horizontalThickness;
    const int64_t verticalLeft = inside ? left : left - verticalThickness;

    if (!Fits(width) || !Fits(height) || !Fits(horizontalTop) || !Fits(verticalLeft)) return std::nullopt;

    RulerPlaces out;
    out.horizontal = {target.left, static_cast<int32_t>(horizontalTop), static_cast<int32_t>(width),
                      horizontalThickness};
    out.vertical = {static_cast<int32_t>(verticalLeft), target.top, verticalThickness, static_cast<int32_t>(height)};
    return out;
}

}  // namespace plumbo
