#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <string>
#include <vector>

#include "emf_records.h"
#include "platform/gdi_win.h"
#include "platform/numeric.h"
#include "vector/player_win.h"

namespace plumbo {
namespace {

using Lines = std::vector<std::string>;

constexpr TwipsPerPixel k96Dpi{15, 15};
constexpr TwipsPerPixel k120Dpi{12, 12};

PartList PixelList(double w, double h) {
    PartList list;
    list.unit = kUnitPixels;
    list.width = w;
    list.height = h;
    return list;
}

// The records after the header and the mapping, without EOF.
Lines Body(const Lines& all) {
    if (all.size() < 7) return {};
    return Lines(all.begin() + 6, all.end() - 1);
}

struct Played {
    Picture picture;
    Lines records;
};

Played Play(const PartList& list, TwipsPerPixel tpp = k96Dpi, HDC reference = nullptr) {
    Played p{PlayPartList(reference, list, tpp), {}};
    if (p.picture.EnhMetafile()) p.records = test::Describe(test::ReadRecords(p.picture.EnhMetafile()));
    return p;
}

// The drawing spans the frame as the reference device (the screen) measures it.
std::string ViewportExt(int frameRight, int frameBottom) {
    HDC dc = GetDC(nullptr);
    double x = frameRight * GetDeviceCaps(dc, HORZRES) / (GetDeviceCaps(dc, HORZSIZE) * 100.0);
    double y = frameBottom * GetDeviceCaps(dc, VERTRES) / (GetDeviceCaps(dc, VERTSIZE) * 100.0);
    ReleaseDC(nullptr, dc);
    return "VIEWPORTEXT " + std::to_string(static_cast<int>(std::nearbyint(x))) + "," +
           std::to_string(static_cast<int>(std::nearbyint(y)));
}

#define EXPECT_RECORDS(actual, expected) \
    EXPECT_EQ(actual, expected) << "records:\n" << test::Dump(actual)

TEST(PlayPartList, EmptyListGivesAnEmptyMetafileOfTheFrame) {
    struct Case {
        PartList list;
        TwipsPerPixel tpp;
        Lines expected;
    };
    PartList twips;
    twips.unit = kUnitTwips;
    twips.width = 1500;
    twips.height = 750;
    const Case cases[] = {
        // 900 px at 15 twips: 23812.5 HIMETRIC, rounded to even; 300 px: 7937.5 -> 7938.
        {PixelList(900, 300), k96Dpi,
         {"HEADER frame 0,0,23812,7938", "SETMAPMODE 8", "VIEWPORTORG 0,0", ViewportExt(23812, 7938), "WINDOWORG 0,0",
          "WINDOWEXT 900,300", "EOF"}},
        // 120 dpi: 400 px = 8466.67 HIMETRIC, 300 px = 6350.
        {PixelList(400, 300), k120Dpi,
         {"HEADER frame 0,0,8467,6350", "SETMAPMODE 8", "VIEWPORTORG 0,0", ViewportExt(8467, 6350), "WINDOWORG 0,0",
          "WINDOWEXT 400,300", "EOF"}},
        // A list in twips: 1500 x 750 twips = 100 x 50 px, 2645.8 x 1322.9 HIMETRIC.
        {twips, k96Dpi,
         {"HEADER frame 0,0,2646,1323", "SETMAPMODE 8", "VIEWPORTORG 0,0", ViewportExt(2646, 1323), "WINDOWORG 0,0",
          "WINDOWEXT 1500,750", "EOF"}},
    };
    for (const Case& c : cases) {
        Played p = Play(c.list, c.tpp);
        ASSERT_EQ(p.picture.Kind(), PictureKind::EnhMetafile);
        EXPECT_RECORDS(p.records, c.expected);
        ENHMETAHEADER header{};
        ASSERT_TRUE(GetEnhMetaFileHeader(p.picture.EnhMetafile(), sizeof header, &header));
        EXPECT_EQ(header.iType, static_cast<DWORD>(EMR_HEADER));
        EXPECT_EQ(header.dSignature, static_cast<DWORD>(ENHMETA_SIGNATURE));
        EXPECT_EQ(p.picture.HimetricWidth(), header.rclFrame.right);
        EXPECT_EQ(p.picture.HimetricHeight(), header.rclFrame.bottom);
    }
}

TEST(PlayPartList, SizesBeyond32BitsGiveNoPicture) {
    EXPECT_TRUE(PlayPartList(nullptr, PixelList(1e12, 10), k96Dpi).Empty());
    PartList unknownUnit = PixelList(10, 10);
    unknownUnit.unit = 2;
    EXPECT_TRUE(PlayPartList(nullptr, unknownUnit, k96Dpi).Empty());
}

// A rectangle record holds its box inclusive: Rectangle(10, 20, 40, 60) is kept as 10,20,39,59.
TEST(PlayPartList, RectanglesBrushesAndPens) {
    struct Case {
        const char* name;
        DrawPart part;
        Lines expected;
    };
    DrawPart solid = Box(10, 20, 30, 40);
    solid.rect.hatch = 999;
    solid.rect.outline = 0;
    solid.rect.fillColor = 0x123456;
    DrawPart wide = Box(0, 0, 5, 5);
    wide.rect.penWidth = 25;  // 2.5 rounds to even 2
    DrawPart wider = Box(0, 0, 5, 5);
    wider.rect.penWidth = 35;  // 3.5 rounds to 4
    DrawPart outline = Box(10, 20, 30, 40);
    outline.rect.hatch = 999;  // with outline -1: five points, pen width 1 undivided
    const Case cases[] = {
        {"drawers' box", Box(10, 20, 30, 40),
         {"BRUSH style 2 hatch 0 color ffffff", "SELECT obj", "PEN style 0 width 0 color 000000", "SELECT obj",
          "RECTANGLE 10,20,39,59", "SELECT stock", "DELETE", "SELECT stock", "DELETE"}},
        {"solid", solid,
         {"BRUSH style 0 hatch 0 color 123456", "SELECT obj", "PEN style 0 width 0 color 000000", "SELECT obj",
          "RECTANGLE 10,20,39,59", "SELECT stock", "DELETE", "SELECT stock", "DELETE"}},
        {"pen 2.5", wide,
         {"BRUSH style 2 hatch 0 color ffffff", "SELECT obj", "PEN style 0 width 2 color 000000", "SELECT obj",
          "RECTANGLE 0,0,4,4", "SELECT stock", "DELETE", "SELECT stock", "DELETE"}},
        {"pen 3.5", wider,
         {"BRUSH style 2 hatch 0 color ffffff", "SELECT obj", "PEN style 0 width 4 color 000000", "SELECT obj",
          "RECTANGLE 0,0,4,4", "SELECT stock", "DELETE", "SELECT stock", "DELETE"}},
        {"outline", outline,
         {"PEN style 0 width 1 color 000000", "SELECT obj", "MOVETO 10,20", "LINETO 40,20", "LINETO 40,60",
          "LINETO 10,60", "LINETO 10,20", "SELECT stock", "DELETE"}},
        // Coordinates are rounded when used, halves to even: 2.5 -> 2, 3.5 -> 4, then the
        // far corner 4.5 -> 4 and 5.5 -> 6.
        {"rounding", Box(2.5, 3.5, 2, 2),
         {"BRUSH style 2 hatch 0 color ffffff", "SELECT obj", "PEN style 0 width 0 color 000000", "SELECT obj",
          "RECTANGLE 2,4,3,5", "SELECT stock", "DELETE", "SELECT stock", "DELETE"}},
    };
    for (const Case& c : cases) {
        PartList list = PixelList(100, 100);
        AddPart(list, c.part);
        Played p = Play(list);
        EXPECT_RECORDS(Body(p.records), c.expected) << c.name;
    }
}

TEST(PlayPartList, CaptionHatchStillDrawsTheRectangle) {
    PartList list = PixelList(100, 100);
    AddPart(list, Box(1, 2, 3, 4, kHatchCaption));
    Played p = Play(list);
    Lines body = Body(p.records);
    EXPECT_NE(std::find(body.begin(), body.end(), "RECTANGLE 1,2,3,5"), body.end()) << test::Dump(p.records);
    EXPECT_NE(std::find(body.begin(), body.end(), "PEN style 0 width 0 color 000000"), body.end());
}

TEST(PlayPartList, LinesAndPolylinesUseWholePenWidths) {
    PartList list = PixelList(100, 100);
    DrawPart line = Line(1.5, 2.5, 30, 40);
    AddPart(list, line);
    DrawPart arrow = Arrow(10, 10, {4.25, 12.75, 8.5}, {4.25, 4.25, 12.75});
    arrow.polyline.penWidth = 3;
    AddPart(list, arrow);
    Played p = Play(list);
    EXPECT_RECORDS(Body(p.records),
                   (Lines{"PEN style 0 width 1 color 000000", "SELECT obj", "MOVETO 2,2", "LINETO 30,40", "SELECT stock",
                          "DELETE", "PEN style 0 width 3 color 000000", "SELECT obj", "MOVETO 14,14", "LINETO 23,14",
                          "LINETO 18,23", "LINETO 14,14", "SELECT stock", "DELETE"}));
}

// The font, background mode and text records of the text parts, in order.
Lines TextRecords(const Lines& records) {
    Lines out;
    for (const auto& r : records)
        if (r.rfind("FONT", 0) == 0 || r.rfind("TEXT", 0) == 0 || r.rfind("SETBKMODE", 0) == 0 ||
            r.rfind("SETTEXTCOLOR", 0) == 0)
            out.push_back(r);
    return out;
}

int AverageCharWidth(const wchar_t* face, int height) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfWeight = FW_NORMAL;
    wcscpy_s(lf.lfFaceName, face);
    WindowDc screen(nullptr);
    Font font(CreateFontIndirectW(&lf));
    SelectGuard select(screen.Get(), font.Get());
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.Get(), &tm);
    return tm.tmAveCharWidth;
}

TEST(PlayPartList, TextsWithTheirFontsInUtf16) {
    const int avg12 = AverageCharWidth(kDrawerFace, -12);
    ASSERT_GT(avg12, 0);
    PartList list = PixelList(200, 100);
    AddPart(list, BoxedText(10, 20, 100, 19, L"ファイル(&F)", kFormatVCenter));
    DrawPart point = PointText(5, 6, kDrawerFace, L"Group", -1);
    point.text.textColor = 0x0000FF;  // has no effect
    AddPart(list, point);
    Played p = Play(list);
    Lines texts = TextRecords(p.records);
    const std::string mincho = test::Utf8(kDrawerFace);
    char expectWidth100[64], expectWidth70[64];
    std::snprintf(expectWidth100, sizeof expectWidth100, "FONT height -12 width %d esc 0", avg12);
    std::snprintf(expectWidth70, sizeof expectWidth70, "FONT height -12 width %d esc 0",
                  static_cast<int>(RoundHalfEvenD(0.7 * avg12)));
    ASSERT_GE(texts.size(), 6u) << test::Dump(p.records);
    EXPECT_EQ(texts[0], "SETBKMODE 1");
    EXPECT_EQ(texts[1], std::string(expectWidth100) + " face '" + mincho + "'");
    EXPECT_EQ(texts[2], "SETTEXTCOLOR 000000");
    // The mnemonic "&" is not printed: DrawText without DT_NOPREFIX.
    EXPECT_NE(texts[3].find("'ファイル(F)'"), std::string::npos) << test::Dump(texts);
    EXPECT_EQ(texts[4], "SETBKMODE 2");
    EXPECT_EQ(texts[5], std::string(expectWidth70) + " face '" + mincho + "'");
    ASSERT_EQ(texts.size(), 7u) << test::Dump(texts);  // no text colour for a point text
    EXPECT_EQ(texts[6], "TEXT 5,6 'Group'");
}

TEST(PlayPartList, FontHeightFollowsTheScreenResolution) {
    PartList list = PixelList(100, 100);
    AddPart(list, PointText(0, 0, kDrawerFace, L"x", 0));
    for (auto [tpp, height] : {std::pair{k96Dpi, -12}, std::pair{k120Dpi, -15}, std::pair{TwipsPerPixel{10, 10}, -18}}) {
        Lines texts = TextRecords(Play(list, tpp).records);
        ASSERT_FALSE(texts.empty());
        EXPECT_NE(texts[1].find("height " + std::to_string(height) + " "), std::string::npos) << texts[1];
    }
}

TEST(PlayPartList, FaceNamesAreCopiedWholeAndAnEmptyOneKeepsTheLast) {
    struct Case {
        std::vector<std::wstring> faces;
        std::string lastFace;
    };
    const Case cases[] = {
        {{L""}, ""},  // nothing named yet: the platform's default face
        {{L"", L"Arial"}, "Arial"},
        {{kDrawerFace, L""}, test::Utf8(kDrawerFace)},
        {{L"Courier New", L"Arial"}, "Arial"},  // no "Arialr New"
        {{L"Courier New", L"", L""}, "Courier New"},
        {{L"Arial", L"Courier New", L""}, "Courier New"},
    };
    for (const Case& c : cases) {
        PartList list = PixelList(100, 100);
        for (const auto& face : c.faces) AddPart(list, PointText(0, 0, face, L"x", 0));
        Played p = Play(list);
        Lines fonts;
        for (const auto& r : p.records)
            if (r.rfind("FONT", 0) == 0) fonts.push_back(r);
        ASSERT_EQ(fonts.size(), c.faces.size()) << test::Dump(p.records);
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

    PartList list = PixelList(100, 100);
    AddPart(list, Box(0, 0, 10, 10));
    AddPart(list, BoxedText(0, 0, 50, 20, L"text", kFormatCentre));
    AddPart(list, PointText(0, 0, L"", L"text", 0));
    Played p = Play(list, k96Dpi, reference.Get());
    ASSERT_FALSE(p.picture.Empty());
    EXPECT_EQ(GetCurrentObject(reference.Get(), OBJ_FONT), font.Get());
    EXPECT_EQ(GetCurrentObject(reference.Get(), OBJ_PEN), pen.Get());
    EXPECT_EQ(GetMapMode(reference.Get()), MM_TEXT);
    EXPECT_EQ(GetBkMode(reference.Get()), OPAQUE);
}

TEST(MakeFont, FillsTheLogfontFromTheRequest) {
    WindowDc screen(nullptr);
    LOGFONTW lf{};
    float factor = 0;
    FontRequest r;
    r.dc = screen.Get();
    r.face = L"Arial";
    r.size = 10;
    r.bold = -1;
    r.italic = -1;
    r.angle = 45;
    Font f(MakeFont(r, lf, factor, k96Dpi));
    ASSERT_TRUE(f);
    EXPECT_FLOAT_EQ(factor, 20.0f / 15.0f);
    EXPECT_EQ(lf.lfHeight, -13);  // 13.33
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfEscapement, 450);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_STREQ(lf.lfFaceName, L"Arial");

    // A factor given is kept; vertical text turns the face round.
    factor = 2;
    r = FontRequest{};
    r.face = L"Arial";
    r.size = 9;
    r.vertical = -1;
    r.weight = 300;
    r.charSet = SHIFTJIS_CHARSET;
    Font g(MakeFont(r, lf, factor, k96Dpi));
    EXPECT_EQ(lf.lfHeight, -18);
    EXPECT_EQ(lf.lfWeight, 300);
    EXPECT_EQ(lf.lfEscapement, 2700);
    EXPECT_EQ(lf.lfOrientation, 2700);
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, L"@Arial");
}

}  // namespace
}  // namespace plumbo
