#include "sizing/size_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/number_text.h"
#include "core/numeric.h"
#include "core/texts.h"

namespace plumbo {

SizeUnit SizeUnitFor(RulerUnit unit) {
    switch (unit) {
        case RulerUnit::Millimetre: return SizeUnit::Millimetre;
        case RulerUnit::InchTenths:
        case RulerUnit::InchEighths: return SizeUnit::Inch;
        case RulerUnit::Pixel: return SizeUnit::Pixel;
    }
    return SizeUnit::Millimetre;
}

std::optional<SizeUnit> SizeUnitFromIndex(int32_t index) {
    if (index < 0 || index > 2) return std::nullopt;
    return static_cast<SizeUnit>(index);
}

namespace {

// The dialog has always converted in single precision; the constants are the unit table's.
constexpr float kTwipsPerInchF = static_cast<float>(kTwipsPerInch);
constexpr float kMmPerInchF = static_cast<float>(kMmPerInch);

}  // namespace

int64_t PixelsToShownValue(int32_t pixels, SizeUnit unit, double twipsPerPixel, double lengthScale) {
    if (unit == SizeUnit::Pixel) return pixels;
    // Through twips, multiplying before dividing, so whole millimetres and inches stay whole
    // in single precision (480 px at 15 twips is 127 mm, not 126.99999). True twips: a scale
    // of 1 leaves them as they were.
    float twips = static_cast<float>(pixels) * static_cast<float>(twipsPerPixel) / static_cast<float>(lengthScale);
    float value = unit == SizeUnit::Millimetre ? twips * kMmPerInchF / kTwipsPerInchF : twips / kTwipsPerInchF;
    if (!std::isfinite(value)) return 0;
    return static_cast<int64_t>(std::floor(static_cast<double>(value)));
}

ShownSize ShownWindowSize(int32_t widthPx, int32_t heightPx, SizeUnit unit, TwipsPerPixel tpp, double lengthScale) {
    return {PixelsToShownValue(widthPx, unit, tpp.x, lengthScale), PixelsToShownValue(heightPx, unit, tpp.y, lengthScale)};
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// [+-] (digits [. digits*] | . digits) [(e|E) [+-] digits], nothing else.
bool IsPlainDecimal(std::wstring_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
    size_t digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    if (i < s.size() && s[i] == L'.') {
        ++i;
        for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        ++i;
        if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
        size_t expDigits = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

// Typed value in the unit -> pixels (unrounded), in single precision.
float UnitToPixels(float value, SizeUnit unit, double twipsPerPixel, float lengthScale) {
    float tpp = static_cast<float>(twipsPerPixel);
    switch (unit) {
        case SizeUnit::Millimetre: return value * kTwipsPerInchF / kMmPerInchF * lengthScale / tpp;
        case SizeUnit::Inch: return value * kTwipsPerInchF * lengthScale / tpp;
        case SizeUnit::Pixel: break;
    }
    return value;
}

float UnitToTwips(float value, SizeUnit unit, double twipsPerPixel, float lengthScale) {
    switch (unit) {
        case SizeUnit::Millimetre: return value * kTwipsPerInchF / kMmPerInchF * lengthScale;
        case SizeUnit::Inch: return value * kTwipsPerInchF * lengthScale;
        case SizeUnit::Pixel: break;
    }
    return value * static_cast<float>(twipsPerPixel);
}

struct OneBox {
    std::optional<SizeProblem> problem;
    int32_t pixels = 0;
    double twips = 0.0;
};

OneBox ConvertOneBox(std::wstring_view text, SizeUnit unit, double twipsPerPixel, float lengthScale) {
    OneBox r;
    std::optional<double> parsed = ParseSizeText(text);
    if (!parsed) {
        r.problem = SizeProblem::NotANumber;
        return r;
    }
    float value = static_cast<float>(*parsed);  // beyond single precision becomes infinite
    if (!(value > 0.0f)) {
        r.problem = SizeProblem::NotPositive;
        return r;
    }
    float px = UnitToPixels(value, unit, twipsPerPixel, lengthScale);
    // Checked in floating point before any conversion to an integer.
    if (!std::isfinite(px)) {
        r.problem = SizeProblem::TooLarge;
        return r;
    }
    double rounded = RoundHalfEvenD(static_cast<double>(px));
    if (rounded > static_cast<double>(kMaxWindowSizePixels)) {
        r.problem = SizeProblem::TooLarge;
        return r;
    }
    if (rounded < 1.0) {
        r.problem = SizeProblem::NotPositive;
        return r;
    }
    r.pixels = static_cast<int32_t>(rounded);
    r.twips = static_cast<double>(UnitToTwips(value, unit, twipsPerPixel, lengthScale));
    return r;
}

}  // namespace

std::optional<double> ParseSizeText(std::wstring_view typed) {
    const std::wstring ascii = AsciiNumberText(typed);
    std::wstring_view text = ascii;
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!IsPlainDecimal(text)) return std::nullopt;
    // The grammar above is a subset of what the leading-number reader takes, and the whole
    // text is a number, so the reader returns exactly its value.
    return ReadLeadingNumber(text);
}

std::variant<TypedWindowSize, SizeEntryError> ConvertTypedSize(std::wstring_view widthText,
                                                               std::wstring_view heightText, SizeUnit unit,
                                                               TwipsPerPixel tpp, double lengthScale,
                                                               const FilledSize* filled) {
    const float scale = static_cast<float>(lengthScale);
    auto convert = [&](std::wstring_view text, const std::wstring& shown, int32_t pixels, double twipsPerPixel) {
        if (filled && filled->unit == unit && text == shown) return OneBox{std::nullopt, pixels, pixels * twipsPerPixel};
        return ConvertOneBox(text, unit, twipsPerPixel, scale);
    };
    OneBox w = convert(widthText, filled ? filled->width : L"", filled ? filled->widthPx : 0, tpp.x);
    if (w.problem) return SizeEntryError{SizeBox::Width, *w.problem};
    OneBox h = convert(heightText, filled ? filled->height : L"", filled ? filled->heightPx : 0, tpp.y);
    if (h.problem) return SizeEntryError{SizeBox::Height, *h.problem};
    return TypedWindowSize{w.pixels, h.pixels, w.twips, h.twips};
}

PixelSize OuterSizeForVisibleSize(const PixelRect& outer, const PixelRect& visible, int32_t width, int32_t height) {
    auto border = [](int64_t inner, int64_t outerEdge) { return std::max<int64_t>(0, inner - outerEdge); };
    const int64_t w = int64_t{width} + border(visible.left, outer.left) + border(outer.right, visible.right);
    const int64_t h = int64_t{height} + border(visible.top, outer.top) + border(outer.bottom, visible.bottom);
    auto fit = [](int64_t v) { return static_cast<int32_t>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max())); };
    return {fit(w), fit(h)};
}

std::wstring SizeEntryMessage(const SizeEntryError& error) {
    const UiTexts& t = Texts();
    const std::wstring box = error.box == SizeBox::Width ? t.sizeWidthName : t.sizeHeightName;
    switch (error.problem) {
        case SizeProblem::NotANumber: return FillIn(t.sizeNotANumber, {box});
        case SizeProblem::NotPositive: return FillIn(t.sizeNotPositive, {box});
        case SizeProblem::TooLarge: return FillIn(t.sizeTooLarge, {box, std::to_wstring(kMaxWindowSizePixels)});
    }
    return box;
}

}  // namespace plumbo
