#pragma once
// Scale layout of the two rulers: which tick lines and number labels stand where on `pBase`,
// for each unit and orientation. Pure data in, pure data out; the ruler window paints the
// elements this leaves visible.
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "platform/elements.h"
#include "platform/units.h"

namespace plumbo {

// Ruler geometry, in twips.
inline constexpr float kRulerThicknessTwips = 500.0f;
inline constexpr float kLongTickTwips = 200.0f;  // also the height the numbers stand on
inline constexpr float kMediumTickTwips = 150.0f;
inline constexpr float kShortTickTwips = 100.0f;

// Design colour of `linMej` element 0 (blue); LoadSettings recolours it at start-up.
inline constexpr uint32_t kDesignTickColor = 16711680;

// Element indexes of a control array are 16-bit signed; a scale never asks for more.
inline constexpr int32_t kMaxElementIndex = 32767;

// Unit codes as `gTani` holds them; 3 is never used.
enum TaniCode : int {
    kTaniMill = 0,
    kTaniInch10 = 1,
    kTaniPixel = 2,
    kTaniInch8 = 4,
};

// One ruler form as the scale drawing sees it. Sizes in twips.
struct RulerModel {
    float outerWidth = 0.0f;
    float outerHeight = 0.0f;
    float clientWidth = 0.0f;
    float clientHeight = 0.0f;
    // `pBase`, the picture box the elements sit on.
    float baseLeft = 0.0f;
    float baseTop = 0.0f;
    float baseWidth = 0.0f;
    float baseHeight = 0.0f;
    // `linMej` and `lblMej`, with their designed element 0.
    ElementArray<LineElement> lines{LineElement{0.0f, 0.0f, 0.0f, 0.0f, kDesignTickColor, false}};
    ElementArray<LabelElement> labels{LabelElement{L"1", 0.0f, 0.0f, 0.0f, 0.0f, 0, false}};
};

// Width and height, in twips, that a label sizing itself to this caption takes.
using LabelMeasure = std::function<std::pair<float, float>(std::wstring_view caption)>;

struct ScaleContext {
    TwipsPerPixel twipsPerPixel;  // x for the horizontal ruler, y for the vertical one
    bool insideFlg = false;       // placement of the vertical ruler's ticks and numbers
    LabelMeasure measure;         // empty: labels measure 0 x 0
};

void ScaleHrzMill(RulerModel& ruler, const ScaleContext& ctx);
void ScaleHrzInch8(RulerModel& ruler, const ScaleContext& ctx);
void ScaleHrzInch10(RulerModel& ruler, const ScaleContext& ctx);
void ScaleHrzPixel(RulerModel& ruler, const ScaleContext& ctx);
void ScaleVerMill(RulerModel& ruler, const ScaleContext& ctx);
void ScaleVerInch8(RulerModel& ruler, const ScaleContext& ctx);
void ScaleVerInch10(RulerModel& ruler, const ScaleContext& ctx);
void ScaleVerPixel(RulerModel& ruler, const ScaleContext& ctx);

// Hides every tick and number of both rulers, before a unit change.
void HideScales(RulerModel& hrz, RulerModel& ver);

// Runs the scale of unit code `tani` for one ruler. Returns false, drawing nothing, for a
// code that names no unit.
bool ScaleByUnit(int tani, bool horizontal, RulerModel& ruler, const ScaleContext& ctx);

}  // namespace plumbo
