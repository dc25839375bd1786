#pragma once
// A number read from what a person typed into a box. Plain C++.
#include <string_view>

namespace plumbo {

// Reads a reply the way the classic Val does: blanks, tabs and line feeds are skipped
// wherever they are, then an optional sign, digits with at most one decimal point, and an
// optional exponent (E or D, optional sign, digits); reading stops at the first character
// that cannot continue the number, and no number at all gives 0. So "150%" is 150, "abc" 0,
// " 7 5" 75, "1.5.2" 1.5, "2e3" 2000. Radix prefixes (&H, &O) are not read: "&H10" is 0.
// A magnitude beyond double gives an infinity of the number's sign.
double ReadLeadingNumber(std::wstring_view reply);

}  // namespace plumbo
