#include "core/number_text.h"

#include <charconv>
#include <limits>
#include <string>

#include "core/numeric.h"

namespace plumbo {

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

}  // namespace plumbo
