#pragma once
// The display list of the vector re-drawing: drawers append primitive parts in painting order,
// a player replays them. Plain C++; strings are UTF-16 code units as the W functions take them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace plumbo {

// Hatch code that asks for a solid brush; with outline flag -1 the rectangle becomes an outline.
inline constexpr int32_t kHatchSolid = 999;
inline constexpr int32_t kOutlineOnly = -1;

// Scale-mode codes of a list's unit (the same codes as the forms layer's ScaleX/ScaleY).
inline constexpr int32_t kUnitTwips = 1;
inline constexpr int32_t kUnitPixels = 3;
inline constexpr int32_t kUnitInches = 5;
inline constexpr int32_t kUnitMillimetres = 6;
inline constexpr int32_t kUnitCentimetres = 7;
inline constexpr int32_t kUnitHimetric = 8;

struct RectPart {
    double x = 0, y = 0, width = 0, height = 0;
    int32_t penWidth = 0;  // tenths of a unit; the player divides by 10 and rounds
    int32_t penStyle = 0;
    uint32_t penColor = 0;
    uint32_t fillColor = 0;
    int32_t hatch = 0;
    int32_t outline = 0;
};

struct TextPart {
    double x = 0, y = 0;
    std::wstring face;  // empty: the system's default face
    int32_t size = 0;  // points
    std::wstring text;
    uint32_t textColor = 0;  // kept, never used by the player
    int32_t opaque = 0;
    uint32_t backColor = 0;  // kept, never used by the player
};

struct RectTextPart {
    double x = 0, y = 0, width = 0, height = 0;
    std::wstring face;  // empty: the system's default face
    int32_t size = 0;
    std::wstring text;
    uint32_t textColor = 0;
    int32_t opaque = 0;
    uint32_t backColor = 0;
    uint32_t format = 0;  // DrawText flags, passed through
};

struct LinePart {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t penWidth = 0;  // whole units, not divided
    int32_t penStyle = 0;  // kept; lines are always solid
    uint32_t color = 0;
};

struct PolylinePart {
    std::vector<double> xs;
    std::vector<double> ys;
    int32_t penWidth = 0;  // whole units
    int32_t penStyle = 0;  // kept; always solid
    uint32_t color = 0;
    // Kept for the arrows that set them; the player never fills a polyline.
    int32_t outline = 0;
    int32_t hatch = 0;
    uint32_t fillColor = 0;

    size_t PointCount() const { return xs.size() < ys.size() ? xs.size() : ys.size(); }
};

// What the screen showed of a control, as it was read: rows of blue, green, red triples, top row
// first, each row padded to 4 bytes (a 24-bit DIB's rows); and the same as a PNG file.
struct ScreenPixels {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> rows;
    std::vector<uint8_t> png;
    size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) / 4 * 4; }
};

// The pixels stretched over a rectangle of the list's units.
struct ImagePart {
    double x = 0, y = 0, width = 0, height = 0;
    std::shared_ptr<const ScreenPixels> pixels;  // shared: a part list is copied whole, pictures are large
};

// One request, of one of the kinds, carrying all it needs to be drawn alone.
using DrawPart = std::variant<RectPart, TextPart, LinePart, PolylinePart, RectTextPart, ImagePart>;

struct PartList {
    int32_t unit = 0;
    double width = 0, height = 0;
    std::vector<DrawPart> parts;  // in painting order: exactly the order of the AddPart calls
};

// Calls draw with each part in painting order.
template <typename Draw>
void ForEachPart(const PartList& list, Draw&& draw) {
    for (const DrawPart& part : list.parts) std::visit(draw, part);
}

// Appends a deep copy of the part. A solid outline-only rectangle is stored as a closed
// five-point polyline; a text without a face gets the last face named in the list before it
// (none: the system's default face), so that every part carries its own; an image without
// pixels, which shows nothing, is left out. False only when the list is full (its count would
// pass 32 bits).
bool AddPart(PartList& list, const DrawPart& part);

// What one control's drawer may add: more than any real control shows, and few enough that a
// control whose numbers ask for a box every pixel (an older tool bar 1 px high and 32,767 wide)
// cannot fill the picture and its files with them.
inline constexpr size_t kMaxPartsPerControl = 4096;

// Appends one control's parts one after another, those past kMaxPartsPerControl left out, and
// remembers whether any of them did not fit.
struct PartAppender {
    PartList& list;
    bool ok = true;
    size_t added = 0;
    void Add(const DrawPart& part) {
        if (added == kMaxPartsPerControl) return;
        ++added;
        if (!AddPart(list, part)) ok = false;
    }
};

// The drawers' vocabulary. Every box, text and line of the re-drawing is black on white.
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr const wchar_t* kDrawerFace = L"ＭＳ 明朝";
inline constexpr int32_t kDrawerTextSize = 9;
inline constexpr int32_t kHatchHorizontal = 0;
inline constexpr int32_t kHatchCaption = 8;  // outside the documented hatch styles; white on white
// DrawText flags the drawers use; never DT_SINGLELINE, so 4 and 5 still start at the top.
inline constexpr uint32_t kFormatTopLeft = 0;
inline constexpr uint32_t kFormatVCenter = 4;
inline constexpr uint32_t kFormatCentre = 5;
inline constexpr uint32_t kFormatCentreAcross = 1;  // centred across only, from the top
inline constexpr uint32_t kFormatRightAcross = 2;   // right-aligned, from the top
inline constexpr uint32_t kFormatWordBreak = 0x10;  // lines broken at words within the box
// The players' glyph widths, in percent of the face's average: point texts are condensed.
inline constexpr int32_t kPointTextWidthPercent = 70;
inline constexpr int32_t kRectTextWidthPercent = 100;

// A white box with a one-pixel black outline (pen field 1 = width 0 after the player's /10).
RectPart Box(double x, double y, double w, double h, int32_t hatch = kHatchHorizontal);
// Text in the drawers' face and size, transparent, inside a rectangle.
RectTextPart BoxedText(double x, double y, double w, double h, std::wstring text, uint32_t format);
// Text at a point; an empty face takes the last one named when the text is added to a list.
TextPart PointText(double x, double y, std::wstring face, std::wstring text, int32_t opaque);
// The pixels over the rectangle.
ImagePart Image(double x, double y, double w, double h, std::shared_ptr<const ScreenPixels> pixels);
// A solid one-unit black line.
LinePart Line(double x1, double y1, double x2, double y2);
// A closed triangle outline: three points given as offsets from an origin, the first repeated.
PolylinePart Arrow(double ox, double oy, const double (&dx)[3], const double (&dy)[3]);

// A text shown as it is, '&' included, by a control that does not take '&' for a mnemonic (an
// edit, a status bar, a list view): the players' text drawing does, so each '&' is doubled.
std::wstring LiteralText(std::wstring_view text);

// A length in one scale unit converted to another (codes above), with the screen's twips per
// pixel for the pixel unit. nullopt for an unknown unit code or a resolution of zero.
std::optional<double> ScaleUnits(double value, int32_t fromUnit, int32_t toUnit, double twipsPerPixel);

}  // namespace plumbo
