#include "dialogs/dialog_layout.h"

#include "core/numeric.h"
#include "core/units.h"

namespace plumbo {

int32_t PreviewTickCount(double previewWidthTwips) {
    int32_t n = RoundHalfEven(previewWidthTwips / kTwipsPerMm);
    return n < 0 ? 0 : n;
}

PreviewLayout LayoutSettingsPreview(double previewWidthTwips, double previewHeightTwips, double labelHeightTwips) {
    PreviewLayout layout;
    const int32_t n = PreviewTickCount(previewWidthTwips);
    layout.ticks.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        double length = i % 10 == 0 ? kPreviewLongTick : i % 5 == 0 ? kPreviewMediumTick : kPreviewShortTick;
        layout.ticks.push_back({i * kTwipsPerMm, previewHeightTwips - length, previewHeightTwips});
    }
    const int32_t m = IntDiv(n, 10);
    layout.numbers.reserve(static_cast<size_t>(m));
    for (int32_t j = 0; j < m; ++j)
        layout.numbers.push_back({j, j * kTwipsPerCm, previewHeightTwips - kPreviewLongTick - labelHeightTwips});
    return layout;
}

std::vector<GradientBand> VersionBoxGradient(int32_t clientWidth, int32_t clientHeight) {
    std::vector<GradientBand> bands;
    if (clientWidth <= 0 || clientHeight <= 0) return bands;
    int32_t step = IntDiv(clientHeight, 16);
    if (step == 0) step = 1;
    // 64-bit: y * 255 overflows 32 bits for very tall areas.
    for (int64_t y = 0; y <= clientHeight; y += step) {
        const int64_t blue = 255 - y * 255 / clientHeight;
        bands.push_back({-1, static_cast<int32_t>(y - 1), clientWidth, static_cast<int32_t>(y + step),
                         static_cast<uint32_t>(blue) << 16});
    }
    return bands;
}

}  // namespace plumbo
