#include "ruler/scale_layout.h"

#include <algorithm>
#include <string>

#include "core/numeric.h"

namespace plumbo {
namespace {

// Tick and number counts of one layout.
struct Counts {
    int32_t ticks = 0;
    int32_t numbers = 0;
};

int32_t ClampCount(int64_t n) {
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, kMaxElementIndex));
}

// Nearest integer, halves to even, of a single-precision length.
int64_t Nearest(float x) { return RoundHalfEven(static_cast<double>(x)); }

// The margins (+10 mm, +1 inch, +32 pixels) run the scale on past the ruler's end so the end
// is always covered; the window clips the surplus.
Counts CountFor(RulerUnit unit, float lengthTwips, double twipsPerPixel, double lengthScale) {
    switch (unit) {
        case RulerUnit::Millimetre: {
            const float mm = static_cast<float>(lengthTwips / (TwipsPer(LengthUnit::Millimetre) * lengthScale));
            const int64_t n = Nearest(mm + 10.0f);
            return {ClampCount(n), ClampCount(n / 10)};
        }
        case RulerUnit::InchEighths:
        case RulerUnit::InchTenths: {
            const float in = static_cast<float>(lengthTwips / (TwipsPer(LengthUnit::Inch) * lengthScale));
            const int64_t whole = Nearest(in + 1.0f);
            return {ClampCount(whole * (unit == RulerUnit::InchEighths ? 8 : 10)), ClampCount(whole)};
        }
        case RulerUnit::Pixel: {
            const float px = static_cast<float>(lengthTwips / twipsPerPixel);
            const int64_t n = Nearest(px + 32.0f);
            return {ClampCount(n / 4), ClampCount(n / 32)};
        }
    }
    return {};
}

float TickPosition(RulerUnit unit, int32_t i, double twipsPerPixel, double lengthScale) {
    switch (unit) {
        case RulerUnit::Millimetre:
            return static_cast<float>(i * TwipsPer(LengthUnit::Millimetre) * lengthScale);
        case RulerUnit::InchEighths:
            return static_cast<float>(static_cast<float>(i) / 8.0f * TwipsPer(LengthUnit::Inch) * lengthScale);
        case RulerUnit::InchTenths:
            return static_cast<float>(static_cast<float>(i) / 10.0f * TwipsPer(LengthUnit::Inch) * lengthScale);
        case RulerUnit::Pixel:
            return static_cast<float>(4.0 * i * twipsPerPixel);
    }
    return 0.0f;
}

float TickLength(RulerUnit unit, int32_t i) {
    // Quarter inches get no length of their own: they are short like the other eighths.
    int32_t longEvery = 10;
    int32_t mediumEvery = 5;
    if (unit == RulerUnit::InchEighths || unit == RulerUnit::Pixel) {
        longEvery = 8;
        mediumEvery = 4;
    }
    if (i % longEvery == 0) return kLongTickTwips;
    if (i % mediumEvery == 0) return kMediumTickTwips;
    return kShortTickTwips;
}

int32_t NumberValue(RulerUnit unit, int32_t k) { return unit == RulerUnit::Pixel ? 32 * k : k; }

float NumberPosition(RulerUnit unit, int32_t k, double twipsPerPixel, double lengthScale) {
    switch (unit) {
        case RulerUnit::Millimetre:
            return static_cast<float>(k * TwipsPer(LengthUnit::Centimetre) * lengthScale);
        case RulerUnit::InchEighths:
        case RulerUnit::InchTenths:
            return static_cast<float>(k * TwipsPer(LengthUnit::Inch) * lengthScale);
        case RulerUnit::Pixel:
            return static_cast<float>(32.0 * k * twipsPerPixel);
    }
    return 0.0f;
}

void SetCaption(LabelElement& label, int32_t value, const LabelMeasure& measure) {
    label.caption = std::to_wstring(value);
    if (measure) {
        const auto [w, h] = measure(label.caption);
        label.width = w;
        label.height = h;
    } else {
        label.width = 0.0f;
        label.height = 0.0f;
    }
}

bool NamesAUnit(RulerUnit unit) {
    switch (unit) {
        case RulerUnit::Millimetre:
        case RulerUnit::InchTenths:
        case RulerUnit::Pixel:
        case RulerUnit::InchEighths:
            return true;
    }
    return false;
}

}  // namespace

bool ScaleByUnit(RulerUnit unit, bool horizontal, RulerModel& r, const ScaleContext& ctx) {
    if (!NamesAUnit(unit)) return false;
    const double tpp = horizontal ? ctx.twipsPerPixel.x : ctx.twipsPerPixel.y;
    const Counts c = CountFor(unit, horizontal ? r.clientWidth : r.clientHeight, tpp, ctx.lengthScale);

    r.ticks.EnsureCount(static_cast<std::size_t>(c.ticks));
    for (int32_t i = 0; i < c.ticks; ++i) {
        LineElement& tick = r.ticks[static_cast<std::size_t>(i)];
        const float p = TickPosition(unit, i, tpp, ctx.lengthScale);
        const float len = TickLength(unit, i);
        if (horizontal) {
            tick.x1 = p;
            tick.x2 = p;
            // Starts beyond the client area so the line surely reaches its bottom edge.
            tick.y1 = r.outerHeight;
            tick.y2 = r.clientHeight - len;
        } else {
            tick.y1 = p;
            tick.y2 = p;
            if (ctx.inside) {
                tick.x1 = 0.0f;
                tick.x2 = len;
            } else {
                tick.x1 = r.outerWidth;
                tick.x2 = r.clientWidth - len;
            }
        }
        tick.visible = true;
    }

    r.numbers.EnsureCount(static_cast<std::size_t>(c.numbers));
    for (int32_t k = 0; k < c.numbers; ++k) {
        LabelElement& number = r.numbers[static_cast<std::size_t>(k)];
        SetCaption(number, NumberValue(unit, k), ctx.measure);
        const float q = NumberPosition(unit, k, tpp, ctx.lengthScale);
        if (horizontal) {
            number.left = q;
            number.top = r.clientHeight - kLongTickTwips - number.height;
        } else if (ctx.inside) {
            number.left = kLongTickTwips;
            number.top = q;
        } else {
            number.left = r.clientWidth - kLongTickTwips - number.width;
            // A number wider than the room beside the long ticks starts at the edge and
            // overlaps them rather than being cut off.
            if (number.left <= 0.0f) number.left = 0.0f;
            number.top = q;
        }
        number.visible = true;
    }
    return true;
}

void HideScale(RulerModel& ruler) {
    ruler.ticks.HideAll();
    ruler.numbers.HideAll();
}

}  // namespace plumbo
