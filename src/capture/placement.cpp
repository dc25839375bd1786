#include "capture/placement.h"

#include <limits>

namespace plumbo {
namespace {

bool Fits(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

std::optional<RulerPlaces> PlaceRulers(const PixelRect& target, int32_t hrzHeight, int32_t verWidth,
                                       bool insideFlg) {
    const int64_t left = target.left;
    const int64_t top = target.top;
    const int64_t width = static_cast<int64_t>(target.right) - left;
    const int64_t height = static_cast<int64_t>(target.bottom) - top;

    const int64_t hrzTop = insideFlg ? target.bottom - static_cast<int64_t>(hrzHeight) : top - hrzHeight;
    const int64_t verLeft = insideFlg ? left : left - verWidth;

    if (!Fits(width) || !Fits(height) || !Fits(hrzTop) || !Fits(verLeft)) return std::nullopt;

    RulerPlaces out;
    out.hrz = {target.left, static_cast<int32_t>(hrzTop), static_cast<int32_t>(width), hrzHeight};
    out.ver = {static_cast<int32_t>(verLeft), target.top, verWidth, static_cast<int32_t>(height)};
    return out;
}

}  // namespace plumbo
