// Pictures made of windows and passed on: part lists played into enhanced metafiles (read
// back one line per record), what the query reads of a window of our own, and the export of a
// picture to files (read back through the system's own readers) and to the clipboard. Which
// parts the drawers make, which records each class needs, the unit conversions and the files'
// byte layouts are tested natively; the re-drawing of another program's window as a whole is
// tested in tests/shell. Here only what Win32 adds.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <latch>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "capture/export_win.h"
#include "core/numeric.h"
#include "core/texts.h"
#include "platform/gdi_win.h"
#include "vector/player_win.h"
#include "vector/query_win.h"

namespace plumbo {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
constexpr TwipsPerPixel k96Dpi{15, 15}, k120Dpi{12, 12};

std::string Utf8(std::wstring_view s) {
    const std::u8string u = fs::path(s).u8string();
    return {u.begin(), u.end()};
}

std::string Fmt(const char* format, long a = 0, long b = 0, long c = 0, long d = 0) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, a, b, c, d);
    return buf;
}

// ---- playing part lists ----

// One line per record; the handle numbers are left out, they vary with the table's use.
std::string Describe(const ENHMETARECORD& r) {
    const DWORD* p = r.dParm;
    switch (r.iType) {
    case EMR_DELETEOBJECT: return "DELETE";
    case EMR_SELECTOBJECT: return (p[0] & 0x80000000) ? "SELECT stock" : "SELECT obj";
    case EMR_SETMAPMODE: return Fmt("SETMAPMODE %ld", p[0]);
    case EMR_SETBKMODE: return Fmt("SETBKMODE %ld", p[0]);
    case EMR_SETTEXTCOLOR: return Fmt("SETTEXTCOLOR %06lx", p[0]);
    case EMR_SETVIEWPORTEXTEX: return Fmt("VIEWPORTEXT %ld,%ld", p[0], p[1]);
    case EMR_SETWINDOWEXTEX: return Fmt("WINDOWEXT %ld,%ld", p[0], p[1]);
    case EMR_MOVETOEX: return Fmt("MOVETO %ld,%ld", p[0], p[1]);
    case EMR_LINETO: return Fmt("LINETO %ld,%ld", p[0], p[1]);
    case EMR_RECTANGLE: return Fmt("RECTANGLE %ld,%ld,%ld,%ld", p[0], p[1], p[2], p[3]);
    case EMR_CREATEPEN: return Fmt("PEN style %ld width %ld color %06lx", p[1], p[2], p[4]);
    case EMR_CREATEBRUSHINDIRECT: return Fmt("BRUSH style %ld hatch %ld color %06lx", p[1], p[3], p[2]);
    case EMR_EXTCREATEFONTINDIRECTW: {
        const LOGFONTW& lf = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW&>(r).elfw.elfLogFont;
        return Fmt("FONT height %ld width %ld", lf.lfHeight, lf.lfWidth) + " face '" + Utf8(lf.lfFaceName) + "'";
    }
    case EMR_EXTTEXTOUTW: {
        const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW&>(r).emrtext;
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(&r) + t.offString);
        return Fmt("TEXT %ld,%ld '", t.ptlReference.x, t.ptlReference.y) + Utf8({chars, t.nChars}) + "'";
    }
    default: return "RECORD";
    }
}

// The list played, without the header, the origins and the end; by default the parts only,
// after the mapping.
Lines Records(const PartList& list, TwipsPerPixel tpp, HDC reference = nullptr, bool partsOnly = true) {
    Lines all;
    auto add = [](HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM to) {
        return reinterpret_cast<Lines*>(to)->push_back(Describe(*r)), 1;
    };
    EnumEnhMetaFile(nullptr, PlayPartList(reference, list, tpp).EnhMetafile(), add, &all, nullptr);
    std::erase(all, "RECORD");
    return partsOnly && all.size() >= 3 ? Lines(all.begin() + 3, all.end()) : all;
}

PartList List(std::initializer_list<DrawPart> parts, double w = 200, double h = 200) {
    PartList list;
    std::tie(list.unit, list.width, list.height) = std::tuple(kUnitPixels, w, h);
    for (const DrawPart& part : parts) AddPart(list, part);
    return list;
}

// The frame holds the list's size in HIMETRIC, 400 x 300 pixels at 120 dpi; the drawing spans
// it as the reference device (the screen) measures it, whoever plays it. The lists the drawers
// make are always in pixels; the other units' conversions are tested natively.
TEST(PlayPartList, TheFrameIsTheListsSizeMappedOnTheReferenceDevice) {
    WindowDc screen(nullptr);
    const HDC dc = screen.Get();
    const long x = RoundHalfEven(8467 * GetDeviceCaps(dc, HORZRES) / (GetDeviceCaps(dc, HORZSIZE) * 100.0));
    const long y = RoundHalfEven(6350 * GetDeviceCaps(dc, VERTRES) / (GetDeviceCaps(dc, VERTSIZE) * 100.0));
    const Picture p = PlayPartList(nullptr, List({}, 400, 300), k120Dpi);
    EXPECT_EQ(std::tuple(p.HimetricWidth(), p.HimetricHeight(), Records(List({}, 400, 300), k120Dpi, nullptr, false)),
              std::tuple(8467, 6350, Lines{"SETMAPMODE 8", Fmt("VIEWPORTEXT %ld,%ld", x, y), "WINDOWEXT 400,300"}));
    EXPECT_TRUE(PlayPartList(nullptr, List({}, 1e12, 10), k96Dpi).Empty()) << "beyond 32 bits";
}

// Coordinates and pen widths round halves to even; each object is put back before it is
// deleted; a rectangle record holds its box inclusive.
TEST(PlayPartList, ShapesRoundHalvesToEvenAndReleaseTheirObjects) {
    auto rect = [](const char* brush, long pen, const char* box) {
        return Lines{brush, "SELECT obj", Fmt("PEN style 0 width %ld color 000000", pen), "SELECT obj", box,
                     "SELECT stock", "DELETE", "SELECT stock", "DELETE"};
    };
    DrawPart solid = Box(0, 0, 5, 5), corners = Box(2.5, 3.5, 2, 2);
    DrawPart arrow = Arrow(10, 10, {4.25, 12.75, 8.5}, {4.25, 4.25, 12.75});
    std::tie(solid.rect.hatch, solid.rect.outline, solid.rect.fillColor) = std::tuple(kHatchSolid, 0, 0x123456);
    std::tie(solid.rect.penWidth, corners.rect.penWidth, arrow.polyline.penWidth) = std::tuple(25, 35, 3);
    const std::tuple<const char*, DrawPart, Lines> cases[] = {
        {"drawers' box", Box(10, 20, 30, 40), rect("BRUSH style 2 hatch 0 color ffffff", 0, "RECTANGLE 10,20,39,59")},
        {"solid, pen 2.5", solid, rect("BRUSH style 0 hatch 0 color 123456", 2, "RECTANGLE 0,0,4,4")},
        // 2.5 -> 2 and 3.5 -> 4, then the far corner 4.5 -> 4 and 5.5 -> 6.
        {"corners, pen 3.5", corners, rect("BRUSH style 2 hatch 0 color ffffff", 4, "RECTANGLE 2,4,3,5")},
        {"line", Line(1.5, 2.5, 30, 40),
         {"PEN style 0 width 1 color 000000", "SELECT obj", "MOVETO 2,2", "LINETO 30,40", "SELECT stock", "DELETE"}},
        {"polyline", arrow, {"PEN style 0 width 3 color 000000", "SELECT obj", "MOVETO 14,14", "LINETO 23,14",
                             "LINETO 18,23", "LINETO 14,14", "SELECT stock", "DELETE"}},
    };
    for (const auto& [name, part, expected] : cases) EXPECT_EQ(Records(List({part}), k96Dpi), expected) << name;
}

// At 120 dpi 9 points are 15 pixels; point texts are condensed to 70 % of the face's width
// and take the context's colour; the mnemonic "&" is not printed; a face named replaces the
// last one whole, an empty one keeps it. The reference context is left as it was.
TEST(PlayPartList, TextsInTheirFontsAtTheScreenResolutionLeavingTheReferenceAsItWas) {
    WindowDc screen(nullptr);
    MemoryDc reference(screen.Get());
    Font font(CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, kDrawerFace));
    Pen pen(CreatePen(PS_DASH, 1, RGB(1, 2, 3)));
    SelectGuard f(reference.Get(), font.Get()), pe(reference.Get(), pen.Get());
    SetBkMode(reference.Get(), OPAQUE);
    TEXTMETRICW tm{};
    GetTextMetricsW(reference.Get(), &tm);

    auto fontLine = [](long width) { return Fmt("FONT height -15 width %ld face '", width) + Utf8(kDrawerFace) + "'"; };
    DrawPart point = PointText(5, 6, kDrawerFace, L"Group", -1);
    point.text.textColor = 0x0000FF;
    Lines texts = Records(List({Box(0, 0, 10, 10), BoxedText(10, 20, 100, 19, L"ファイル(&F)", kFormatVCenter), point}),
                          k120Dpi, reference.Get());
    // DrawText places the caption and underlines the mnemonic by the font's height.
    std::erase_if(texts, [](auto& l) { return !(l[0] == 'F' || l[0] == 'T' || l.starts_with("SET")); });
    if (texts.size() > 3 && texts[3].ends_with(" 'ファイル(F)'")) texts[3] = "TEXT 'ファイル(F)'";
    EXPECT_EQ(texts, (Lines{"SETBKMODE 1", fontLine(tm.tmAveCharWidth), "SETTEXTCOLOR 000000", "TEXT 'ファイル(F)'",
                            "SETBKMODE 2", fontLine(RoundHalfEven(0.7 * tm.tmAveCharWidth)), "TEXT 5,6 'Group'"}));
    EXPECT_EQ(std::tuple(GetCurrentObject(reference.Get(), OBJ_FONT), GetCurrentObject(reference.Get(), OBJ_PEN),
                         GetMapMode(reference.Get()), GetBkMode(reference.Get())),
              std::tuple(HGDIOBJ{font.Get()}, HGDIOBJ{pen.Get()}, MM_TEXT, OPAQUE));

    Lines faces;
    for (const std::string& l : Records(List({PointText(0, 0, L"Courier New", L"x", 0),
                                              PointText(0, 0, L"Arial", L"x", 0), PointText(0, 0, L"", L"x", 0)}),
                                        k96Dpi))
        if (l.starts_with("FONT")) faces.push_back(l.substr(l.find(" face")));
    EXPECT_EQ(faces, (Lines{" face 'Courier New'", " face 'Arial'", " face 'Arial'"})) << "not 'Arialr New'";
}

// ---- reading a window ----

// A rectangle of the records (Rect32) or of the system (RECT) as four numbers.
std::tuple<long, long, long, long> Of(const auto& r) { return {r.left, r.top, r.right, r.bottom}; }

const wchar_t kThunder[] = L"ThunderRT6Frame";  // normalised to "Frame"

// Controls one below the other, each 200 x 100 pixels.
HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent) {
    static int y = 0;
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, (y += 110) - 100, 200, 100, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A window of our own with a menu bar and one control of each kind whose reading Win32 shapes.
// That hidden controls and what they hold are left out, and children read where the drawers
// visit them, shows in the re-drawing tested in tests/shell.
TEST(QueryTarget, RecordsHoldWhatTheDrawersReadAndAGoneTargetIsAbandoned) {
    WNDCLASSW frame{0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, kThunder};
    RegisterClassW(&frame);
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"  表示(&V)  ");
    HWND top = CreateWindowExW(0, L"Static", L"Query テスト", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 500, 400,
                               nullptr, menu, nullptr, nullptr);
    ASSERT_TRUE(top);
    // 78 units, then a pair that a cut at 79 would split.
    const std::wstring longText = std::wstring(78, L'x') + L"\xD842\xDFB7yz";
    HWND edit = Child(L"Edit", L"line1\r\nline2", ES_MULTILINE | WS_HSCROLL | WS_VSCROLL, top),
         combo = Child(L"ComboBox", L"", CBS_DROPDOWN, top);
    Child(L"Static", longText.c_str(), 0, top);
    Child(kThunder, L"Frame caption", 0, top);
    SetWindowTextW(combo, L"typed");

    auto t = QueryTarget(top);
    ASSERT_TRUE(t);
    RECT outer{}, item{}, client{};
    GetWindowRect(top, &outer);
    GetMenuItemRect(top, menu, 0, &item);
    GetClientRect(edit, &client);
    ASSERT_EQ(t->menuItems.size(), 1u);
    EXPECT_EQ(std::tuple(Of(t->window.window), t->window.text, t->menuItems[0].text, Of(t->menuItems[0].rect)),
              std::tuple(Of(outer), L"Query テスト", L"表示(&V)", Of(item)));
    // Classes normalised; texts only where a drawer shows them, the combo box's from its edit field.
    using Read = std::tuple<std::wstring, std::wstring, bool, std::wstring>;
    std::vector<Read> read;
    for (const WindowRecord& c : t->window.children)
        read.emplace_back(c.className, c.text, c.hasDescendant, c.firstDescendantText);
    EXPECT_EQ(read, (std::vector<Read>{{L"Edit", L"line1\r\nline2", false, L""}, {L"ComboBox", L"", true, L"typed"},
                                      {L"Static", longText.substr(0, 78), false, L""},
                                      {L"Frame", L"Frame caption", false, L""}}));
    EXPECT_EQ(Of(t->window.children.at(0).client), Of(client)) << "the edit field's, short of its scroll bars";
    EXPECT_TRUE(QueryTarget(edit)) << "a window without children";
    DestroyWindow(top);
    EXPECT_EQ(std::tuple(QueryTarget(top).has_value(), RedrawWindowAsMeta(top, nullptr, k96Dpi).has_value()),
              std::tuple(false, false)) << "a target gone is abandoned";
}

// A window whose thread does not answer: its text is given up after the short time-out.
TEST(ReadWindowText, HungWindowGivesEmptyTextQuickly) {
    HWND stuck = nullptr;
    std::latch ready(1), release(1);
    std::thread owner([&] {
        stuck = CreateWindowExW(0, L"Static", L"stuck", 0, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        ready.count_down();
        release.wait();  // no message loop while waiting
        DestroyWindow(stuck);
    });
    ready.wait();
    const auto start = std::chrono::steady_clock::now();
    const std::wstring text = ReadWindowText(stuck);
    const bool quick = std::chrono::steady_clock::now() - start < std::chrono::seconds(2);
    release.count_down();
    owner.join();
    EXPECT_EQ(std::tuple(stuck != nullptr, text, quick), std::tuple(true, L"", true));
}

// ---- export ----

using Colour = std::function<COLORREF(int x, int y)>;
constexpr long kRed = RGB(255, 0, 0), kWhite = RGB(255, 255, 255);
const Colour kShades = [](int x, int y) { return RGB(10 + 40 * x, 20 + 60 * y, 5 + 15 * (x + y)); };
const Colour kBlack = [](int, int) { return RGB(0, 0, 0); };

// An enhanced metafile with a HIMETRIC frame of w x h; a black block fills the right half and a
// red line runs along the top of the left half, both placed through the screen's pixels per
// millimetre.
Picture HalfBlackMetafile(int himetricW, int himetricH) {
    WindowDc screen(nullptr);
    const HDC ref = screen.Get();
    const int w = static_cast<int>(himetricW * GetDeviceCaps(ref, HORZRES) / (GetDeviceCaps(ref, HORZSIZE) * 100.0));
    const int h = static_cast<int>(himetricH * GetDeviceCaps(ref, VERTRES) / (GetDeviceCaps(ref, VERTSIZE) * 100.0));
    RECT frame{0, 0, himetricW, himetricH}, right{w / 2, 0, w, h};
    HDC dc = CreateEnhMetaFileW(ref, nullptr, &frame, nullptr);
    FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Pen red(CreatePen(PS_SOLID, 1, kRed));  // deleted once the metafile is closed
    SelectObject(dc, red.Get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, w / 2, 0);
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(CloseEnhMetaFile(dc), kind, nullptr, 0, 0);
}

// A DIB of the given depth, coloured pixel by pixel; at 8 bits it gets the colour table given.
Picture DibPicture(int bits, int w, int h, const Colour& color, const std::vector<COLORREF>& table = {}) {
    std::vector<DWORD> bi(10 + 256);  // BITMAPINFOHEADER, then the colour table of RGBQUADs
    *reinterpret_cast<BITMAPINFOHEADER*>(bi.data()) = {sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bits),
                                                      BI_RGB, 0, 0, 0, static_cast<DWORD>(table.size()), 0};
    for (size_t i = 0; i < table.size(); ++i)
        bi[10 + i] = RGB(GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]));
    void* px = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(bi.data()), DIB_RGB_COLORS, &px, nullptr, 0);
    WindowDc screen(nullptr);
    MemoryDc mem(screen.Get());
    {
        SelectGuard sel(mem.Get(), bmp);
        for (int i = 0; i < w * h; ++i) SetPixel(mem.Get(), i % w, i / w, color(i % w, i / w));
    }
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(bmp, kind, nullptr, 0, 0);
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream f(fs::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

uint16_t Get16(const std::string& b, size_t at) {
    return b.size() < at + 2 ? 0 : static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

std::string EmfBits(HENHMETAFILE emf) {
    std::string bits(GetEnhMetaFileBits(emf, 0, nullptr), '\0');
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), reinterpret_cast<BYTE*>(bits.data()));
    return bits;
}

// A bitmap's width and height, then its colours at the points given: from the clipboard, or
// from a file as the system loads it.
std::vector<long> Look(HBITMAP bmp, const std::vector<POINT>& at) {
    BITMAP bm{};
    if (!bmp || !GetObjectW(bmp, sizeof bm, &bm)) return {};
    WindowDc screen(nullptr);
    MemoryDc mem(screen.Get());
    SelectGuard sel(mem.Get(), bmp);
    std::vector<long> out = {bm.bmWidth, bm.bmHeight};
    for (POINT p : at) out.push_back(static_cast<long>(GetPixel(mem.Get(), p.x, p.y)));
    return out;
}

std::vector<long> Look(const std::wstring& file, const std::vector<POINT>& at) {
    const UINT flags = LR_LOADFROMFILE | LR_CREATEDIBSECTION;
    Bitmap bmp(static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, flags)));
    return Look(bmp.Get(), at);
}

// A message with the file named where it asks for one and the reason the system gives for the
// error.
std::string Message(const wchar_t* pattern, DWORD error, const std::wstring& file = L"") {
    std::string s = Utf8(pattern);
    if (!file.empty()) s.replace(s.find("%s"), 2, Utf8(file));
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 512, nullptr);
    const std::string reason = text[0] ? Utf8(text) : Fmt("Error %ld", error);
    return s.replace(s.find("%s"), 2, reason.substr(0, reason.find_last_not_of("\r\n ") + 1));
}

// The title and text of the message box act() opens on this thread, answered once it is set up.
std::pair<std::string, std::string> g_box;
std::pair<std::string, std::string> AnswerMessageBox(const std::function<void()>& act) {
    g_box = {};
    HOOKPROC answer = [](int code, WPARAM w, LPARAM l) -> LRESULT {
        const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(l);
        wchar_t title[256] = {}, text[1024] = {};
        if (call.message == WM_INITDIALOG && g_box.first.empty()) {
            GetWindowTextW(call.hwnd, title, 256);
            GetDlgItemTextW(call.hwnd, 0xFFFF, text, 1024);
            g_box = {Utf8(title), Utf8(text)};
            PostMessageW(call.hwnd, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, w, l);
    };
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, answer, nullptr, GetCurrentThreadId());
    act();
    UnhookWindowsHookEx(hook);
    return g_box;
}

class ExportFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::create_directory(dir_)); }
    void TearDown() override { fs::remove_all(dir_); }
    std::wstring Path(const std::wstring& name) const { return (dir_ / name).wstring(); }
    const fs::path dir_ = fs::temp_directory_path() / ("plumbo-" + std::to_string(GetCurrentProcessId()));
};

// Width 3 at 24 bits needs padded rows; 8 bits must carry the picture's colour table.
TEST_F(ExportFiles, BitmapsAreSavedAtTheirOwnDepthAndReadBackPixelForPixel) {
    const std::vector<COLORREF> table = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(250, 240, 10)};
    const Colour paletted = [&](int x, int y) { return table[(x + 2 * y) % 4]; };
    for (auto [bits, w, h] : {std::tuple(24, 3, 2), std::tuple(32, 3, 2), std::tuple(8, 5, 3)}) {
        const Colour& color = bits == 8 ? paletted : kShades;
        const std::wstring file = Path(L"picture.bmp");
        Picture pic = DibPicture(bits, w, h, color, bits == 8 ? table : std::vector<COLORREF>{});
        ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Bmp, k96Dpi));
        std::vector<POINT> all;
        std::vector<long> want = {w, h};
        for (int i = 0; i < w * h; ++i)
            all.push_back({i % w, i / w}), want.push_back(static_cast<long>(color(i % w, i / w)));
        EXPECT_EQ(std::tuple(Get16(ReadBytes(file), 28), Look(file, all)), std::tuple(bits, want)) << bits << " bits";
    }
}

// The placeable header starts the file and declares the picture's own extent: its box in
// HIMETRIC, 2540 to the inch, not the twips figure. The rest of its layout is tested natively.
TEST_F(ExportFiles, WindowsMetafileDeclaresItsTrueExtent) {
    const std::wstring file = Path(L"picture.wmf");
    ASSERT_TRUE(SavePictureToFile(nullptr, file, HalfBlackMetafile(10000, 5000), PictureFileFormat::Wmf, k96Dpi));
    const std::string bytes = ReadBytes(file);
    EXPECT_EQ(std::tuple(Get16(bytes, 0), Get16(bytes, 2), Get16(bytes, 10), Get16(bytes, 12), Get16(bytes, 14)),
              std::tuple(0xCDD7, 0x9AC6, 10000, 5000, 2540));
    EXPECT_GT(bytes.size(), 22u + 18u) << "a metafile follows the header";
}

// A write goes to a temporary file first: the target is replaced only by a complete file, and
// a failure keeps it, leaves nothing behind and names the file and the system's reason. The
// huge metafile's rendering would need a bitmap file past the format's 4 GiB even at one bit
// per pixel: it is refused for its size before anything of that size is made.
TEST_F(ExportFiles, AFileIsReplacedOnlyByACompleteWrite) {
    auto files = [](const fs::path& d) { return std::distance(fs::directory_iterator(d), fs::directory_iterator{}); };
    Picture emf = HalfBlackMetafile(3000, 2000), small = DibPicture(24, 4, 4, kBlack),
            huge = HalfBlackMetafile(5300000, 5300000);
    std::ofstream(fs::path(Path(L"replace.emf"))) << "old contents";
    ASSERT_TRUE(SavePictureToFile(nullptr, Path(L"replace.emf"), emf, PictureFileFormat::Emf, k96Dpi));
    EXPECT_EQ(std::tuple(ReadBytes(Path(L"replace.emf")), files(dir_)), std::tuple(EmfBits(emf.EnhMetafile()), 1));

    // Each in a folder of its own: the file, the attributes of the one there before (0: none),
    // whether it is held open, the picture and the reason given.
    const std::tuple<const wchar_t*, DWORD, bool, const Picture*, DWORD> cases[] = {
        {L"missing\\out.bmp", 0, false, &small, ERROR_DIRECTORY},
        {L"out.bmp", FILE_ATTRIBUTE_READONLY, false, &small, ERROR_ACCESS_DENIED},
        {L"out.bmp", FILE_ATTRIBUTE_NORMAL, true, &small, ERROR_ACCESS_DENIED},
        {L"out.bmp", FILE_ATTRIBUTE_NORMAL, false, &huge, ERROR_FILE_TOO_LARGE},
    };
    int row = 0;
    for (const auto& [file, attributes, heldOpen, pic, reason] : cases) {
        const std::wstring sub = Path(std::to_wstring(++row)), target = sub + L"\\" + file;
        ASSERT_TRUE(fs::create_directory(sub));
        if (attributes) std::ofstream(fs::path(target)) << "the file the user had before";
        SetFileAttributesW(target.c_str(), attributes);
        HANDLE held = heldOpen ? CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                               : nullptr;
        bool ok = true;
        auto box =
            AnswerMessageBox([&] { ok = SavePictureToFile(nullptr, target, *pic, PictureFileFormat::Bmp, k96Dpi); });
        if (held) CloseHandle(held);
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(std::tuple(ok, box, ReadBytes(target), files(sub)),
                  std::tuple(false, std::pair(Utf8(Texts().messageTitle), Message(Texts().saveFailed, reason, target)),
                             attributes ? "the file the user had before" : "", attributes ? 1 : 0)) << "row " << row;
    }
}

// The bitmap is the metafile rendered on white at its HIMETRIC size: 10000 x 5000 at 12 twips
// per pixel are 472 x 236 pixels, white on the left (the outline of the background lies
// outside), black on the right to the far corner, the red line along the top.
TEST(ExportClipboard, MetafileModeOffersBothMetafilesAtTheTrueExtentAndTheRenderedBitmap) {
    Picture pic = HalfBlackMetafile(10000, 5000);
    ASSERT_TRUE(CopyPictureToClipboard(nullptr, pic, true, k120Dpi));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    auto mem = static_cast<HGLOBAL>(GetClipboardData(CF_METAFILEPICT));
    auto* mfp = mem ? static_cast<METAFILEPICT*>(GlobalLock(mem)) : nullptr;
    EXPECT_EQ(std::tuple(emf ? EmfBits(emf) : "",
                         mfp ? std::tuple(mfp->mm, mfp->xExt, mfp->yExt) : std::tuple(0L, 0L, 0L),
                         Look(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)),
                              {{0, 235}, {118, 118}, {241, 118}, {469, 233}, {118, 0}})),
              std::tuple(EmfBits(pic.EnhMetafile()), std::tuple(MM_ANISOTROPIC, 10000, 5000),
                         std::vector<long>{472, 236, kWhite, kWhite, 0, 0, kRed}));
    if (mem) GlobalUnlock(mem);
    CloseClipboard();
}

// The clipboard gets a copy of the viewer's bitmap; held by another thread's window, it is
// left alone and the failure is reported with the system's reason.
TEST(ExportClipboard, HeldByAnotherWindowIsAFailureReportedWithTheSystemsReason) {
    Picture earlier = DibPicture(24, 6, 4, kShades), pic = DibPicture(24, 2, 2, kBlack);
    ASSERT_TRUE(CopyPictureToClipboard(nullptr, earlier, false, k96Dpi));
    EXPECT_EQ(GetObjectType(earlier.Bitmap()), static_cast<DWORD>(OBJ_BITMAP)) << "the viewer keeps its own";
    DWORD error = 0;
    std::latch opened(1), release(1);
    std::thread holder([&] {
        HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const bool holds = OpenClipboard(window);
        opened.count_down();
        release.wait();
        if (holds) CloseClipboard();
        DestroyWindow(window);
    });
    opened.wait();
    // Braces evaluate left to right: the copy runs before its error is read.
    EXPECT_EQ((std::tuple{CopyPictureToClipboard(nullptr, pic, false, k96Dpi, &error), error}),
              std::tuple(false, static_cast<DWORD>(ERROR_ACCESS_DENIED)));
    release.count_down();
    holder.join();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(Look(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), {{0, 0}}),
              (std::vector<long>{6, 4, static_cast<long>(kShades(0, 0))})) << "left alone";
    CloseClipboard();
    EXPECT_EQ(AnswerMessageBox([&] { ReportClipboardFailure(nullptr, error); }),
              std::pair(Utf8(Texts().messageTitle), Message(Texts().clipboardFailed, error)));
}

}  // namespace
}  // namespace plumbo
