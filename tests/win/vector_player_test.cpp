// Part lists played into enhanced metafiles, checked record by record.
#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "emf_records.h"
#include "platform/gdi_win.h"
#include "core/numeric.h"
#include "vector/player_win.h"

namespace plumbo {
namespace {

using Lines = std::vector<std::string>;
using test::Fmt;

constexpr TwipsPerPixel k96Dpi{15, 15};
constexpr TwipsPerPixel k120Dpi{12, 12};

PartList List(double w, double h, int32_t unit = kUnitPixels) {
    PartList list;
    list.unit = unit;
    list.width = w;
    list.height = h;
    return list;
}

// The records of the list played, and the picture when asked for.
Lines Play(const PartList& list, TwipsPerPixel tpp = k96Dpi, HDC reference = nullptr, Picture* played = nullptr) {
    Picture p = PlayPartList(reference, list, tpp);
    Lines records = p.EnhMetafile() ? test::Describe(p.EnhMetafile()) : Lines{};
    if (played) *played = std::move(p);
    return records;
}

// The records after the header and the mapping, without EOF.
Lines Body(const Lines& all) { return all.size() < 7 ? Lines{} : Lines(all.begin() + 6, all.end() - 1); }

// Only the records whose line starts with one of the prefixes.
Lines Only(const Lines& records, std::initializer_list<const char*> prefixes) {
    Lines out;
    for (const auto& r : records)
        if (std::any_of(prefixes.begin(), prefixes.end(), [&](const char* p) { return r.rfind(p, 0) == 0; }))
            out.push_back(r);
    return out;
}

#define EXPECT_RECORDS(actual, expected) EXPECT_EQ(actual, expected) << "records:\n" << test::Dump(actual)

// The header and mapping of an empty list: the drawing spans the frame as the reference
// device (the screen) measures it.
Lines EmptyRecords(long frameRight, long frameBottom, long windowW, long windowH) {
    HDC dc = GetDC(nullptr);
    double x = frameRight * GetDeviceCaps(dc, HORZRES) / (GetDeviceCaps(dc, HORZSIZE) * 100.0);
    double y = frameBottom * GetDeviceCaps(dc, VERTRES) / (GetDeviceCaps(dc, VERTSIZE) * 100.0);
    ReleaseDC(nullptr, dc);
    return {Fmt("HEADER frame 0,0,%ld,%ld", frameRight, frameBottom), "SETMAPMODE 8", "VIEWPORTORG 0,0",
            Fmt("VIEWPORTEXT %ld,%ld", std::lrint(x), std::lrint(y)), "WINDOWORG 0,0",
            Fmt("WINDOWEXT %ld,%ld", windowW, windowH), "EOF"};
}

TEST(PlayPartList, EmptyListGivesAnEmptyMetafileOfTheFrame) {
    struct Case {
        PartList list;
        TwipsPerPixel tpp;
        Lines expected;
    };
    const Case cases[] = {
        // 900 px at 15 twips: 23812.5 HIMETRIC, rounded to even; 300 px: 7937.5 -> 7938.
        {List(900, 300), k96Dpi, EmptyRecords(23812, 7938, 900, 300)},
        // 120 dpi: 400 px = 8466.67 HIMETRIC, 300 px = 6350.
        {List(400, 300), k120Dpi, EmptyRecords(8467, 6350, 400, 300)},
        // A list in twips: 1500 x 750 twips = 100 x 50 px, 2645.8 x 1322.9 HIMETRIC.
        {List(1500, 750, kUnitTwips), k96Dpi, EmptyRecords(2646, 1323, 1500, 750)},
    };
    for (const Case& c : cases) {
        Picture p;
        EXPECT_RECORDS(Play(c.list, c.tpp, nullptr, &p), c.expected);
        ASSERT_EQ(p.Kind(), PictureKind::EnhMetafile);
        ENHMETAHEADER header{};
        ASSERT_TRUE(GetEnhMetaFileHeader(p.EnhMetafile(), sizeof header, &header));
        EXPECT_EQ(header.dSignature, static_cast<DWORD>(ENHMETA_SIGNATURE));
        EXPECT_EQ(p.HimetricWidth(), header.rclFrame.right);
        EXPECT_EQ(p.HimetricHeight(), header.rclFrame.bottom);
    }
}

TEST(PlayPartList, SizesBeyond32BitsOrAnUnknownUnitGiveNoPicture) {
    EXPECT_TRUE(PlayPartList(nullptr, List(1e12, 10), k96Dpi).Empty());
    EXPECT_TRUE(PlayPartList(nullptr, List(10, 10, 2), k96Dpi).Empty());
}

// A rectangle record holds its box inclusive: Rectangle(10, 20, 40, 60) is kept as 10,20,39,59.
TEST(PlayPartList, RectanglesBrushesAndPens) {
    auto filled = [](const char* brush, long penWidth, const char* rect) {
        return Lines{brush, "SELECT obj", Fmt("PEN style 0 width %ld color 000000", penWidth), "SELECT obj", rect,
                     "SELECT stock", "DELETE", "SELECT stock", "DELETE"};
    };
    const char* hollow = "BRUSH style 2 hatch 0 color ffffff";
    auto with = [](DrawPart part, auto change) {
        change(part.rect);
        return part;
    };
    const DrawPart box = Box(10, 20, 30, 40);
    struct Case {
        const char* name;
        DrawPart part;
        Lines expected;
    };
    const Case cases[] = {
        {"drawers' box", box, filled(hollow, 0, "RECTANGLE 10,20,39,59")},
        {"solid", with(box, [](RectPart& r) { r.hatch = 999; r.outline = 0; r.fillColor = 0x123456; }),
         filled("BRUSH style 0 hatch 0 color 123456", 0, "RECTANGLE 10,20,39,59")},
        {"pen 2.5 rounds to even 2", with(Box(0, 0, 5, 5), [](RectPart& r) { r.penWidth = 25; }),
         filled(hollow, 2, "RECTANGLE 0,0,4,4")},
        {"pen 3.5 rounds to 4", with(Box(0, 0, 5, 5), [](RectPart& r) { r.penWidth = 35; }),
         filled(hollow, 4, "RECTANGLE 0,0,4,4")},
        // Hatch 999 with outline -1: five points, pen width 1 undivided.
        {"outline", with(box, [](RectPart& r) { r.hatch = 999; }),
         {"PEN style 0 width 1 color 000000", "SELECT obj", "MOVETO 10,20", "LINETO 40,20", "LINETO 40,60",
          "LINETO 10,60", "LINETO 10,20", "SELECT stock", "DELETE"}},
        // Coordinates are rounded when used, halves to even: 2.5 -> 2, 3.5 -> 4, then the far
        // corner 4.5 -> 4 and 5.5 -> 6.
        {"rounding", Box(2.5, 3.5, 2, 2), filled(hollow, 0, "RECTANGLE 2,4,3,5")},
        // The caption's hatch code is outside the hatch styles: white on white, still drawn.
        {"caption hatch", Box(1, 2, 3, 4, kHatchCaption),
         filled("BRUSH style 0 hatch 0 color ffffff", 0, "RECTANGLE 1,2,3,5")},
    };
    for (const Case& c : cases) {
        PartList list = List(100, 100);
        AddPart(list, c.part);
        EXPECT_RECORDS(Body(Play(list)), c.expected) << c.name;
    }
}

TEST(PlayPartList, LinesAndPolylinesUseWholePenWidths) {
    PartList list = List(100, 100);
    AddPart(list, Line(1.5, 2.5, 30, 40));
    DrawPart arrow = Arrow(10, 10, {4.25, 12.75, 8.5}, {4.25, 4.25, 12.75});
    arrow.polyline.penWidth = 3;
    AddPart(list, arrow);
    EXPECT_RECORDS(Body(Play(list)),
                   (Lines{"PEN style 0 width 1 color 000000", "SELECT obj", "MOVETO 2,2", "LINETO 30,40", "SELECT stock",
                          "DELETE", "PEN style 0 width 3 color 000000", "SELECT obj", "MOVETO 14,14", "LINETO 23,14",
                          "LINETO 18,23", "LINETO 14,14", "SELECT stock", "DELETE"}));
}

TEST(PlayPartList, TextsWithTheirFontsInUtf16) {
    WindowDc screen(nullptr);
    Font font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, kDrawerFace));
    TEXTMETRICW tm{};
    {
        SelectGuard select(screen.Get(), font.Get());
        GetTextMetricsW(screen.Get(), &tm);
    }
    const long avg = tm.tmAveCharWidth;
    ASSERT_GT(avg, 0);

    PartList list = List(200, 100);
    AddPart(list, BoxedText(10, 20, 100, 19, L"ファイル(&F)", kFormatVCenter));
    DrawPart point = PointText(5, 6, kDrawerFace, L"Group", -1);
    point.text.textColor = 0x0000FF;  // has no effect
    AddPart(list, point);
    const Lines records = Play(list);
    Lines texts = Only(records, {"FONT", "TEXT", "SETBKMODE", "SETTEXTCOLOR"});
    const std::string face = " face '" + test::Utf8(kDrawerFace) + "'";
    ASSERT_EQ(texts.size(), 7u) << test::Dump(records);  // no text colour for a point text
    EXPECT_EQ(texts[0], "SETBKMODE 1");
    EXPECT_EQ(texts[1], Fmt("FONT height -12 width %ld esc 0", avg) + face);
    EXPECT_EQ(texts[2], "SETTEXTCOLOR 000000");
    // The mnemonic "&" is not printed: DrawText without DT_NOPREFIX.
    EXPECT_NE(texts[3].find("'ファイル(F)'"), std::string::npos) << test::Dump(texts);
    EXPECT_EQ(texts[4], "SETBKMODE 2");
    EXPECT_EQ(texts[5], Fmt("FONT height -12 width %ld esc 0", static_cast<long>(RoundHalfEvenD(0.7 * avg))) + face);
    EXPECT_EQ(texts[6], "TEXT 5,6 'Group'");
}

TEST(PlayPartList, FontHeightFollowsTheScreenResolution) {
    PartList list = List(100, 100);
    AddPart(list, PointText(0, 0, kDrawerFace, L"x", 0));
    const Lines records = Play(list, k120Dpi);
    EXPECT_EQ(Only(records, {"FONT height -15 "}).size(), 1u) << test::Dump(records);  // 9 points at 120 dpi
}

TEST(PlayPartList, FaceNamesAreCopiedWholeAndAnEmptyOneKeepsTheLast) {
    struct Case {
        std::vector<std::wstring> faces;
        std::string lastFace;
    };
    const Case cases[] = {
        {{L""}, ""},  // nothing named yet: the platform's default face
        {{L"", L"Arial"}, "Arial"},
        {{L"Courier New", L"Arial"}, "Arial"},  // no "Arialr New"
        {{L"Courier New", L"", L""}, "Courier New"},
        {{L"Arial", L"Courier New", L""}, "Courier New"},
    };
    for (const Case& c : cases) {
        PartList list = List(100, 100);
        for (const auto& face : c.faces) AddPart(list, PointText(0, 0, face, L"x", 0));
        Lines fonts = Only(Play(list), {"FONT"});
        ASSERT_EQ(fonts.size(), c.faces.size()) << test::Dump(fonts);
        EXPECT_NE(fonts.back().find("face '" + c.lastFace + "'"), std::string::npos) << fonts.back();
    }
}

TEST(PlayPartList, LeavesTheReferenceContextAsItWas) {
    WindowDc screen(nullptr);
    MemoryDc reference(screen.Get());
    Font font(CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    Pen pen(CreatePen(PS_DASH, 1, RGB(1, 2, 3)));
    SelectGuard f(reference.Get(), font.Get());
    SelectGuard pe(reference.Get(), pen.Get());
    SetMapMode(reference.Get(), MM_TEXT);
    SetBkMode(reference.Get(), OPAQUE);

    PartList list = List(100, 100);
    AddPart(list, Box(0, 0, 10, 10));
    AddPart(list, BoxedText(0, 0, 50, 20, L"text", kFormatCentre));
    AddPart(list, PointText(0, 0, L"", L"text", 0));
    ASSERT_FALSE(Play(list, k96Dpi, reference.Get()).empty());
    EXPECT_EQ(GetCurrentObject(reference.Get(), OBJ_FONT), font.Get());
    EXPECT_EQ(GetCurrentObject(reference.Get(), OBJ_PEN), pen.Get());
    EXPECT_EQ(GetMapMode(reference.Get()), MM_TEXT);
    EXPECT_EQ(GetBkMode(reference.Get()), OPAQUE);
}

TEST(MakeFont, FillsTheLogfontFromTheRequest) {
    WindowDc screen(nullptr);
    LOGFONTW lf{};
    float factor = 0;
    FontRequest r{.dc = screen.Get(), .face = L"Arial", .size = 10};
    Font f(MakeFont(r, lf, factor, k96Dpi));
    ASSERT_TRUE(f);
    EXPECT_FLOAT_EQ(factor, 20.0f / 15.0f);
    // Height 13.33; the width is left natural.
    EXPECT_EQ(std::tuple(lf.lfHeight, lf.lfWidth, lf.lfWeight), std::tuple(-13L, 0L, LONG{FW_NORMAL}));
    EXPECT_STREQ(lf.lfFaceName, L"Arial");

    // A factor given is kept; an empty face keeps the last named one; a width percent narrows
    // the face against its own average character width.
    factor = 2;
    Font g(MakeFont({.dc = screen.Get(), .face = L"", .size = 9, .widthPercent = 50}, lf, factor, k96Dpi));
    EXPECT_EQ(lf.lfHeight, -18L);
    EXPECT_GT(lf.lfWidth, 0L);
    EXPECT_STREQ(lf.lfFaceName, L"Arial");
}

}  // namespace
}  // namespace plumbo
