// The SVG player's rules with a font whose characters are 10 units wide (East Asian ones 20),
// lines 12 high with the baseline 8 down: DrawText's lines, then one element per part kind.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "vector/play/svg_player.h"

namespace plumbo {
namespace {

struct FixedFont final : TextMeasure {
    size_t measured = 0;  // units asked for, all told
    FontMeasures UseFont(const std::wstring&, int32_t size, int32_t percent) override { return {size, 8, 12, percent / 100.0}; }
    std::vector<int32_t> Advances(std::wstring_view text) override {
        measured += text.size();
        std::vector<int32_t> reach{0};
        for (wchar_t c : text) reach.push_back(reach.back() + (c > 0x2000 ? 20 : 10));
        return {reach.begin() + 1, reach.end()};
    }
} font;

TEST(SvgPlayer, LinesGoWhereDrawTextPutsThem) {
    const struct { const wchar_t* text; int32_t width; uint32_t format; const wchar_t* want; } rows[] = {
        {L"ab\r\ncd\n\rx\r\r", 100, 0, L"0,0 'ab' 0,12 'cd' 0,24 'x' "}, {L"ab", 100, 1, L"40,0 'ab' "},  // the box ends after the third; centred
        {L"ab", 100, 4, L"0,0 'ab' "}, {L"a\rb", 100, 0x24, L"0,9 'a\rb' "}, {L"ab", 100, 0x2A, L"80,18 'ab' "},  // centred and at the bottom: single lines only
        {L"aa bb cc", 55, 0x10, L"0,0 'aa ' 0,12 'bb cc' "}, {L"aa bb cc", 55, 0x11, L"17,0 'aa' 2,12 'bb cc' "},  // the space that fits stays unless centred
        {L"abcdefgh ij", 35, 0x10, L"0,0 'abcdefgh' 0,12 'ij' "}, {L"日本語です", 70, 0x10, L"0,0 '日本語' 0,12 'です' "},  // a word kept whole
        {L"日本語。です", 70, 0x10, L"0,0 '日本' 0,12 '語。で' 0,24 'す' "},  // no line starts with "。"
        {L"&File a&&b x&", 200, 0, L"0,0 'File a&b x&'_0-9 "}, {L"&File", 200, 0x800, L"0,0 '&File' "}, {L"ab c&d", 35, 0x10, L"0,0 'ab ' 0,12 'cd'_10-19 "},
    };
    for (const auto& r : rows) {
        std::wostringstream s;  // "x,y 'text'", with "_from-to" for an underline
        for (const DrawnLine& l : DrawTextLines(r.text, {0, 0, r.width, 30}, r.format, 12, font))
            s << l.x << ',' << l.y << " '" << l.text << '\''
              << (l.underlineTo > l.underlineFrom ? L"_" + std::to_wstring(l.underlineFrom) + L"-" + std::to_wstring(l.underlineTo) : L"") << ' ';
        EXPECT_EQ(s.str(), r.want);
    }
}

// 160,000 units in 1,600 lines of 100: each unit measured a few times, not once for every line
// before it (128 million in all).
TEST(SvgPlayer, ALongTextIsMeasuredInTimeWithItsLength) {
    const std::wstring text = [s = std::wstring()]() mutable { while (s.size() < 160000) s += L"aaaa "; return s; }();
    font.measured = 0;
    const std::vector<DrawnLine> lines = DrawTextLines(text, {0, 0, 1000, 0}, 0x110, 12, font);
    EXPECT_EQ(std::tuple(lines.size(), lines.back().y, lines.back().text.size()), std::tuple(1600u, 19188, 100u));
    EXPECT_LE(font.measured, 4 * text.size());
}

// What the document of a list of 400 x 300 holds between its root's tags, or all of it.
std::string Svg(ListUnit unit, const std::vector<DrawPart>& parts, bool whole = false) {
    PartList list{unit, 400, 300};
    for (const DrawPart& part : parts) AddPart(list, part);
    const std::string svg = SvgOfParts(list, {15, 15}, font);
    const size_t at = whole ? 0 : svg.find('\n', svg.find("<svg")) + 1;
    return svg.substr(at, svg.find("</svg>") - at);
}

// 400 x 300 pixels at 15 twips are 300 x 225 points; in HIMETRIC a pixel is 26.458.
TEST(SvgPlayer, EachPartKindInTheListsUnitsTextsEscapedInUtf8AndTheSameAloneAsInItsList) {
    EXPECT_NE(Svg(ListUnit::Pixels, {}, true).find(R"(width="300pt" height="225pt" viewBox="0 0 400 300")"), std::string::npos);
    const RectPart solid = Box(10, 20, 30, 40, Fill::Solid);
    const std::string pen = " stroke=\"#000000\" stroke-width=\"1\"/>\n", face = " font-family=\"\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D\" font-size=\"9\" fill=\"#000000\"";
    const struct { DrawPart part; std::string want; } rows[] = {
        {solid, "<rect x=\"10.5\" y=\"20.5\" width=\"29\" height=\"39\" fill=\"#ffffff\"" + pen},
        {Box(1, 2, 3, 4, Fill::None), "<polygon points=\"1.5,2.5 4.5,2.5 4.5,6.5 1.5,6.5\" fill=\"none\"" + pen},
        {CoveringBox(1, 2, 3, 4), "<defs>\n<pattern id=\"hatch0ffffffo\" patternUnits=\"userSpaceOnUse\" width=\"8\" height=\"8\" viewBox=\"0 0 8 8\"><rect width=\"8\" height=\"8\" fill=\"#ffffff\"/><path d=\"M0 3.5H8\" stroke=\"#ffffff\"/></pattern>\n</defs>\n<rect x=\"1.5\" y=\"2.5\" width=\"2\" height=\"3\" fill=\"url(#hatch0ffffffo)\"" + pen},
        {Line(1.5, 2.5, 30, 40), "<line x1=\"2.5\" y1=\"2\" x2=\"30.5\" y2=\"40\"" + pen},
        {Line(30, 40, 1.5, 42), "<line x1=\"31\" y1=\"40.5\" x2=\"3\" y2=\"42.5\"" + pen},
        {PointText(5, 6, L"ＭＳ 明朝", L"<a&b>\"'", true), "<rect x=\"5\" y=\"6\" width=\"70\" height=\"12\" fill=\"#ffffff\"/>\n<text x=\"5\" y=\"14\"" + face + " transform=\"matrix(0.7 0 0 1 1.5 0)\">&lt;a&amp;b&gt;&quot;&apos;</text>\n"},
        {BoxedText(10, 20, 100, 30, L"\xD842\xDFB7\xD800\x01", kLayoutCentred), "<clipPath id=\"clip1\"><rect x=\"10\" y=\"20\" width=\"100\" height=\"30\"/></clipPath>\n<g clip-path=\"url(#clip1)\">\n"
         "<text x=\"25\" y=\"28\"" + face + ">\xF0\xA0\xAE\xB7\xEF\xBF\xBD\xEF\xBF\xBD</text>\n</g>\n"},
        {BoxedText(2147483547, -2e9, 100, 4e9, L"ab", kLayoutCentred), "<clipPath id=\"clip1\"><rect x=\"2147483547\" y=\"-2000000000\" width=\"100\" height=\"4000000000\"/></clipPath>\n"
         "<g clip-path=\"url(#clip1)\">\n<text x=\"2147483587\" y=\"-1999999992\"" + face + ">ab</text>\n</g>\n"},  // beyond 32 bits
    };
    for (const auto& r : rows) EXPECT_EQ(Svg(ListUnit::Pixels, {r.part}), r.want);
    EXPECT_EQ(Svg(ListUnit::Himetric, {Line(0, 0, 1000, 0)}), "<line x1=\"0\" y1=\"13.229\" x2=\"1000\" y2=\"13.229\" stroke=\"#000000\" stroke-width=\"26.458\"/>\n");
    // Each part as the list keeps it draws the same alone as after the others: no colour or face
    // passes from a red text in another face to the next, no background from a transparent text
    // to a hatched box. The box's pattern goes first, in the document's definitions.
    RectTextPart red = BoxedText(0, 0, 50, 20, L"Red", kLayoutRight);
    std::tie(red.face, red.textColor, red.opaque) = std::tuple(L"Other", 0x0000FF, true);
    PartList list;
    const DrawPart parts[] = {red, PointText(5, 6, L"", L"Same face", false), Line(1, 2, 3, 4),
                              Arrow(10, 10, {1, 5, 3}, {1, 1, 4}), Box(1, 2, 3, 4, Fill::Solid), Box(1, 2, 3, 4)};
    for (const DrawPart& part : parts) AddPart(list, part);
    std::string alone;
    for (const DrawPart& part : list.parts) alone += Svg(ListUnit::Pixels, {part});
    const size_t at = alone.find("<defs>"), n = alone.find("</defs>\n") + 8 - at;
    EXPECT_EQ(Svg(ListUnit::Pixels, list.parts), alone.substr(at, n) + std::string(alone).erase(at, n));
}

}  // namespace
}  // namespace plumbo
