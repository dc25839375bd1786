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

// The unit of a list's coordinates: the re-drawing's lists are in the target's pixels; one in
// HIMETRIC (hundredths of a millimetre) is a picture of a given physical size.
enum class ListUnit : uint8_t { Pixels, Himetric };

// How a rectangle is filled, in its fill colour.
enum class Fill : uint8_t {
    None,        // an outline only
    Solid,
    Horizontal,  // horizontal hatch lines 8 pixels apart
    Diagonal,    // lines rising to the right, 8 pixels apart
    Caption,     // a title bar's: a brush outside the hatches that shows the background
};
// The fills with gaps between their lines, which show either the background or what lies below.
constexpr bool IsHatch(Fill fill) { return fill == Fill::Horizontal || fill == Fill::Diagonal; }

// Pens are solid, their width in the list's pixels: 0 is the thinnest line, one device pixel
// whatever the scale.
struct RectPart {
    double x = 0, y = 0, width = 0, height = 0;
    double penWidth = 0;
    uint32_t penColor = 0;
    Fill fill = Fill::Horizontal;
    uint32_t fillColor = 0;
    // A hatch's gaps in the background colour (white), hiding what lies below as a surface
    // covers what it stands on; else they show what lies below. Read only for a hatch.
    bool hatchOnBackground = false;
};

struct TextPart {
    double x = 0, y = 0;
    std::wstring face;  // empty: the system's default face
    int32_t size = 0;   // points
    std::wstring text;
    uint32_t textColor = 0;
    bool opaque = false;  // on the background colour (white) rather than over what lies below
};

// Where a text's lines go in its box, as DrawText places them: from the top, across at the
// left, centred or at the right, wrapped at words within the box or broken only at line ends.
// Lines past the box are cut off, and '&' marks the next character as the mnemonic.
enum class Across : uint8_t { Left, Centre, Right };
struct TextLayout {
    Across across = Across::Left;
    bool wrap = false;
};

struct RectTextPart {
    double x = 0, y = 0, width = 0, height = 0;
    std::wstring face;  // empty: the system's default face
    int32_t size = 0;   // points
    std::wstring text;
    uint32_t textColor = 0;
    bool opaque = false;
    TextLayout layout;
};

struct LinePart {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double penWidth = 0;
    uint32_t color = 0;
};

struct PolylinePart {
    std::vector<double> xs;
    std::vector<double> ys;
    double penWidth = 0;
    uint32_t color = 0;

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
    ListUnit unit = ListUnit::Pixels;
    double width = 0, height = 0;
    std::vector<DrawPart> parts;  // in painting order: exactly the order of the AddPart calls
};

// The outline of a box with no fill, as the closed polyline the list keeps of it.
PolylinePart OutlineOf(const RectPart& r);

// Calls draw with each part in painting order.
template <typename Draw>
void ForEachPart(const PartList& list, Draw&& draw) {
    for (const DrawPart& part : list.parts) std::visit(draw, part);
}

// Appends a deep copy of the part. A rectangle with no fill is stored as a closed five-point
// polyline, drawn at least one unit wide; a text without a face gets the last face named in the list before it
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
inline constexpr TextLayout kLayoutLeft{};
inline constexpr TextLayout kLayoutCentred{Across::Centre};
inline constexpr TextLayout kLayoutRight{Across::Right};
// The layout with its lines broken at words within the box.
constexpr TextLayout Wrapped(TextLayout layout) { return {layout.across, true}; }
// The players' glyph widths, in percent of the face's average: point texts are condensed.
inline constexpr int32_t kPointTextWidthPercent = 70;
inline constexpr int32_t kRectTextWidthPercent = 100;

// A box with the thinnest black outline, filled white (hatched, as a white box has always been),
// the hatch over what lies below: a control's box must not hide a control drawn before it,
// which stands above it in the window order, nor what the screen showed of the control.
RectPart Box(double x, double y, double w, double h, Fill fill = Fill::Horizontal);
// The same box hiding what lies below: a surface that covers what is drawn before it.
RectPart CoveringBox(double x, double y, double w, double h);
// Text in the drawers' face and size, black, transparent, inside a rectangle.
RectTextPart BoxedText(double x, double y, double w, double h, std::wstring text, TextLayout layout);
// Black text at a point; an empty face takes the last one named when the text is added to a list.
TextPart PointText(double x, double y, std::wstring face, std::wstring text, bool opaque);
// The pixels over the rectangle.
ImagePart Image(double x, double y, double w, double h, std::shared_ptr<const ScreenPixels> pixels);
// A solid black line one unit wide.
LinePart Line(double x1, double y1, double x2, double y2);
// A closed triangle outline: three points given as offsets from an origin, the first repeated.
PolylinePart Arrow(double ox, double oy, const double (&dx)[3], const double (&dy)[3]);

// A text shown as it is, '&' included, by a control that does not take '&' for a mnemonic (an
// edit, a status bar, a list view): the players' text drawing does, so each '&' is doubled.
std::wstring LiteralText(std::wstring_view text);

// A length in one unit converted to another, with the screen's twips per pixel for the pixel
// unit. nullopt for a resolution of zero.
std::optional<double> ScaleUnits(double value, ListUnit fromUnit, ListUnit toUnit, double twipsPerPixel);

}  // namespace plumbo
