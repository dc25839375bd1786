#pragma once
// The part list as an SVG document: the second player beside the metafile's, drawing the same
// parts in the same order, units and fonts, with DrawText's lines and clipping, so that the
// file looks like the metafile in programs that read SVG. Plain C++: what only GDI knows of a
// font comes from a TextMeasure.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/units.h"
#include "vector/parts.h"

namespace plumbo {

// One text part's font as the metafile player makes it, in the list's units.
struct FontMeasures {
    int32_t height = 0;      // the character height asked for: the SVG font size
    int32_t ascent = 0;      // from the top of a line to its baseline
    int32_t lineHeight = 0;  // from one line of DrawText to the next
    double stretch = 1;      // the glyphs' width against the face's own
};

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Makes the font of a text part current, as the metafile player makes it: an empty face is
    // the system's default; a width percent of 0 leaves the glyphs their own width.
    virtual FontMeasures UseFont(const std::wstring& face, int32_t size, int32_t widthPercent) = 0;
    // How far the first 1, 2, ... n UTF-16 units of text reach in the current font.
    virtual std::vector<int32_t> Advances(std::wstring_view text) = 0;
};

// One line as DrawText draws it: its top-left corner and width, its text without the mnemonic
// marks, and the underline of the mnemonic character from and to where LineTo takes it (none
// when they are equal). In 64 bits: a box near the ends of 32 bits puts lines beyond them.
struct DrawnLine {
    int64_t x = 0, y = 0, width = 0;
    std::wstring text;
    int64_t underlineFrom = 0, underlineTo = 0;
};

struct TextBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// DrawText's lines for text in the box: a line ends at CR, LF or a pair of them (not with
// DT_SINGLELINE); with DT_WORDBREAK also where the next word, or East Asian character, would
// pass the right edge. "&" marks the next character as the mnemonic ("&&" is one "&") unless
// DT_NOPREFIX. Lines go left, centred (DT_CENTER) or right (DT_RIGHT); a single line may sit
// centred (DT_VCENTER) or at the bottom (DT_BOTTOM); others start at the top. Without
// DT_NOCLIP the lines stop after the first that passes the bottom.
std::vector<DrawnLine> DrawTextLines(std::wstring_view text, const TextBox& box, uint32_t format, int32_t lineHeight,
                                     TextMeasure& measure);

// The DrawText flags of a text layout, which both players draw by.
uint32_t DrawTextFormat(TextLayout layout);

// The whole document in UTF-8: width and height the metafile's frame in points, its viewBox
// the list's own units. Empty for a unit the list cannot be converted from or a size beyond 32
// bits, as the metafile player would make no metafile of them.
std::string SvgOfParts(const PartList& list, TwipsPerPixel twipsPerPixel, TextMeasure& measure);

}  // namespace plumbo
