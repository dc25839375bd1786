#pragma once
// Rounding and integer helpers shared by every subsystem. Plain C++, no Win32.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace plumbo {

// Nearest integer with halves going to the even neighbour (0.5 -> 0, 1.5 -> 2, -2.5 -> -2).
// std::nearbyint follows the current rounding mode, which we never change from
// round-to-nearest; this spells the rule out so it holds whatever the FPU is set to.
inline double RoundHalfEvenD(double x) {
    double r = std::floor(x);
    double diff = x - r;
    if (diff > 0.5) return r + 1.0;
    if (diff < 0.5) return r;
    return std::fmod(r, 2.0) == 0.0 ? r : r + 1.0;
}

// The same as a 32-bit integer; nullopt when the value is not finite or does not fit.
inline std::optional<int32_t> TryRoundToInt32(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    double r = RoundHalfEvenD(x);
    if (r < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(r);
}

// For values the caller knows to be in range (screen geometry, tick positions):
// clamps instead of invoking undefined behaviour if that belief is ever wrong.
inline int32_t RoundHalfEven(double x) {
    if (!std::isfinite(x)) return 0;
    double r = RoundHalfEvenD(x);
    if (r < static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (r > static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

// A typed number as its ASCII form: an input method in full-width mode types digits, sign,
// point, percent and space as their full-width forms (「１２．５」, 「－５」, 「７５％」), which
// mean the same to the user. Everything else is left for the reader to refuse.
inline std::wstring AsciiNumberText(std::wstring_view typed) {
    std::wstring out(typed);
    for (wchar_t& c : out) {
        if (c >= L'\uFF01' && c <= L'\uFF5E') {
            const wchar_t narrow = static_cast<wchar_t>(c - 0xFEE0);
            if ((narrow >= L'0' && narrow <= L'9') || narrow == L'.' || narrow == L'-' || narrow == L'+' ||
                narrow == L'%')
                c = narrow;
        } else if (c == L'\u2212') {  // the minus sign proper
            c = L'-';
        } else if (c == L'\u3000') {  // the ideographic space
            c = L' ';
        }
    }
    return out;
}

// Integer division truncating toward zero, as C++ already does; named so the formulas read
// the way they are written down.
constexpr int32_t IntDiv(int32_t a, int32_t b) { return a / b; }

}  // namespace plumbo
