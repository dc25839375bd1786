#include "capture/zoom.h"

#include <cmath>
#include <string>

#include "core/number_text.h"
#include "core/numeric.h"
#include "core/texts.h"

namespace plumbo {

ZoomedClient ZoomedClientSize(int32_t naturalWidth, int32_t naturalHeight, double factor) {
    return {RoundHalfEven(static_cast<double>(naturalWidth) * factor),
            RoundHalfEven(static_cast<double>(naturalHeight) * factor)};
}

ZoomPercentVerdict ClassifyZoomPercent(double percent, int32_t naturalWidth, int32_t naturalHeight,
                                       int32_t virtualWidth, int32_t virtualHeight) {
    if (!(percent > 0.0)) return ZoomPercentVerdict::NotPositive;
    if (!std::isfinite(percent)) return ZoomPercentVerdict::TooLarge;
    // size * p / 100 <= 8 * screen, multiplied out so that exact limits such as 2880 % stay exact.
    auto fits = [percent](int32_t size, int32_t screen) {
        return static_cast<double>(size) * percent <= kMaxZoomOverVirtualScreen * 100.0 * static_cast<double>(screen);
    };
    if (!fits(naturalWidth, virtualWidth) || !fits(naturalHeight, virtualHeight)) return ZoomPercentVerdict::TooLarge;
    return ZoomPercentVerdict::Accept;
}

double MaxZoomPercent(int32_t naturalWidth, int32_t naturalHeight, int32_t virtualWidth, int32_t virtualHeight) {
    double best = std::numeric_limits<double>::infinity();
    auto limit = [&best](int32_t size, int32_t screen) {
        if (size <= 0) return;
        double p = kMaxZoomOverVirtualScreen * 100.0 * static_cast<double>(screen) / static_cast<double>(size);
        if (p < best) best = p;
    };
    limit(naturalWidth, virtualWidth);
    limit(naturalHeight, virtualHeight);
    return best;
}

std::wstring ZoomTooLargeMessage(double maxPercent) {
    std::wstring limit = std::isfinite(maxPercent) ? std::to_wstring(static_cast<long long>(std::floor(maxPercent)))
                                                   : std::wstring(L"?");
    return FillIn(Texts().zoomTooLarge, {limit});
}

std::optional<double> AskZoomPercent(const std::function<std::optional<std::wstring>()>& ask,
                                     const std::function<void(const std::wstring&)>& refuse, int32_t naturalWidth,
                                     int32_t naturalHeight, int32_t virtualWidth, int32_t virtualHeight) {
    for (;;) {
        std::optional<std::wstring> reply = ask();
        if (!reply) return std::nullopt;  // Cancel leaves the zoom as it was
        double percent = ReadLeadingNumber(*reply);
        switch (ClassifyZoomPercent(percent, naturalWidth, naturalHeight, virtualWidth, virtualHeight)) {
        case ZoomPercentVerdict::Accept:
            return percent;
        case ZoomPercentVerdict::TooLarge:
            refuse(ZoomTooLargeMessage(MaxZoomPercent(naturalWidth, naturalHeight, virtualWidth, virtualHeight)));
            break;
        case ZoomPercentVerdict::NotPositive:
            break;
        }
    }
}

}  // namespace plumbo
