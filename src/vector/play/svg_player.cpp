#include "vector/play/svg_player.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>
#include <tuple>
#include <utility>

#include "core/numeric.h"

namespace plumbo {

namespace {

// DrawText's format flags that move the lines; the others change nothing the drawers use.
constexpr uint32_t kDtCenter = 0x1, kDtRight = 0x2, kDtVCenter = 0x4, kDtBottom = 0x8, kDtWordBreak = 0x10,
                   kDtSingleLine = 0x20, kDtNoClip = 0x100, kDtNoPrefix = 0x800;
// GDI's six hatch styles on their tile of 8 x 8 pixels, lines through the pixels' centres.
constexpr const char* kHatchPaths[] = {"M0 3.5H8", "M4.5 0V8", "M0 0L8 8", "M8 0L0 8", "M0 3.5H8M4.5 0V8",
                                       "M0 0L8 8M8 0L0 8"};
// The background colour is never set: opaque text and hatches stand on the default white.
constexpr const char* kBackground = "#ffffff";

// Where East Asian text may break around a character, as the line breaking DrawText asks of
// the system: not before closing marks and small kana, not after opening marks.
constexpr std::wstring_view kNoBreakBefore = L"!),.:;?]}、。，．：；？！）」』】〕〉》ー・ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ";
constexpr std::wstring_view kNoBreakAfter = L"([{（「『【〔〈《";

// Hangul, kana, ideographs and full-width forms; a high surrogate begins a supplementary ideograph.
bool IsWide(wchar_t c) {
    const auto u = static_cast<uint32_t>(c);
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xDBFF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6) || u >= 0x20000;
}

// Whether a line may break before s[k], 0 < k < size: after spaces and around East Asian
// characters, never inside a surrogate pair.
bool BreakBefore(std::wstring_view s, size_t k) {
    const wchar_t before = s[k - 1], at = s[k];
    if (at == L' ' || (at >= 0xDC00 && at <= 0xDFFF)) return false;
    if (before == L' ') return true;
    return (IsWide(before) || IsWide(at)) && kNoBreakBefore.find(at) == std::wstring_view::npos &&
           kNoBreakAfter.find(before) == std::wstring_view::npos;
}

// Where DrawText ends a line of which the first `fit` characters fit: the line's length and
// how much of the text it uses up. A centred or right-aligned line gives up the space before
// its break; one space after the line is swallowed; a word with no break in it that fits is
// kept whole, past the edge.
std::pair<size_t, size_t> BreakLine(std::wstring_view s, size_t fit, bool aligned) {
    size_t k = fit;
    while (k > 0 && !BreakBefore(s, k)) --k;
    size_t end = k == 0 ? std::min(s.find(L' ', fit), s.size()) : (aligned && s[k - 1] == L' ' ? k - 1 : k);
    return {end, end + (end < s.size() && s[end] == L' ')};
}

void AppendUtf8(std::string& out, uint32_t c) {
    constexpr uint32_t kLead[] = {0x00, 0xC0, 0xE0, 0xF0};  // by the count of bytes that follow
    const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(kLead[tail] | (c >> (6 * tail)));
    for (int i = tail - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

// Text for the document in UTF-8 with the markup characters escaped. What XML cannot hold
// (control characters, unpaired surrogates) becomes U+FFFD, as GDI draws a box for it.
std::string Xml(std::wstring_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<uint32_t>(s[i]);
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(s[++i]) - 0xDC00);
        else if ((c < 0x20 && c != L'\t') || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF || c > 0x10FFFF)
            c = 0xFFFD;
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: AppendUtf8(out, c);
        }
    }
    return out;
}

// At most three decimals, none that are zero.
std::string Num(double v) {
    char buf[40];
    std::string s(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3).ptr);
    while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.')) s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Attr(const char* name, double v) { return std::string(" ") + name + "=\"" + Num(v) + '"'; }

std::string Colour(uint32_t c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return buf;
}

std::string Base64(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t n = bytes[i] << 16 | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) | (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        for (size_t k = 0; k < 4; ++k) out += i + k <= bytes.size() ? kDigits[(n >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

class SvgPlayer {
public:
    SvgPlayer(TextMeasure& measure, double pixel) : measure_(measure), pixel_(pixel) {}

    std::string defs, body;

    void Draw(const RectPart& r) {
        if (r.fill == Fill::None) return Draw(OutlineOf(r));
        // In 64 bits, as every coordinate here: corners at the ends of 32 bits are no closer.
        const int64_t left = RoundHalfEven(r.x), top = RoundHalfEven(r.y);
        const int64_t right = RoundHalfEven(r.x + r.width), bottom = RoundHalfEven(r.y + r.height);
        // GDI orders the corners and keeps the outline on the box's outermost pixels.
        body += "<rect" + Attr("x", std::min(left, right) + half_) + Attr("y", std::min(top, bottom) + half_) +
                Attr("width", std::max(0.0, std::abs(right - left) - pixel_)) +
                Attr("height", std::max(0.0, std::abs(bottom - top) - pixel_)) + " fill=\"" + FillOf(r) + '"' +
                Stroke(RoundHalfEven(r.penWidth), r.penColor) + "/>\n";
    }

    void Draw(const TextPart& t) {
        const FontMeasures font = measure_.UseFont(t.face, t.size, kPointTextWidthPercent);
        const std::vector<int32_t> reach = measure_.Advances(t.text);
        Write({RoundHalfEven(t.x), RoundHalfEven(t.y), reach.empty() ? 0 : reach.back(), t.text}, t, font);
    }

    void Draw(const RectTextPart& t) {
        const FontMeasures font = measure_.UseFont(t.face, t.size, kRectTextWidthPercent);
        const uint32_t format = DrawTextFormat(t.layout);
        const TextBox box{RoundHalfEven(t.x), RoundHalfEven(t.y), RoundHalfEven(t.x + t.width),
                          RoundHalfEven(t.y + t.height)};
        const bool clipped = !(format & kDtNoClip);
        if (clipped) {
            const std::string id = "clip" + std::to_string(++clips_);
            body += "<clipPath id=\"" + id + "\"><rect" + Attr("x", box.left) + Attr("y", box.top) +
                    Attr("width", std::max<int64_t>(0, int64_t{box.right} - box.left)) +
                    Attr("height", std::max<int64_t>(0, int64_t{box.bottom} - box.top)) + "/></clipPath>\n<g clip-path=\"url(#" + id +
                    ")\">\n";
        }
        for (const DrawnLine& line : DrawTextLines(t.text, box, format, font.lineHeight, measure_))
            Write(line, t, font);
        if (clipped) body += "</g>\n";
    }

    void Draw(const LinePart& l) {
        Segment(RoundHalfEven(l.x1), RoundHalfEven(l.y1), RoundHalfEven(l.x2), RoundHalfEven(l.y2),
                RoundHalfEven(l.penWidth), l.color);
    }

    // One that ends where it starts is a polygon, so that its corner is joined as GDI draws it.
    void Draw(const PolylinePart& p) {
        size_t n = p.PointCount();
        if (n < 2) return;
        const auto at = [&](size_t i) { return std::pair(RoundHalfEven(p.xs[i]), RoundHalfEven(p.ys[i])); };
        const bool closed = n > 3 && at(0) == at(n - 1);
        std::string points;
        for (size_t i = 0; i < n - closed; ++i)
            points.append(i ? " " : "").append(Num(at(i).first + half_) + ',' + Num(at(i).second + half_));
        body += (closed ? "<polygon" : "<polyline") + std::string(" points=\"") + points + "\" fill=\"none\"" +
                Stroke(RoundHalfEven(p.penWidth), p.color) + "/>\n";
    }

    // Stretched over its rectangle as StretchDIBits stretches it. xlink:href, which every reader
    // of SVG 1.1 takes; the namespace on the element keeps the document's head as it was.
    void Draw(const ImagePart& image) {
        if (image.pixels->png.empty()) return;
        body += "<image xmlns:xlink=\"http://www.w3.org/1999/xlink\"" + Attr("x", RoundHalfEven(image.x)) +
                Attr("y", RoundHalfEven(image.y)) + Attr("width", RoundHalfEven(image.width)) +
                Attr("height", RoundHalfEven(image.height)) + " preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64," +
                Base64(image.pixels->png) + "\"/>\n";
    }

private:
    // A solid GDI pen: width 0 is the one-pixel pen. A pixel is the square right of and below
    // its point, so outlines run through the middle of their pixels.
    std::string Stroke(int64_t width, uint32_t colour) const {
        return " stroke=\"" + Colour(colour) + '"' + Attr("stroke-width", std::max<double>(width, pixel_));
    }

    // GDI lights a line's pixels from its first point up to its last, leaving that out: along
    // the line's longer axis the SVG line runs from the first pixel's near edge to the last
    // one's, across it through their middle.
    void Segment(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t width, uint32_t colour) {
        const bool wide = std::abs(x2 - x1) >= std::abs(y2 - y1);
        const double dx = wide ? (x2 < x1) * pixel_ : half_, dy = wide ? half_ : (y2 < y1) * pixel_;
        body += "<line" + Attr("x1", x1 + dx) + Attr("y1", y1 + dy) + Attr("x2", x2 + dx) + Attr("y2", y2 + dy) +
                Stroke(width, colour) + "/>\n";
    }

    // The brush: solid, or a hatch in the fill colour over the background colour or over what
    // lies below, as the box asks. A caption's brush shows the background, white as its fill.
    std::string FillOf(const RectPart& r) {
        if (!IsHatch(r.fill)) return Colour(r.fillColor);
        const int hatch = r.fill == Fill::Horizontal ? 0 : 3;  // the index of GDI's hatch style
        const bool opaque = r.hatchOnBackground;
        const std::string id = "hatch" + std::to_string(hatch) + Colour(r.fillColor).substr(1) + (opaque ? "o" : "t");
        if (patterns_.insert(id).second)
            defs += "<pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\"" + Attr("width", 8 * pixel_) +
                    Attr("height", 8 * pixel_) + " viewBox=\"0 0 8 8\">" +
                    (opaque ? std::string("<rect width=\"8\" height=\"8\" fill=\"") + kBackground + "\"/>" : "") +
                    "<path d=\"" + kHatchPaths[hatch] + "\" stroke=\"" + Colour(r.fillColor) + "\"/></pattern>\n";
        return "url(#" + id + ")";
    }

    // A line of text from its top-left corner, on the background colour when opaque, its
    // glyphs narrowed as the font's width asks; the mnemonic underlined a pixel below the
    // baseline.
    template <typename Text>
    void Write(const DrawnLine& line, const Text& part, const FontMeasures& font) {
        const std::wstring& face = part.face;
        if (line.text.empty()) return;
        if (part.opaque)
            body += "<rect" + Attr("x", line.x) + Attr("y", line.y) + Attr("width", line.width) +
                    Attr("height", font.lineHeight) + " fill=\"" + kBackground + "\"/>\n";
        body += "<text" + Attr("x", line.x) + Attr("y", line.y + font.ascent) +
                (face.empty() ? "" : " font-family=\"" + Xml(face) + '"') + Attr("font-size", font.height) +
                " fill=\"" + Colour(part.textColor) + '"';
        if (font.stretch != 1)
            body += " transform=\"matrix(" + Num(font.stretch) + " 0 0 1 " + Num(line.x * (1 - font.stretch)) + " 0)\"";
        body += '>' + Xml(line.text) + "</text>\n";
        const int64_t y = line.y + font.ascent + 1;
        if (line.underlineTo > line.underlineFrom)
            Segment(line.underlineFrom, y, line.underlineTo, y, 0, part.textColor);
    }

    TextMeasure& measure_;
    const double pixel_;  // one device pixel in the list's units
    const double half_ = pixel_ / 2;
    int clips_ = 0;
    std::set<std::string> patterns_;
};

}  // namespace

std::vector<DrawnLine> DrawTextLines(std::wstring_view text, const TextBox& box, uint32_t format, int32_t lineHeight,
                                     TextMeasure& measure) {
    if (format & kDtSingleLine) format &= ~kDtWordBreak;
    const bool single = format & kDtSingleLine, marks = !(format & kDtNoPrefix), wrap = format & kDtWordBreak;
    const int64_t room = int64_t{box.right} - box.left;
    std::vector<DrawnLine> lines;
    // A paragraph, up to its CR or LF, with the mnemonic marks taken out once: what is shown,
    // where each shown unit stands in the text, and before which shown units the marks stood.
    // Its lines are taken from it one after another, each measured only as far as it needs,
    // so that a long text costs its length and not its length times its lines.
    std::wstring shown;
    std::vector<size_t> from, marked;
    size_t at = 0, paragraphEnd = 0, start = 0, nextMark = 0;
    size_t guess = 64;  // how far a line is measured first: twice as far as the last one took
    bool inParagraph = false;
    for (int64_t y = box.top;; y += lineHeight) {
        const bool last = !(format & kDtNoClip) && y + lineHeight > box.bottom;
        if (!inParagraph) {
            shown.clear();
            from.clear();
            marked.clear();
            start = nextMark = 0;
            size_t i = at;
            while (i < text.size() && (single || (text[i] != L'\r' && text[i] != L'\n'))) {
                if (marks && text[i] == L'&' && i + 1 < text.size() && text[++i] != L'&') {  // the text's last "&" shows
                    marked.push_back(shown.size());
                    continue;
                }
                shown += text[i];
                from.push_back(i++);
            }
            paragraphEnd = i;
            inParagraph = true;
        }
        const size_t lineStart = start;
        const std::wstring_view rest = std::wstring_view(shown).substr(lineStart);
        // The line's reach, measured over at least its first n units.
        std::vector<int32_t> reach;
        auto measureTo = [&](size_t n) {
            if (reach.size() < std::min(n, rest.size())) reach = measure.Advances(rest.substr(0, n));
        };
        // Wrapped, as far as passes the edge (twice as far each time); else the whole paragraph.
        for (size_t n = wrap ? guess : rest.size();; n *= 2) {
            measureTo(n);
            if (reach.size() >= rest.size() || (!reach.empty() && reach.back() > room)) break;
        }
        const auto fit = static_cast<size_t>(std::upper_bound(reach.begin(), reach.end(), room) - reach.begin());
        size_t length = rest.size();
        if (fit < rest.size() && wrap) {
            size_t used = 0;
            std::tie(length, used) = BreakLine(rest, fit, format & (kDtCenter | kDtRight));
            at = from[start + used - 1] + 1;
            start += used;
            guess = 2 * used + 8;
        } else {
            at = paragraphEnd;
            // CR, LF, or one of each in either order.
            if (at < text.size()) {
                const wchar_t first = text[at++];
                if (at < text.size() && (text[at] == L'\r' || text[at] == L'\n') && text[at] != first) ++at;
            }
            inParagraph = false;
        }
        measureTo(length);
        while (nextMark < marked.size() && marked[nextMark] < lineStart) ++nextMark;
        const size_t mnemonic = nextMark < marked.size() ? marked[nextMark] - lineStart : std::wstring::npos;
        DrawnLine line{box.left, y, length ? reach[length - 1] : 0, std::wstring(rest.substr(0, length))};
        if (format & kDtCenter) line.x = (int64_t{box.left} + box.right - line.width) / 2;
        else if (format & kDtRight) line.x = box.right - line.width;
        if (single && (format & kDtVCenter)) line.y = box.top + (int64_t{box.bottom} - box.top) / 2 - lineHeight / 2;
        else if (single && (format & kDtBottom)) line.y = int64_t{box.bottom} - lineHeight;
        if (mnemonic < length) {
            line.underlineFrom = line.x + (mnemonic ? reach[mnemonic - 1] : 0);
            line.underlineTo = line.x + reach[mnemonic] - 1;
        }
        lines.push_back(std::move(line));
        if (at >= text.size() || last) return lines;
    }
}

uint32_t DrawTextFormat(TextLayout layout) {
    const uint32_t across = layout.across == Across::Centre ? kDtCenter : layout.across == Across::Right ? kDtRight : 0;
    return across | (layout.wrap ? kDtWordBreak : 0);
}

std::string SvgOfParts(const PartList& list, TwipsPerPixel tpp, TextMeasure& measure) {
    const auto frameW = ScaleUnits(list.width, list.unit, ListUnit::Himetric, tpp.x);
    const auto frameH = ScaleUnits(list.height, list.unit, ListUnit::Himetric, tpp.y);
    const auto pixel = ScaleUnits(1, ListUnit::Pixels, list.unit, tpp.x);
    const auto width = TryRoundToInt32(list.width), height = TryRoundToInt32(list.height);
    if (!frameW || !frameH || !TryRoundToInt32(*frameW) || !TryRoundToInt32(*frameH) || !width || !height || !pixel)
        return {};
    SvgPlayer player(measure, *pixel);
    ForEachPart(list, [&](const auto& part) { player.Draw(part); });
    // The frame in points, twips / 20: a screen's pixels are whole twips, so a reader at the
    // screen's resolution gets the list's pixels exactly, where millimetres would round.
    // xml:space keeps the texts' spaces as GDI draws them.
    const double points = kTwipsPerHimetric / kTwipsPerPoint;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           Num(*frameW * points) + "pt\" height=\"" + Num(*frameH * points) + "pt\" viewBox=\"0 0 " +
           std::to_string(*width) + ' ' + std::to_string(*height) + "\" xml:space=\"preserve\">\n" +
           (player.defs.empty() ? "" : "<defs>\n" + player.defs + "</defs>\n") + player.body + "</svg>\n";
}

}  // namespace plumbo
