#pragma once
// Cutting a UTF-16 text to a length without splitting a character. Plain C++.
#include <cstddef>
#include <string>
#include <string_view>

namespace plumbo {

// The first `maxUnits` UTF-16 units of s, one fewer if the cut would split a surrogate pair.
std::wstring CutAtCharBoundary(std::wstring_view s, size_t maxUnits);

}  // namespace plumbo
