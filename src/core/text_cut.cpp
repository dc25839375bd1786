#include "core/text_cut.h"

#include <cstdint>

namespace plumbo {

namespace {

bool IsHighSurrogate(wchar_t c) {
    auto u = static_cast<uint32_t>(c);
    return u >= 0xD800 && u <= 0xDBFF;
}

}  // namespace

std::wstring CutAtCharBoundary(std::wstring_view s, size_t maxUnits) {
    if (s.size() <= maxUnits) return std::wstring(s);
    size_t n = maxUnits;
    if (n > 0 && IsHighSurrogate(s[n - 1])) --n;
    return std::wstring(s.substr(0, n));
}

}  // namespace plumbo
