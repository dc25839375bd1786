// Capture arithmetic without a window: the size dialog "直接指定", the viewer's zoom, and the
// names and bytes of the picture files we write ourselves, and how a saved file takes its
// target's place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <tuple>
#include <vector>

#include "capture/file_formats.h"
#include "sizing/size_math.h"
#include "capture/zoom.h"
#include "core/number_text.h"
#include "core/file_names.h"
#include "platform/replace_steps.h"
#include "rows.h"

namespace plumbo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr TwipsPerPixel k96Dpi{15.0, 15.0}, kSkewed{15.0, 12.0}, k144Dpi = TwipsPerPixelAt(144, 144);
constexpr SizeUnit kMm = SizeUnit::Millimetre, kInch = SizeUnit::Inch, kPx = SizeUnit::Pixel;
using Bytes = std::vector<uint8_t>;
using Pair = std::pair<int64_t, int64_t>;

// A size's width and height, to compare with a row's.
Pair Size(const auto& size) { return Pair(size.width, size.height); }

// ---- The size dialog ----

// What OK does with the two boxes: the window's new size in pixels and the rulers' in twips,
// or the first bad box and what is wrong with it.
std::wstring Outcome(const std::variant<TypedWindowSize, SizeEntryError>& r) {
    wchar_t text[80];
    const auto* s = std::get_if<TypedWindowSize>(&r);
    const auto* e = std::get_if<SizeEntryError>(&r);
    if (s) std::swprintf(text, 80, L"%d x %d px, %.1f x %.1f twips", s->widthPx, s->heightPx, s->rulerWidthTwips,
                         s->rulerHeightTwips);
    else std::swprintf(text, 80, L"%ls %ls", e->box == SizeBox::Width ? L"width" : L"height",
                       std::array{L"not a number", L"not positive", L"too large"}[static_cast<int>(e->problem)]);
    return text;
}

TEST(SizeDialog, ShowsFlooredSizesReadsPlainDecimalsConvertsEachUnitHalvesToEvenOrNamesTheFirstBadBox) {
    // 801 px = 211.93 mm, 662 px = 6.896 in; 600 px at 12 twips = 7200 twips = 127 mm and 5 in
    // exactly, in single precision too. Widths go with the horizontal resolution, heights with
    // the vertical one.
    // Calibrated at 1.25 (a line of 100 of Windows' millimetres measured 80): 945 px = 200.03
    // true mm, 480 px = 4 in; pixels stay.
    const struct { int32_t w, h; SizeUnit unit; TwipsPerPixel tpp; Pair want; double scale = 1.0; } rows[] = {
        {801, 600, kMm, kSkewed, {211, 127}}, {662, 600, kInch, kSkewed, {6, 5}}, {801, 600, kPx, k96Dpi, {801, 600}},
        {567, 400, kMm, k144Dpi, {100, 70}}, {945, 480, kMm, k96Dpi, {200, 101}, 1.25},
        {945, 480, kInch, k96Dpi, {7, 4}, 1.25}, {945, 480, kPx, k96Dpi, {945, 480}, 1.25}};
    ExpectRows(rows, [](auto& c) { return Size(ShownWindowSize(c.w, c.h, c.unit, c.tpp, c.scale)); });
    // 100 x 50 mm = 377.95 x 188.98 px; pixels go to twips at each direction's resolution;
    // 2.5 and 3.5 px go to the even neighbour. Refused: the width before the height, 0.3 px
    // rounds to 0, -5 (typed in full width) is no size, 1e39 is beyond single precision and
    // 1e400 beyond double, 32767.5 px rounds to 32768, and so do 8670 mm (32768.50 px).
    // Calibrated at 1.25: 100 x 50 true mm = 472.44 x 236.22 px, 4 x 2 in = 480 x 240; the rulers
    // take the same lengths in layout twips.
    // 800 x 700 px were filled in as 211 x 185 mm, or 8 x 7 in: a box left as it was keeps its
    // pixels; 9 in typed over the width gives 864 px; read in another unit the numbers are new.
    const FilledSize mm{kMm, L"211", L"185", 800, 700}, inch{kInch, L"8", L"7", 800, 700};
    const struct { const wchar_t *w, *h; SizeUnit unit; TwipsPerPixel tpp; const wchar_t* want;
                   double scale = 1.0; const FilledSize* filled = nullptr; } typed[] = {
        {L"100", L"50", kMm, k96Dpi, L"378 x 189 px, 5669.3 x 2834.6 twips"},
        {L"100", L"50", kMm, k144Dpi, L"567 x 283 px, 5669.3 x 2834.6 twips"},
        {L"8", L"6.25", kInch, k96Dpi, L"768 x 600 px, 11520.0 x 9000.0 twips"},
        {L"801", L"600", kPx, kSkewed, L"801 x 600 px, 12015.0 x 7200.0 twips"},
        {L"2.5", L"3.5", kPx, k96Dpi, L"2 x 4 px, 37.5 x 52.5 twips"},
        {L"32767.4", L"1.5", kPx, k96Dpi, L"32767 x 2 px, 491511.0 x 22.5 twips"},
        {L"100", L"NaN", kPx, k96Dpi, L"height not a number"}, {L"abc", L"-1", kPx, k96Dpi, L"width not a number"},
        {L"0.3", L"100", kPx, k96Dpi, L"width not positive"}, {L"100", L"－５", kMm, k96Dpi, L"height not positive"},
        {L"100", L"1e39", kPx, k96Dpi, L"height too large"}, {L"1e400", L"100", kPx, k96Dpi, L"width too large"},
        {L"32767.5", L"100", kPx, k96Dpi, L"width too large"}, {L"100", L"8670", kMm, k96Dpi, L"height too large"},
        {L"100", L"50", kMm, k96Dpi, L"472 x 236 px, 7086.6 x 3543.3 twips", 1.25},
        {L"4", L"2", kInch, k96Dpi, L"480 x 240 px, 7200.0 x 3600.0 twips", 1.25},
        {L"4", L"2", kPx, k96Dpi, L"4 x 2 px, 60.0 x 30.0 twips", 1.25},
        {L"211", L"185", kMm, k96Dpi, L"800 x 700 px, 12000.0 x 10500.0 twips", 1.0, &mm},
        {L"9", L"7", kInch, k96Dpi, L"864 x 700 px, 12960.0 x 10500.0 twips", 1.0, &inch},
        {L"211", L"185", kInch, k96Dpi, L"20256 x 17760 px, 303840.0 x 266400.0 twips", 1.0, &mm},
    };
    ExpectRows(typed, [](auto& c) {
        return Outcome(ConvertTypedSize(c.w, c.h, c.unit, c.tpp, c.scale, c.filled));
    });
    // A box's text is a plain decimal number between blanks, or it is no number.
    // Digits, sign, point and space typed in full width, as an input method in full-width mode
    // types them, read like their ASCII forms; a full-width letter is no part of a number.
    const struct { const wchar_t* text; std::optional<double> want; } texts[] = {
        {L" 12.5 ", 12.5}, {L"\t7\t", 7.}, {L".5", .5}, {L"5.", 5.}, {L"2.5E-1", .25}, {L"１００", 100.}, {L"－５", -5.},
        {L"１２．５", 12.5}, {L"\u3000７\u3000", 7.}, {L"１ｅ５", {}}, {L"", {}}, {L"   ", {}}, {L"12abc", {}},
        {L"1 2", {}}, {L"1,000", {}}, {L"nan", {}}, {L"inf", {}}, {L"0x10", {}}, {L"1e", {}}, {L".", {}}, {L"--1", {}}};
    ExpectRows(texts, [](auto& c) { return ParseSizeText(c.text); });
}

// ---- The viewer's zoom ----

// Windows 10 at 100 %: invisible borders of 7 px left, right and bottom, none at the top.
TEST(SizeDialog, TheTypedSizeIsTheVisibleFrameAndTheWindowKeepsItsInvisibleBorders) {
    const struct { PixelRect outer, visible; PixelSize typed, want; } rows[] = {
        {{93, 100, 907, 707}, {100, 100, 900, 700}, {800, 600}, {814, 607}},
        {{0, 0, 640, 480}, {0, 0, 640, 480}, {800, 600}, {800, 600}},        // no borders: Wine, Windows 7
        {{10, 10, 20, 20}, {5, 5, 30, 30}, {800, 600}, {800, 600}},           // a frame beyond the window
        {{-1928, 0, -8, 1047}, {-1920, 0, -16, 1039}, {32767, 1}, {32783, 9}},  // left of the primary
    };
    ExpectRows(rows, [](auto& r) { return OuterSizeForVisibleSize(r.outer, r.visible, r.typed.width, r.typed.height); });
}

TEST(Zoom, ReadsTheReplyLikeValBoundsTheClientAtEightVirtualScreensScalesHalvesToEvenAndAsksUntilUsable) {
    const std::wstring zeros(400, L'0');
    const struct { std::wstring reply; double want; } rows[] = {
        {L"", 0.0}, {L"\t1\n2", 12.0}, {L"- 5", -5.0}, {L"--5", 0.0}, {L"1.5.2", 1.5}, {L".5", 0.5}, {L".", 0.0},
        {L"2E+2", 200.0}, {L"5e-1", 0.5}, {L"1d2", 100.0}, {L"1e+", 1.0}, {L"1ex", 1.0}, {L"&H10", 0.0},
        // Typed in full width: digits with the percent sign, sign (the full-width hyphen and the
        // minus sign proper), point and ideographic space; a full-width letter ends the number.
        {L"７５％", 75.0}, {L"－５", -5.0}, {L"\u2212２", -2.0}, {L"１．５", 1.5}, {L"７\u3000５", 75.0}, {L"２Ｅ２", 2.0},
        // Beyond double: infinity of the number's sign, or zero; the exponent can bring many
        // leading zeros back into range.
        {L"-1e400", -kInf}, {L"1e-400", 0.0}, {L"1" + zeros, kInf}, {L"0e1000000", 0.0},
        {L"0." + zeros + L"1e-100", 0.0}, {L"0." + zeros + L"1e500", 1e99}, {L"0." + zeros + L"1e1000", kInf},
    };
    ExpectRows(rows, [](auto& c) { return ReadLeadingNumber(c.reply); });
    // On 1920 x 1080, 400 x 300 allows 3840 % by its width and 2880 % by its height;
    // 2000 x 100 allows 768 % by its width. A sizeless re-drawing has no upper bound, but
    // infinity is still refused.
    using enum ZoomPercentVerdict;
    const struct { double percent; int32_t w, h; ZoomPercentVerdict want; } verdicts[] = {
        {2880.0, 400, 300, Accept}, {2880.01, 400, 300, TooLarge}, {768.0, 2000, 100, Accept},
        {769.0, 2000, 100, TooLarge}, {0.0, 400, 300, NotPositive},
        {std::nan(""), 400, 300, NotPositive}, {1e6, 0, 0, Accept}, {kInf, 0, 0, TooLarge}};
    ExpectRows(verdicts, [](auto& c) { return ClassifyZoomPercent(c.percent, c.w, c.h, 1920, 1080); });
    EXPECT_EQ(std::tuple(MaxZoomPercent(400, 300, 1920, 1080), MaxZoomPercent(2000, 100, 1920, 1080),
                         MaxZoomPercent(0, 0, 1920, 1080)), std::tuple(2880.0, 768.0, kInf));
    EXPECT_NE(ZoomTooLargeMessage(2880.75).find(L"2880％"), std::wstring::npos) << "whole percent, floored";
    // An accepted zoom scales the natural size, halves to even: 50.5 -> 50, 51.5 -> 52;
    // 499.5 -> 500, 1.5 -> 2.
    const struct { int32_t w, h; double f; Pair want; } sizes[] = {{101, 103, 0.5, {50, 52}}, {333, 1, 1.5, {500, 2}}};
    ExpectRows(sizes, [](auto& c) { return Size(ZoomedClientSize(c.w, c.h, c.f)); });
    // 400 x 300 on a 1024 x 768 screen: 8 x 1024 / 400 = 20.48, so at most 2048 %. Past the
    // last reply, Cancel. Unusable replies bring the box back silently; too large ones are
    // refused with a message naming the limit (only those are counted): zoom, asked, refused.
    using Asked = std::tuple<std::optional<double>, size_t, size_t>;
    const struct { std::vector<std::optional<std::wstring>> typed; Asked want; } replies[] = {
        {{std::nullopt, L"50"}, {std::nullopt, 1, 0}}, {{L"0", L"-5", L"abc", L"", L"150%"}, {150.0, 5, 0}},
        {{L"100000", L"2049", L"2048", L"1"}, {2048.0, 3, 2}}};
    ExpectRows(replies, [](auto& c) {
        size_t asked = 0, refused = 0;
        auto ask = [&] { return asked < c.typed.size() ? c.typed[asked++] : std::nullopt; };
        auto refuse = [&](const std::wstring& text) { refused += text.find(L"2048") != std::wstring::npos; };
        return Asked(AskZoomPercent(ask, refuse, 400, 300, 1024, 768), asked, refused);
    });
}

// ---- Picture files ----

// A bitmap file at 3780 x 3779 pixels per metre: file header ("BM", size, reserved, offset),
// BITMAPINFOHEADER (its size, width, height positive for bottom-up rows, planes, depth,
// BI_RGB, image size, resolution, colours used and important), then colour table and rows.
Bytes Bmp(uint32_t size, uint32_t offBits, uint32_t w, uint32_t h, uint32_t bits, uint32_t clrUsed, Bytes rest) {
    Bytes out;
    for (auto [value, bytes] : {std::pair{0x4D42u, 2}, {size, 4}, {0u, 4}, {offBits, 4}, {40u, 4}, {w, 4}, {h, 4}, {1u, 2},
                                {bits, 2}, {0u, 4}, {size - offBits, 4}, {3780u, 4}, {3779u, 4}, {clrUsed, 4}, {0u, 4}})
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

TEST(PictureFiles, BmpSizesHeadersTablesAndPaddedRowsOrNothingIfInconsistentAndPlaceableMetafileHeadersAndSizes) {
    const struct { int32_t width, bits; size_t want; } rowSizes[] = {{2, 24, 8}, {4, 24, 12}, {32, 1, 4}, {33, 1, 8}, {-1, 24, 0}, {1, 2, 0}};
    ExpectRows(rowSizes, [](auto& c) { return BmpRowSize(c.width, c.bits); });
    // 54 + 1024 of table + 3 rows of 8; the largest such file, one byte short of 4 GiB, and one
    // of 40 bytes more; row x height that would overflow a signed 64-bit product; a table whose
    // size overflows; no width, no height, a negative width, a depth no file has.
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const struct { int32_t width, height, bits; size_t colors; std::optional<uint32_t> want; } rows[] = {
        {5, 3, 8, 256, 1102u}, {107374181, 10, 32, 0, 4294967294u}, {107374182, 10, 32, 0, std::nullopt},
        {kMax, kMax, 32, 0, std::nullopt}, {1, 1, 8, SIZE_MAX / 4, std::nullopt}, {0, 1, 24, 0, std::nullopt},
        {1, 0, 24, 0, std::nullopt}, {-1, 1, 24, 0, std::nullopt}, {1, 1, 2, 0, std::nullopt},
    };
    ExpectRows(rows, [](auto& c) { return BmpFileSize(c.width, c.height, c.bits, c.colors); });
    // Two top-down rows of 2 px at 24 bits, their padding not zero; two bottom-up rows of 1 px,
    // 8 bytes apart. Only the bytes holding pixels are copied. RGBQUAD entries are blue, green,
    // red and a reserved zero whatever the top byte held; a full table is counted as 0, a
    // partial one by its size.
    // Refused: 13 bytes where 2 x 2 at 24 bits needs 8 + 6 (the last row only its pixels),
    // overlapping rows, no width, a table at 24 bits, none at 8 bits, 3 colours at 1 bit.
    const struct { int32_t w, h, bits; int64_t step; bool topDown; Bytes px; uint32_t colors; Bytes want; } files[] = {
        {2, 2, 24, 0, true, {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE}, 0, Bmp(70, 54, 2, 2, 24, 0, {7, 8, 9, 10, 11, 12, 0, 0, 1, 2, 3, 4, 5, 6, 0, 0})},
        {1, 2, 24, 8, false, {1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 4, 5, 6, 0xEE}, 0, Bmp(62, 54, 1, 2, 24, 0, {1, 2, 3, 0, 4, 5, 6, 0})},
        {3, 1, 1, 0, false, Bytes(4, 0xA5), 2, Bmp(66, 62, 3, 1, 1, 0, {0x33, 0x22, 0x11, 0, 0x34, 0x22, 0x11, 0, 0xA5, 0, 0, 0})},
        {3, 1, 4, 0, false, Bytes(4, 0xA5), 3, Bmp(70, 66, 3, 1, 4, 3, {0x33, 0x22, 0x11, 0, 0x34, 0x22, 0x11, 0, 0x35, 0x22, 0x11, 0, 0xA5, 0xA5, 0, 0})},
        {2, 2, 24, 0, false, Bytes(14), 0, Bmp(70, 54, 2, 2, 24, 0, Bytes(16))},
        {2, 2, 24, 0, false, Bytes(13), 0, {}}, {2, 2, 24, 5, false, Bytes(64), 0, {}},
        {0, 2, 24, 0, false, Bytes(64), 0, {}}, {2, 2, 24, 0, false, Bytes(64), 1, {}},
        {2, 2, 8, 0, false, Bytes(64), 0, {}},  {2, 2, 1, 0, false, Bytes(64), 3, {}},
    };
    ExpectRows(files, [](auto& c) {
        BmpSource s{c.w, c.h, c.bits, {}, c.topDown, c.step, c.px, 3780, 3779};
        for (uint32_t i = 0; i < c.colors; ++i) s.colorTable.push_back(0xFF112233u + i);
        return BuildBmpFile(s).value_or(Bytes{});
    });
    // Metafiles: the placeable header declares the finest unit that fits, and its checksum.
    // Up to 32767 in HIMETRIC itself; then in units of 2 HIMETRIC, of 4, of 5 where 2 and 4
    // would round the 5, or rounded (20000.5 -> 20000) where nothing divides both sides; 32767
    // inches at most (32767.5004 in refused). Units per inch 0: refused. Right, bottom, units
    // per inch, exact.
    using Bounds = std::tuple<int16_t, int16_t, uint16_t, bool>;
    const struct { int32_t w, h; Bounds want; } metafiles[] = {
        {10000, 5000, {10000, 5000, 2540, true}}, {32767, 1, {32767, 1, 2540, true}},
        {32768, 100, {16384, 50, 1270, true}}, {100000, 50000, {25000, 12500, 635, true}},
        {40000, 5, {8000, 1, 508, true}}, {40001, 10, {20000, 5, 1270, false}}, {1, 83228180, {0, 32767, 1, false}},
        {83229451, 10, {}}, {-1, 10, {}}, {std::numeric_limits<int32_t>::max(), 1, {}}, {10, -1, {}},
    };
    ExpectRows(metafiles, [](auto& c) {
        const PlaceableBounds b = PlaceableBoundsForHimetric(c.w, c.h).value_or(PlaceableBounds{});
        return Bounds(b.right, b.bottom, b.unitsPerInch, b.exact);
    });
    // The file declares the picture's own HIMETRIC size, not its size in twips.
    const PlaceableBounds quarter{0, 0, 25000, 12500, 635};
    EXPECT_EQ(std::pair(DeclaredHimetricWidth(quarter), DeclaredHimetricHeight(quarter)), std::pair(100000.0, 50000.0));
    // Checksum worked by hand: CDD7 ^ 9AC6 ^ 0 ^ 0 ^ 0 ^ 2710 ^ 1388 ^ 09EC ^ 0 ^ 0 = 6A65.
    EXPECT_EQ(BuildPlaceableWmfFile(PlaceableBounds{0, 0, 10000, 5000, 2540, true}, Bytes{1, 0, 9, 0, 0, 3}),
              (Bytes{0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x10, 0x27, 0x88, 0x13, 0xEC, 0x09, 0, 0, 0, 0, 0x65, 0x6A, 1, 0, 9, 0, 0, 3}));
    // 10000 x 5000 HIMETRIC = 377.95 x 188.98 px at 15 twips per pixel, 236.22 px high at 12;
    // refused (-1) without a resolution or with a negative size.
    const struct { int32_t w, h; TwipsPerPixel tpp; Pair want; } bitmaps[] = {
        {10000, 5000, k96Dpi, {378, 189}}, {10000, 5000, kSkewed, {378, 236}}, {0, 0, k96Dpi, {0, 0}},
        {10000, 5000, {0.0, 15.0}, {-1, -1}}, {-10000, 5000, k96Dpi, {-1, -1}},
    };
    ExpectRows(bitmaps, [](auto& c) {
        return Size(MetafileBitmapSize(c.w, c.h, c.tpp).value_or(RenderedBitmapSize{-1, -1}));
    });
}

// ---- Saving ----

// A saved file's extension is its format's: one of the five picture extensions, in any case,
// replaced; anything else kept and the extension appended, after Windows has dropped trailing
// dots and spaces; a folder's extension is no file's. Past MAX_PATH the file functions take a
// full path as a \\?\ or \\?\UNC\ path.
TEST(SavedFiles, NamesEndInTheFormatsExtensionAndLongPathsTakeTheExtendedForm) {
    using F = PictureFileFormat;
    const struct { const wchar_t* name; F format; std::wstring want; } names[] = {
        {L"shot.bmp", F::Png, L"shot.png"}, {L"v1.2", F::Png, L"v1.2.png"}, {L"C:\\pics\\SHOT.PNG", F::Bmp, L"C:\\pics\\SHOT.bmp"},
        {L"shot.Svg", F::Emf, L"shot.emf"}, {L"shot.wmf", F::Wmf, L"shot.wmf"}, {L"shot", F::Svg, L"shot.svg"}, {L"shot.txt", F::Png, L"shot.txt.png"},
        {L"shotbmp", F::Wmf, L"shotbmp.wmf"}, {L"shot.bmp. ", F::Png, L"shot.png"}, {L"C:\\a.bmp\\shot", F::Emf, L"C:\\a.bmp\\shot.emf"}};
    ExpectRows(names, [](auto& c) { return PictureFileName(c.name, c.format); });
    const struct { const wchar_t* path; std::wstring want; } paths[] = {{L"C:\\a\\b.png", L"\\\\?\\C:\\a\\b.png"},
        {L"\\\\srv\\share\\b.png", L"\\\\?\\UNC\\srv\\share\\b.png"}, {L"\\\\?\\C:\\b.png", L"\\\\?\\C:\\b.png"}, {L"\\\\.\\COM1", L"\\\\.\\COM1"}};
    ExpectRows(paths, [](auto& c) { return ExtendedLengthPath(c.path); });
}

// The calls that put a complete new file in its target's place, by how the last one ended (the
// Win32 error numbers): ReplaceFileW first, which keeps what the old file carries; a target
// that is not there (2) is moved to, one that appeared meanwhile (80, 183) replaced after all.
// A file held by another program (5, 32, 33, and 1175, 1176, where both files kept their
// names) is tried again after a pause while the time lasts; when the old file was left under
// the previous name (1177) it is put back first. Anything else fails at once. Which function
// each call is, with which names, is left to the in-process test that saves over real files.
TEST(SavedFiles, TheCallsThatReplaceATargetFollowHowTheLastEnded) {
    using C = ReplaceCall;
    const struct { C last; uint32_t error; bool timeLeft; std::pair<C, bool> want; } steps[] = {
        {C::Replace, 0, true, {C::Done, false}}, {C::Move, 0, false, {C::Done, false}}, {C::Replace, 2, true, {C::Move, false}},
        {C::Move, 183, true, {C::Replace, true}}, {C::Move, 80, false, {C::Fail, false}}, {C::Replace, 32, true, {C::Replace, true}},
        {C::Replace, 5, true, {C::Replace, true}}, {C::Replace, 1175, true, {C::Replace, true}}, {C::Replace, 1176, true, {C::Replace, true}},
        {C::Move, 33, true, {C::Move, true}}, {C::Replace, 32, false, {C::Fail, false}}, {C::Replace, 1177, false, {C::PutBack, false}},
        {C::PutBack, 0, true, {C::Replace, true}}, {C::PutBack, 0, false, {C::Fail, false}}, {C::PutBack, 5, true, {C::PutBack, true}},
        {C::PutBack, 32, false, {C::Move, false}},
        {C::Replace, 3, true, {C::Fail, false}}, {C::Move, 112, true, {C::Fail, false}}, {C::Move, 2, true, {C::Fail, false}}};
    ExpectRows(steps, [](auto& c) { auto s = NextReplaceStep(c.last, c.error, c.timeLeft); return std::pair(s.call, s.afterPause); });
    // A move never replaces (MOVEFILE_REPLACE_EXISTING, 1): a file that appeared at the target
    // meanwhile is the user's and stays. It reaches the disk before it counts (WRITE_THROUGH, 8).
    // No save over real files can tell either flag.
    for (C call : {C::Move, C::PutBack}) EXPECT_EQ(CallFor(call).flags, 0x8u) << static_cast<int>(call);
}

}  // namespace
}  // namespace plumbo
