#include "core/measurement.h"

#include <cmath>
#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace plumbo {

namespace {

constexpr wchar_t kTimes[] = L" \u00D7 ";

int Channel(uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// A plain decimal with that many places, rounded half away from zero whatever the locale. A
// hair is added before rounding so that a half written in binary a little short (0.125 in as
// 12 / 96) still rounds up.
// Every number gets a text, also those no measurement gives: a scale of zero makes infinities
// and NaN, and past 2^63 the rounding below has no answer.
std::wstring Fixed(double value, int decimals) {
    if (std::isnan(value)) return L"?";
    if (std::isinf(value)) return value < 0 ? L"-\u221E" : L"\u221E";
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i) scale *= 10.0;
    const double scaled = std::abs(value) * scale;
    if (scaled >= 0x1p53) {  // whole already: nothing left to round
        char digits[330];    // the largest double's 309 digits, its sign and the decimals
        return std::wstring(digits, std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals).ptr);
    }
    const long long whole = std::llround(std::floor(scaled + 0.5 + 1e-9));
    std::wstring text = (whole != 0 && value < 0 ? L"-" : L"") + std::to_wstring(whole / static_cast<long long>(scale));
    if (decimals > 0) {
        std::wstring fraction = std::to_wstring(whole % static_cast<long long>(scale));
        text += L"." + std::wstring(decimals - fraction.size(), L'0') + fraction;
    }
    return text;
}

const wchar_t* UnitSymbol(RulerUnit unit) {
    switch (unit) {
        case RulerUnit::Millimetre: return L"mm";
        case RulerUnit::InchTenths: case RulerUnit::InchEighths: return L"in";
        case RulerUnit::Pixel: return L"px";
    }
    return L"px";
}

}  // namespace

bool ColoursDiffer(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return true;
    return false;
}

Span HorizontalSpanAt(const PixelGrid& grid, int32_t x, int32_t y, int tolerance) {
    const uint32_t here = grid.At(x, y);
    Span s{x, x};
    while (s.first > 0 && !ColoursDiffer(grid.At(s.first - 1, y), here, tolerance)) --s.first;
    while (s.last + 1 < grid.width && !ColoursDiffer(grid.At(s.last + 1, y), here, tolerance)) ++s.last;
    return s;
}

Span VerticalSpanAt(const PixelGrid& grid, int32_t x, int32_t y, int tolerance) {
    const uint32_t here = grid.At(x, y);
    Span s{y, y};
    while (s.first > 0 && !ColoursDiffer(grid.At(x, s.first - 1), here, tolerance)) --s.first;
    while (s.last + 1 < grid.height && !ColoursDiffer(grid.At(x, s.last + 1), here, tolerance)) ++s.last;
    return s;
}

std::wstring FormatLength(double pixels, const MeasureScale& scale, bool withUnit) {
    std::wstring number;
    switch (scale.unit) {
        case RulerUnit::Pixel: number = Fixed(pixels, 0); break;
        case RulerUnit::Millimetre: number = Fixed(pixels / scale.pixelsPerMm, 1); break;
        case RulerUnit::InchTenths: case RulerUnit::InchEighths:
            number = Fixed(pixels / scale.pixelsPerMm / kMmPerInch, 2);
            break;
    }
    return withUnit ? number + L" " + UnitSymbol(scale.unit) : number;
}

std::wstring SizeText(double width, double height, const MeasureScale& scale) {
    return FormatLength(width, scale, false) + kTimes + FormatLength(height, scale);
}

std::wstring LengthText(double length, const MeasureScale& scale) { return FormatLength(length, scale); }

std::wstring SizeLabel(double width, double height, const MeasureScale& scale) {
    if (scale.unit == RulerUnit::Pixel) return SizeText(width, height, scale);
    return SizeText(width, height, scale) + L" (" + SizeText(width, height, {RulerUnit::Pixel}) + L")";
}

std::wstring LengthLabel(double length, const MeasureScale& scale) {
    if (scale.unit == RulerUnit::Pixel) return LengthText(length, scale);
    return LengthText(length, scale) + L" (" + LengthText(length, {RulerUnit::Pixel}) + L")";
}

}  // namespace plumbo

namespace plumbo {

int32_t ControlAt(std::span<const ControlBox> controls, int32_t x, int32_t y) {
    int32_t found = -1;
    int64_t foundArea = 0;
    for (size_t i = 0; i < controls.size(); ++i) {
        const PixelRect& r = controls[i].outer;
        if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) continue;
        const int64_t area = int64_t{r.right - r.left} * (r.bottom - r.top);
        if (found < 0 || area < foundArea) {
            found = static_cast<int32_t>(i);
            foundArea = area;
        }
    }
    return found;
}

PixelRect GapsReach(const PixelRect& c, const PixelRect& parentInner, std::span<const PixelRect> siblings) {
    PixelRect reach = parentInner;
    for (const PixelRect& s : siblings) {
        const bool acrossRows = s.top < c.bottom && s.bottom > c.top;
        const bool acrossColumns = s.left < c.right && s.right > c.left;
        if (acrossRows && s.right <= c.left) reach.left = std::max(reach.left, s.right);
        if (acrossRows && s.left >= c.right) reach.right = std::min(reach.right, s.left);
        if (acrossColumns && s.bottom <= c.top) reach.top = std::max(reach.top, s.bottom);
        if (acrossColumns && s.top >= c.bottom) reach.bottom = std::min(reach.bottom, s.top);
    }
    return reach;
}

}  // namespace plumbo
