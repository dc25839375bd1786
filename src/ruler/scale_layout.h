#pragma once
// Where the ticks and numbers of one ruler stand, for each unit and orientation. Pure data in,
// pure data out; the ruler window paints the elements this leaves visible.
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "core/elements.h"
#include "core/units.h"

namespace plumbo {

// Ruler geometry, in twips.
inline constexpr float kRulerThicknessTwips = 500.0f;
inline constexpr float kLongTickTwips = 200.0f;  // also the height the numbers stand on
inline constexpr float kMediumTickTwips = 150.0f;
inline constexpr float kShortTickTwips = 100.0f;

// The ticks' colour until the settings are applied (blue).
inline constexpr uint32_t kInitialTickColor = 16711680;

// A scale never loads more elements than a 16-bit signed index can name.
inline constexpr int32_t kMaxElementIndex = 32767;

// One ruler as the scale sees it. Sizes in twips; the scale is laid on the client area, whose
// top-left corner is the origin of every element.
struct RulerModel {
    float outerWidth = 0.0f;  // the window, frame included
    float outerHeight = 0.0f;
    float clientWidth = 0.0f;
    float clientHeight = 0.0f;
    // Element 0 of each array is the pattern later elements are copied from.
    ElementArray<LineElement> ticks{LineElement{0.0f, 0.0f, 0.0f, 0.0f, kInitialTickColor, false}};
    ElementArray<LabelElement> numbers{LabelElement{L"1", 0.0f, 0.0f, 0.0f, 0.0f, 0, false}};
};

// Width and height, in twips, that a number sizing itself to this caption takes.
using LabelMeasure = std::function<std::pair<float, float>(std::wstring_view caption)>;

struct ScaleContext {
    TwipsPerPixel twipsPerPixel;  // x for the horizontal ruler, y for the vertical one
    bool inside = false;          // the vertical ruler's ticks and numbers stand at its left edge
    LabelMeasure measure;         // empty: numbers measure 0 x 0
    // Layout twips per true twip on the ruler's monitor (see core/calibration.h): stretches the
    // millimetre and inch scales, never the pixel one.
    double lengthScale = 1.0;
};

// Lays out the scale of one ruler in a unit. Elements only ever grow in number: those beyond
// what this length needs keep whatever they were. Returns false, laying out nothing, for a
// value that names no unit.
bool ScaleByUnit(RulerUnit unit, bool horizontal, RulerModel& ruler, const ScaleContext& ctx);

// Hides every tick and number of a ruler, so a unit with fewer elements leaves none of the
// previous unit's behind.
void HideScale(RulerModel& ruler);

}  // namespace plumbo
