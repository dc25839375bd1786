#pragma once
// Arithmetic of the window-size dialog "直接指定": which option the ruler unit selects, the
// target's outer size shown in a unit, and the typed size turned back into pixels (and into
// twips for the rulers). Conversions are done in single precision, as the dialog always did.
// Plain C++, no Win32.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/pixel_geometry.h"
#include "core/units.h"

namespace plumbo {

// The dialog's unit options, in their order: "ミリ", "インチ", "ピクセル".
enum class SizeUnit : int32_t { Millimetre = 0, Inch = 1, Pixel = 2 };

// The option the rulers' unit selects: millimetres, inches for both inch scales, pixels.
SizeUnit SizeUnitFor(RulerUnit unit);
// Option index -> unit; indices other than 0, 1, 2 are no option.
std::optional<SizeUnit> SizeUnitFromIndex(int32_t index);

// Largest outer size, in pixels, the dialog will give the target.
inline constexpr int32_t kMaxWindowSizePixels = 32767;

// Pixels -> the whole number shown in the box (floor). twipsPerPixel is the screen's, horizontal
// for a width and vertical for a height; lengthScale the monitor's calibration (see
// core/calibration.h), which turns millimetres and inches into true ones.
int64_t PixelsToShownValue(int32_t pixels, SizeUnit unit, double twipsPerPixel, double lengthScale = 1.0);

struct ShownSize {
    int64_t width = 0;
    int64_t height = 0;
};
// The fill step for an outer size of w x h pixels.
ShownSize ShownWindowSize(int32_t widthPx, int32_t heightPx, SizeUnit unit, TwipsPerPixel tpp,
                          double lengthScale = 1.0);

// A box's text as a number. Accepted: optional blanks (space, tab) around a plain decimal
// number: optional sign, digits with an optional decimal point (".5" and "5." too), and an
// optional exponent ("1e3"). Anything else, an empty box included, is no number: thousands
// separators, "inf", "nan", hex, full-width digits, or two numbers ("1 2").
std::optional<double> ParseSizeText(std::wstring_view text);

enum class SizeBox { Width, Height };
enum class SizeProblem {
    NotANumber,   // empty or not a plain decimal number
    NotPositive,  // zero, negative, or rounds to less than one pixel
    TooLarge,     // beyond kMaxWindowSizePixels once converted (or beyond single precision)
};
struct SizeEntryError {
    SizeBox box = SizeBox::Width;
    SizeProblem problem = SizeProblem::NotANumber;
};

struct TypedWindowSize {
    int32_t widthPx = 0;       // for MoveWindow
    int32_t heightPx = 0;
    double rulerWidthTwips = 0.0;   // the horizontal ruler's new width: typed width in layout twips
    double rulerHeightTwips = 0.0;  // the vertical ruler's new height
};

// What the boxes were filled with, in which unit, for a window of widthPx x heightPx.
struct FilledSize {
    SizeUnit unit = SizeUnit::Pixel;
    std::wstring width, height;
    int32_t widthPx = 0, heightPx = 0;
};

// OK: both boxes read, converted to pixels (halves to even) and checked; the width box is
// checked first, so an error names the first bad box. A box that still holds what it was filled
// with in the same unit keeps the window's size: the number shown is that size cut down to a
// whole millimetre or inch, and read back it would shrink a side the user did not touch.
std::variant<TypedWindowSize, SizeEntryError> ConvertTypedSize(std::wstring_view widthText,
                                                               std::wstring_view heightText, SizeUnit unit,
                                                               TwipsPerPixel tpp, double lengthScale = 1.0,
                                                               const FilledSize* filled = nullptr);

struct PixelSize {
    int32_t width = 0, height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The outer size Windows is given so that the window shows width x height pixels: the sizes in
// the dialog are the frame a person sees, and on Windows 10 and 11 the window rectangle holds
// invisible resize borders around it, which are added as the window has them now. A visible
// frame reaching beyond the window's rectangle on a side counts as no border there.
PixelSize OuterSizeForVisibleSize(const PixelRect& outer, const PixelRect& visible, int32_t width, int32_t height);

// The message for a refused entry; names the box by its label.
std::wstring SizeEntryMessage(const SizeEntryError& error);

}  // namespace plumbo
