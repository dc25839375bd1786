#include "ruler/placement.h"

#include <algorithm>
#include <limits>

namespace plumbo {
namespace {

bool Fits(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

std::optional<RulerPlaces> PlaceRulers(const PixelRect& target, int32_t horizontalThickness,
                                       int32_t verticalThickness, bool inside,
                                       const std::optional<PixelRect>& workArea) {
    const int64_t left = target.left;
    const int64_t top = target.top;
    const int64_t width = static_cast<int64_t>(target.right) - left;
    const int64_t height = static_cast<int64_t>(target.bottom) - top;

    const int64_t insideHorizontalTop = target.bottom - static_cast<int64_t>(horizontalThickness);
    int64_t horizontalTop = inside ? insideHorizontalTop : top - horizontalThickness;
    int64_t verticalLeft = inside ? left : left - verticalThickness;
    RulerPlaces out;
    if (workArea) {
        // Ranges are inclusive of the work area's first row or column, exclusive of its last.
        if (!inside && horizontalTop < workArea->top) horizontalTop = insideHorizontalTop;
        if (!inside && verticalLeft < workArea->left) {
            verticalLeft = left;
            out.verticalInside = true;
        }
        horizontalTop = std::clamp<int64_t>(horizontalTop, workArea->top,
                                            std::max<int64_t>(workArea->top, workArea->bottom - int64_t{horizontalThickness}));
        verticalLeft = std::clamp<int64_t>(verticalLeft, workArea->left,
                                           std::max<int64_t>(workArea->left, workArea->right - int64_t{verticalThickness}));
    }

    if (!Fits(width) || !Fits(height) || !Fits(horizontalTop) || !Fits(verticalLeft)) return std::nullopt;

    out.horizontal = {target.left, static_cast<int32_t>(horizontalTop), static_cast<int32_t>(width),
                      horizontalThickness};
    out.vertical = {static_cast<int32_t>(verticalLeft), target.top, verticalThickness, static_cast<int32_t>(height)};
    return out;
}

}  // namespace plumbo
