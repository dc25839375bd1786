#include "ruler/scale_layout.h"

#include <algorithm>
#include <string>

#include "platform/numeric.h"

namespace plumbo {
namespace {

enum class Unit { Mill, Inch8, Inch10, Pixel };

// Tick and number counts of one drawing.
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
// is always covered; the surplus is clipped by `pBase`.
Counts CountFor(Unit unit, float lengthTwips, double twipsPerPixel) {
    switch (unit) {
        case Unit::Mill: {
            const float mm = static_cast<float>(lengthTwips / kTwipsPerMm);
            const int64_t n = Nearest(mm + 10.0f);
            return {ClampCount(n), ClampCount(n / 10)};
        }
        case Unit::Inch8:
        case Unit::Inch10: {
            const float in = static_cast<float>(lengthTwips / kTwipsPerInch);
            const int64_t whole = Nearest(in + 1.0f);
            return {ClampCount(whole * (unit == Unit::Inch8 ? 8 : 10)), ClampCount(whole)};
        }
        case Unit::Pixel: {
            const float px = static_cast<float>(lengthTwips / twipsPerPixel);
            const int64_t n = Nearest(px + 32.0f);
            return {ClampCount(n / 4), ClampCount(n / 32)};
        }
    }
    return {};
}

float TickPosition(Unit unit, int32_t i, double twipsPerPixel) {
    switch (unit) {
        case Unit::Mill:
            return static_cast<float>(i * kTwipsPerMm);
        case Unit::Inch8:
            return static_cast<float>(static_cast<float>(i) / 8.0f * kTwipsPerInch);
        case Unit::Inch10:
            return static_cast<float>(static_cast<float>(i) / 10.0f * kTwipsPerInch);
        case Unit::Pixel:
            return static_cast<float>(4.0 * i * twipsPerPixel);
    }
    return 0.0f;
}

float TickLength(Unit unit, int32_t i) {
    // Quarter inches get no length of their own: they are short like the other eighths.
    int32_t longEvery = 10;
    int32_t mediumEvery = 5;
    if (unit == Unit::Inch8 || unit == Unit::Pixel) {
        longEvery = 8;
        mediumEvery = 4;
    }
    if (i % longEvery == 0) return kLongTickTwips;
    if (i % mediumEvery == 0) return kMediumTickTwips;
    return kShortTickTwips;
}

int32_t NumberValue(Unit unit, int32_t k) { return unit == Unit::Pixel ? 32 * k : k; }

float NumberPosition(Unit unit, int32_t k, double twipsPerPixel) {
    switch (unit) {
        case Unit::Mill:
            return static_cast<float>(k * kTwipsPerCm);
        case Unit::Inch8:
        case Unit::Inch10:
            return static_cast<float>(k * kTwipsPerInch);
        case Unit::Pixel:
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

void DrawScale(Unit unit, bool horizontal, RulerModel& r, const ScaleContext& ctx) {
    r.baseLeft = 0.0f;
    r.baseTop = 0.0f;
    r.baseWidth = r.clientWidth;
    r.baseHeight = r.clientHeight;

    const double tpp = horizontal ? ctx.twipsPerPixel.x : ctx.twipsPerPixel.y;
    const Counts c = CountFor(unit, horizontal ? r.baseWidth : r.baseHeight, tpp);

    r.lines.EnsureCount(static_cast<std::size_t>(c.ticks));
    for (int32_t i = 0; i < c.ticks; ++i) {
        LineElement& line = r.lines[static_cast<std::size_t>(i)];
        const float p = TickPosition(unit, i, tpp);
        const float len = TickLength(unit, i);
        if (horizontal) {
            line.x1 = p;
            line.x2 = p;
            // Starts below `pBase` so the line surely reaches its bottom edge.
            line.y1 = r.outerHeight;
            line.y2 = r.baseHeight - len;
        } else {
            line.y1 = p;
            line.y2 = p;
            if (ctx.insideFlg) {
                line.x1 = 0.0f;
                line.x2 = len;
            } else {
                line.x1 = r.outerWidth;
                line.x2 = r.baseWidth - len;
            }
        }
        line.visible = true;
    }

    r.labels.EnsureCount(static_cast<std::size_t>(c.numbers));
    for (int32_t k = 0; k < c.numbers; ++k) {
        LabelElement& label = r.labels[static_cast<std::size_t>(k)];
        SetCaption(label, NumberValue(unit, k), ctx.measure);
        const float q = NumberPosition(unit, k, tpp);
        if (horizontal) {
            label.left = q;
            label.top = r.baseHeight - kLongTickTwips - label.height;
        } else if (ctx.insideFlg) {
            label.left = kLongTickTwips;
            label.top = q;
        } else {
            label.left = r.baseWidth - kLongTickTwips - label.width;
            // A number wider than the room beside the long ticks starts at the edge and
            // overlaps them rather than being cut off.
            if (label.left <= 0.0f) label.left = 0.0f;
            label.top = q;
        }
        label.visible = true;
    }
}

}  // namespace

void ScaleHrzMill(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Mill, true, ruler, ctx); }
void ScaleHrzInch8(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Inch8, true, ruler, ctx); }
void ScaleHrzInch10(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Inch10, true, ruler, ctx); }
void ScaleHrzPixel(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Pixel, true, ruler, ctx); }
void ScaleVerMill(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Mill, false, ruler, ctx); }
void ScaleVerInch8(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Inch8, false, ruler, ctx); }
void ScaleVerInch10(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Inch10, false, ruler, ctx); }
void ScaleVerPixel(RulerModel& ruler, const ScaleContext& ctx) { DrawScale(Unit::Pixel, false, ruler, ctx); }

void HideScales(RulerModel& hrz, RulerModel& ver) {
    hrz.lines.HideAll();
    hrz.labels.HideAll();
    ver.lines.HideAll();
    ver.labels.HideAll();
}

bool ScaleByUnit(int tani, bool horizontal, RulerModel& ruler, const ScaleContext& ctx) {
    switch (tani) {
        case kTaniMill:
            DrawScale(Unit::Mill, horizontal, ruler, ctx);
            return true;
        case kTaniInch10:
            DrawScale(Unit::Inch10, horizontal, ruler, ctx);
            return true;
        case kTaniPixel:
            DrawScale(Unit::Pixel, horizontal, ruler, ctx);
            return true;
        case kTaniInch8:
            DrawScale(Unit::Inch8, horizontal, ruler, ctx);
            return true;
        default:
            return false;
    }
}

}  // namespace plumbo
