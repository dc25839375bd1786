#include "capture/zoom.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "core/numeric.h"
#include "core/texts.h"

namespace plumbo {

ZoomedClient ZoomedClientSize(int32_t naturalWidth, int32_t naturalHeight, double factor) {
    return {RoundHalfEven(static_cast<double>(naturalWidth) * factor),
            RoundHalfEven(static_cast<double>(naturalHeight) * factor)};
}

namespace {

bool IsValBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

double ReadLeadingNumber(std::wstring_view reply) {
    // Blanks are dropped first, as Val does, so the scan below never sees them.
    std::wstring s;
    s.reserve(reply.size());
    for (wchar_t c : AsciiNumberText(reply))
        if (!IsValBlank(c)) s.push_back(c);

    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';

    std::string intDigits, fracDigits;
    while (i < s.size() && IsAsciiDigit(s[i])) intDigits.push_back(static_cast<char>(s[i++]));
    if (i < s.size() && s[i] == L'.') {
        ++i;
        while (i < s.size() && IsAsciiDigit(s[i])) fracDigits.push_back(static_cast<char>(s[i++]));
    }
    if (intDigits.empty() && fracDigits.empty()) return 0.0;

    // An exponent counts only when at least one digit follows its letter (and sign).
    long long exponent = 0;
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E' || s[i] == L'd' || s[i] == L'D')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == L'+' || s[j] == L'-')) expNegative = s[j++] == L'-';
        if (j < s.size() && IsAsciiDigit(s[j])) {
            constexpr long long kSaturate = 1000000;  // far beyond double either way
            for (; j < s.size() && IsAsciiDigit(s[j]); ++j)
                if (exponent < kSaturate) exponent = exponent * 10 + (s[j] - L'0');
            if (expNegative) exponent = -exponent;
        }
    }

    std::string text = intDigits.empty() ? std::string("0") : intDigits;
    if (!fracDigits.empty()) {
        text.push_back('.');
        text.append(fracDigits);
    }
    text.push_back('e');
    text.append(std::to_string(exponent));

    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here; decide from where the first significant
        // digit sits whether the number overflowed or underflowed.
        std::string all = intDigits + fracDigits;
        size_t firstNonZero = all.find_first_not_of('0');
        long long leadPower = static_cast<long long>(intDigits.size()) - static_cast<long long>(firstNonZero);
        value = (leadPower + exponent > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
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
