// Pictures made of windows and passed on: part lists played into enhanced metafiles (read
// back one line per record), what the query reads of a window of our own, and the export of a
// picture to files (read back through the system's own readers) and to the clipboard. Which
// parts the drawers make, which records each class needs, the unit conversions and the files'
// byte layouts are tested natively; the re-drawing of another program's window as a whole is
// tested in tests/shell. Here only what Win32 adds.
#include <gtest/gtest.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

#include "capture/clipboard_win.h"
#include "capture/export_win.h"
#include "driver/driver.h"
#include "platform/com_win.h"
#include "platform/gdi_win.h"
#include "platform/global_memory_win.h"
#include "vector/play/emf_player_win.h"
#include "vector/read/query_win.h"
#include "vector/play/svg_player_win.h"

namespace plumbo {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using std::to_string;
constexpr TwipsPerPixel k96Dpi{15, 15}, k120Dpi{12, 12};
constexpr COLORREF kRed = RGB(255, 0, 0), kWhite = RGB(255, 255, 255);

std::string Utf8(std::wstring_view s) { return reinterpret_cast<const char*>(fs::path(s).u8string().c_str()); }

// ---- playing part lists ----

// Adds a line to the Lines at `to` for each record a test looks at: its name and parameters,
// the handle numbers left out (they vary with the table's use), a stock object by its number; a font
// with its face, a text with its string.
int CALLBACK Describe(HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM to) {
    static const std::map<DWORD, std::string> kNames = {{EMR_SETMAPMODE, "MAPMODE"}, {EMR_SETBKMODE, "BKMODE"},
        {EMR_SETTEXTCOLOR, "TEXTCOLOR"}, {EMR_SETVIEWPORTEXTEX, "VIEWPORT"}, {EMR_SETWINDOWEXTEX, "WINDOW"},
        {EMR_MOVETOEX, "MOVETO"}, {EMR_LINETO, "LINETO"}, {EMR_RECTANGLE, "RECTANGLE"}, {EMR_SELECTOBJECT, "SELECT"},
        {EMR_CREATEPEN, "PEN"}, {EMR_CREATEBRUSHINDIRECT, "BRUSH"}, {EMR_DELETEOBJECT, "DELETE"}};
    const LOGFONTW& lf = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(r)->elfw.elfLogFont;
    const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW*>(r)->emrtext;
    const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(r) + t.offString);
    const DWORD type = r->iType;
    std::ostringstream line;
    if (type == EMR_EXTCREATEFONTINDIRECTW)
        line << "FONT " << lf.lfHeight << ' ' << lf.lfWidth << ' ' << Utf8(lf.lfFaceName);
    if (type == EMR_EXTTEXTOUTW)
        line << "TEXT " << t.ptlReference.x << ' ' << t.ptlReference.y << ' ' << Utf8({chars, t.nChars});
    const bool named = kNames.contains(type), handle = type >= EMR_SELECTOBJECT && type <= EMR_DELETEOBJECT;
    if (named) line << kNames.at(type);
    for (size_t i = handle; named && i < (r->nSize - 8) / 4; ++i) line << ' ' << r->dParm[i];
    if (type == EMR_SELECTOBJECT && (r->dParm[0] & ENHMETA_STOCK_OBJECT))
        line << " stock " << (r->dParm[0] & ~ENHMETA_STOCK_OBJECT);
    if (!line.str().empty()) reinterpret_cast<Lines*>(to)->push_back(line.str());
    return 1;
}

// The list played, without the header, the origins and the end; by default after the mapping.
Lines Records(const PartList& list, TwipsPerPixel tpp, HDC reference = nullptr, size_t skip = 3) {
    Lines all;
    EnumEnhMetaFile(nullptr, PlayPartList(reference, list, tpp).EnhMetafile(), Describe, &all, nullptr);
    return Lines(all.begin() + std::min(skip, all.size()), all.end());
}

PartList List(std::initializer_list<DrawPart> parts, double w = 200, double h = 200, ListUnit unit = ListUnit::Pixels) {
    PartList list;
    std::tie(list.unit, list.width, list.height) = std::tuple(unit, w, h);
    for (const DrawPart& part : parts) AddPart(list, part);
    return list;
}

// The drawing spans the frame, 400 x 300 pixels at 120 dpi being 8467 x 6350 HIMETRIC, as the
// reference device (the screen) measures it, whoever plays it: on the tests' screen of 96 dpi
// 320 x 240 of its pixels. That the frame is the list's size shows in the saved files and on the
// clipboard; the unit conversions are tested natively.
TEST(PlayPartList, TheFrameIsTheListsSizeMappedOnTheReferenceDevice) {
    EXPECT_EQ(Records(List({}, 400, 300), k120Dpi, nullptr, 0), (Lines{"MAPMODE 8", "VIEWPORT 320 240", "WINDOW 400 300"}));
    EXPECT_TRUE(PlayPartList(nullptr, List({}, 1e12, 10), k96Dpi).Empty()) << "beyond 32 bits";
}

// Coordinates and pen widths round halves to even; each object is put back before it is
// deleted, the brush (the default white one back) before the pen (the default black one); a
// rectangle record holds its box inclusive, a hatched one comes after its own background mode
// (1 over what lies below, 2 on the background colour). A pen: style, width, 0, colour; a
// brush: style, colour, hatch.
TEST(PlayPartList, ShapesRoundHalvesToEvenAndReleaseTheirObjects) {
    auto rect = [](std::string brush, int pen, Lines drawn) {
        drawn.insert(drawn.begin(), {"BRUSH " + brush, "SELECT", "PEN 0 " + to_string(pen) + " 0 0", "SELECT"});
        drawn.insert(drawn.end(), {"SELECT stock 0", "DELETE", "SELECT stock 7", "DELETE"});
        return drawn;
    };
    RectPart solid = Box(0, 0, 5, 5, Fill::Solid);
    RectPart corners = CoveringBox(2.5, 3.5, 2, 2);
    PolylinePart arrow = Arrow(10, 10, {4.25, 12.75, 8.5}, {4.25, 4.25, 12.75});
    solid.fillColor = 0x123456;
    std::tie(solid.penWidth, corners.penWidth, arrow.penWidth) = std::tuple(2.5, 3.5, 3);
    const std::string white = "2 " + to_string(kWhite) + " 0";  // hatched, horizontal
    const std::tuple<const char*, DrawPart, Lines> cases[] = {
        {"drawers' box", Box(10, 20, 30, 40), rect(white, 0, {"BKMODE 1", "RECTANGLE 10 20 39 59"})},
        {"solid, pen 2.5", solid, rect("0 " + to_string(0x123456) + " 0", 2, {"RECTANGLE 0 0 4 4"})},
        // 2.5 -> 2 and 3.5 -> 4, then the far corner 4.5 -> 4 and 5.5 -> 6.
        {"corners, pen 3.5", corners, rect(white, 4, {"BKMODE 2", "RECTANGLE 2 4 3 5"})},
        {"line", Line(1.5, 2.5, 30, 40),
         {"PEN 0 1 0 0", "SELECT", "MOVETO 2 2", "LINETO 30 40", "SELECT stock 7", "DELETE"}},
        {"polyline", arrow, {"PEN 0 3 0 0", "SELECT", "MOVETO 14 14", "LINETO 23 14", "LINETO 18 23", "LINETO 14 14",
                             "SELECT stock 7", "DELETE"}},
    };
    for (const auto& [name, part, expected] : cases) EXPECT_EQ(Records(List({part}), k96Dpi), expected) << name;
}

// At 120 dpi 9 points are 15 pixels, where the face is 8 wide on average; point texts are
// condensed to 70 % of that, 5.6, and each text sets its own colour; the mnemonic "&" is not
// printed. The reference context is left as it was.
TEST(PlayPartList, TextsInTheirFontsAtTheScreenResolutionLeavingTheReferenceAsItWas) {
    MemoryDc reference(nullptr);  // like the screen
    const HDC dc = reference.Get();
    Font font(CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, kDrawerFace));
    Pen pen(CreatePen(PS_DASH, 1, RGB(1, 2, 3)));
    SelectGuard f(dc, font.Get()), pe(dc, pen.Get());
    SetBkMode(dc, OPAQUE);
    auto fontLine = [](long width) { return "FONT -15 " + to_string(width) + " " + Utf8(kDrawerFace); };
    Lines texts = Records(List({Box(0, 0, 10, 10), BoxedText(10, 20, 100, 19, L"ファイル(&F)", kLayoutLeft),
                                PointText(5, 6, kDrawerFace, L"Group", true)}), k120Dpi, dc);
    std::erase_if(texts, [](auto& l) { return !(l.starts_with("FONT") || l[0] == 'T' || l.starts_with("BK")); });
    EXPECT_EQ(texts, (Lines{"BKMODE 1", "BKMODE 1", fontLine(8), "TEXTCOLOR 0", "TEXT 10 20 ファイル(F)", "BKMODE 2", fontLine(6),
                            "TEXTCOLOR 0", "TEXT 5 6 Group"}));
    EXPECT_EQ(std::tuple(GetCurrentObject(dc, OBJ_FONT), GetCurrentObject(dc, OBJ_PEN), GetMapMode(dc), GetBkMode(dc)),
              std::tuple(HGDIOBJ{font.Get()}, HGDIOBJ{pen.Get()}, MM_TEXT, OPAQUE));
}

// ---- reading a window ----

// A rectangle of the records (Rect32) or of the system (RECT) as four numbers.
std::tuple<long, long, long, long> Of(const auto& r) { return {r.left, r.top, r.right, r.bottom}; }

// A window of our own with a menu bar and, one below the other, a control of each kind whose
// reading Win32 shapes: the text read only where a drawer shows it (a combo box's from its edit
// field). That classes are normalised, hidden controls and what they hold are left out, and
// children read where the drawers visit them, shows in the re-drawing tested in tests/shell. A
// window whose thread does not answer has its text given up after the short time-out.
TEST(QueryTarget, RecordsHoldWhatTheDrawersReadAndAGoneOrHungTargetIsNotWaitedFor) {
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"  表示(&V)  ");
    HWND top = CreateWindowExW(0, L"Static", L"Query テスト", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 500, 400,
                               nullptr, menu, nullptr, nullptr);
    // 78 units, then a pair that a cut at 79 would split.
    const std::wstring longText = std::wstring(78, L'x') + L"\xD842\xDFB7yz";
    const std::tuple<const wchar_t*, std::wstring, DWORD> controls[] = {
        {L"Edit", L"line1\r\nline2", ES_MULTILINE | WS_HSCROLL | WS_VSCROLL}, {L"ComboBox", L"", CBS_DROPDOWN},
        {L"Button", longText, 0}};
    std::vector<HWND> made;
    for (const auto& [cls, text, style] : controls)
        made.push_back(CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 10, 10 + 110 * made.size(),
                                       200, 100, top, nullptr, GetModuleHandleW(nullptr), nullptr));
    SetWindowTextW(made[1], L"typed");

    auto t = QueryTarget(top);
    ASSERT_TRUE(t && t->menuItems.size() == 1);
    std::vector<std::wstring> read = {t->window.text};  // then each child's class|text|+first descendant's text
    for (const WindowRecord& c : t->window.children)
        read.push_back(c.className + L"|" + c.text + L"|" + (c.hasDescendant ? L"+" : L"") + c.firstDescendantText);
    EXPECT_EQ(read, (std::vector<std::wstring>{L"Query テスト", L"Edit|line1\r\nline2|", L"ComboBox||+typed",
                                               L"Button|" + longText.substr(0, 78) + L"|"}));
    RECT item{}, client{};
    GetMenuItemRect(top, menu, 0, &item);
    GetClientRect(made[0], &client);
    // The menu bar's caption trimmed; the edit field's client rectangle short of its scroll bars.
    EXPECT_EQ(std::tuple(t->menuItems[0].text, Of(t->menuItems[0].rect), Of(t->window.children[0].client)),
              std::tuple(L"表示(&V)", Of(item), Of(client)));
    DestroyWindow(top);
    EXPECT_FALSE(QueryTarget(top)) << "a target gone is abandoned";
    e2e::StuckWindow stuck(0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    // Braces evaluate left to right: the time is taken once the text is read.
    EXPECT_EQ((std::tuple{ReadWindowText(stuck.window), std::chrono::steady_clock::now() < deadline}),
              std::tuple(L"", true)) << "a hung window";
}

// ---- export ----

using Colour = std::function<COLORREF(int x, int y)>;
const Colour kShades = [](int x, int y) { return RGB(10 + 40 * x, 20 + 60 * y, 5 + 15 * (x + y)); };

// An enhanced metafile with a HIMETRIC frame of w x h: a black block fills the right half and
// a red line runs along the top of the left half.
Picture HalfBlackMetafile(double w, double h) {
    RectPart black = Box(w / 2, 0, w / 2, h, Fill::Solid);
    LinePart red = Line(0, 0, w / 2, 0);
    std::tie(black.fillColor, red.color) = std::tuple(0, kRed);
    return PlayPartList(nullptr, List({black, red}, w, h, ListUnit::Himetric), k96Dpi);
}

// A DIB of the given depth, coloured pixel by pixel; up to 8 bits it gets the colour table given.
Picture DibPicture(int bits, int w, int h, const Colour& color, const std::vector<COLORREF>& table = {}) {
    std::vector<DWORD> bi(10 + 256);  // BITMAPINFOHEADER, then the colour table of RGBQUADs
    *reinterpret_cast<BITMAPINFOHEADER*>(bi.data()) = {sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bits),
                                                      BI_RGB, 0, 0, 0, bits <= 8 ? DWORD(table.size()) : 0, 0};
    for (size_t i = 0; COLORREF c : table) bi[10 + i++] = RGB(GetBValue(c), GetGValue(c), GetRValue(c));
    void* px = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(bi.data()), DIB_RGB_COLORS, &px, nullptr, 0);
    MemoryDc mem(nullptr);
    SelectGuard sel(mem.Get(), bmp);  // put back before the memory context goes
    for (int i = 0; i < w * h; ++i) SetPixel(mem.Get(), i % w, i / w, color(i % w, i / w));
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(bmp, kind, nullptr, 0, 0);
}

int Get16(const std::string& b, size_t at) { return at + 1 < b.size() ? (b[at] & 0xFF) | (b[at + 1] & 0xFF) << 8 : -1; }

std::string EmfBits(HENHMETAFILE emf) {
    std::string bits(GetEnhMetaFileBits(emf, 0, nullptr), '\0');
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), reinterpret_cast<BYTE*>(bits.data()));
    return bits;
}

// A bitmap's width and height, then its colours at the points given, or at every point row by
// row.
std::vector<long> Look(HBITMAP bmp, std::vector<POINT> at = {}) {
    BITMAP bm{};
    if (!bmp || !GetObjectW(bmp, sizeof bm, &bm)) return {};
    if (at.empty())
        for (int i = 0; i < bm.bmWidth * bm.bmHeight; ++i) at.push_back({i % bm.bmWidth, i / bm.bmWidth});
    MemoryDc mem(nullptr);
    SelectGuard sel(mem.Get(), bmp);
    std::vector<long> out = {bm.bmWidth, bm.bmHeight};
    for (POINT p : at) out.push_back(static_cast<long>(GetPixel(mem.Get(), p.x, p.y)));
    return out;
}

// PNG bytes read back by the system's own decoder, the Windows Imaging Component, as a 32-bit
// bitmap; none when they are not a PNG file.
Bitmap ReadPng(const std::string& png) {
    ComScope com(COINIT_APARTMENTTHREADED);
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICBitmapSource> bgr;
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(png.data()));
    UINT w = 0, h = 0;
    void* px = nullptr;
    Bitmap bmp;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, factory.OutVoid())) &&
        SUCCEEDED(factory->CreateStream(stream.Out())) &&
        SUCCEEDED(stream->InitializeFromMemory(bytes, static_cast<DWORD>(png.size()))) &&
        SUCCEEDED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Out())) &&
        SUCCEEDED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) &&
        SUCCEEDED(decoder->GetFrame(0, frame.Out())) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.Get(), bgr.Out())) &&
        SUCCEEDED(bgr->GetSize(&w, &h))) {
        const BITMAPINFO bi = TopDownDib(static_cast<int>(w), static_cast<int>(h), 32);
        bmp.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &px, nullptr, 0));
        if (bmp && FAILED(bgr->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(px)))) bmp.Reset();
    }
    return bmp;
}

// Whether a message box (as AnswerMessageBox gives it) is the program's, naming the file where
// there is one and then the reason the system gives for the error.
bool Reported(const std::string& box, DWORD error, const std::wstring& file = L"") {
    return e2e::Names(box, {std::string("Plumbo!!: "), Utf8(file), Utf8(e2e::SystemReason(error))});
}

// The first message box act() opens on this thread, as "title: text", answered once it is set
// up; empty when none opens.
std::string g_box;
std::string AnswerMessageBox(const std::function<void()>& act) {
    HOOKPROC answer = [](int code, WPARAM w, LPARAM l) -> LRESULT {
        const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(l);
        wchar_t title[256] = {}, text[1024] = {};
        if (call.message == WM_INITDIALOG && g_box.empty() && GetWindowTextW(call.hwnd, title, 256)) {
            GetDlgItemTextW(call.hwnd, 0xFFFF, text, 1024);
            g_box = Utf8(title) + ": " + Utf8(text);
            PostMessageW(call.hwnd, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, w, l);
    };
    g_box.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, answer, nullptr, GetCurrentThreadId());
    act();
    UnhookWindowsHookEx(hook);
    return g_box;
}

// Saves as the viewer does, meanwhile() once the save has begun, the loop running until the
// save is over: whether it saved, and the message box it showed, answered.
std::pair<bool, std::string> Save(const std::wstring& file, const Picture& pic, PictureFileFormat format,
                                  const RedrawnParts* parts = nullptr, const std::function<void()>& meanwhile = [] {}) {
    std::optional<bool> saved;
    const std::string box = AnswerMessageBox([&] {
        SavePictureToFile(nullptr, file, pic, format, k96Dpi, parts, [&](bool ok) { saved = ok; });
        meanwhile();
        e2e::WaitFor([&] { return saved.has_value(); });
    });
    return {saved.value_or(false), box};
}

// A bitmap keeps its depth and reads back pixel for pixel through the system's own loader:
// width 3 at 24 bits needs padded rows, 8 bits must carry the picture's colour table. A Windows
// metafile starts with the placeable header that declares the picture's own extent: its box in
// HIMETRIC, not the twips figure; its key, its units per inch and the rest of the layouts are
// tested natively.
// A write goes to a temporary file beside the target first, which then takes the target's
// place: the file there before is never written over (a second name of it keeps its contents),
// and a failure keeps it, leaves nothing behind and names the file and the system's reason. A
// file another program holds for a moment is waited for without stopping the program: a
// message sent to one of its windows is answered meanwhile, while the file there before is
// whole and the new contents lie complete beside it. The huge metafile's rendering would need
// a bitmap or PNG file past the formats' 4 GiB even at one bit per pixel: it is refused for
// its size before anything of that size is made.
TEST(ExportFiles, BitmapsKeepTheirDepthMetafilesTheirExtentAndAFileIsReplacedOnlyByACompleteWrite) {
    const fs::path dir = e2e::MakeTempDir(L"export");
    const std::wstring file = (dir / "picture.bmp").wstring(), wmf = (dir / "picture.wmf").wstring(), png = (dir / "picture.png").wstring();
    const std::vector<COLORREF> table = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(250, 240, 10)};
    for (auto [bits, w, h] : {std::tuple(24, 3, 2), std::tuple(32, 3, 2), std::tuple(8, 5, 3)}) {
        const Picture pic = DibPicture(bits, w, h, bits == 8 ? Colour([&](int x, int y) { return table[(x + 2 * y) % 4]; }) : kShades, table);
        ASSERT_TRUE(Save(file, pic, PictureFileFormat::Bmp).first);
        Bitmap read(static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        EXPECT_EQ(std::tuple(Get16(e2e::ReadFileBytes(file), 28), Look(read.Get())), std::tuple(bits, Look(pic.Bitmap())));
        ASSERT_TRUE(Save(png, pic, PictureFileFormat::Png).first);
        EXPECT_EQ(Look(ReadPng(e2e::ReadFileBytes(png)).Get()), Look(pic.Bitmap())) << "PNG of " << bits << " bits";
    }
    ASSERT_TRUE(Save(wmf, HalfBlackMetafile(10000, 5000), PictureFileFormat::Wmf).first);
    const std::string header = e2e::ReadFileBytes(wmf);
    EXPECT_EQ(std::tuple(Get16(header, 10), Get16(header, 12)), std::tuple(10000, 5000));

    const Picture emf = HalfBlackMetafile(3000, 2000), huge = HalfBlackMetafile(5300000, 5300000);
    const std::string before = "the file the user had before", written = EmfBits(emf.EnhMetafile()),
                      deep = std::string(200, 'd') + "\\" + std::string(200, 'e') + "\\" + std::string(200, 'f');
    auto what = [&](const std::string& bytes) { return bytes == before ? "before" : bytes == written ? "new" : bytes; };
    HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    // Each in a folder of its own: the file (in folders that take its path past MAX_PATH), what
    // was there before (0: nothing; a folder; the file with these attributes), how long another
    // program holds it open (0: not at all, 1: all along, 2: until the program has answered), the
    // picture (the huge one saved in the file's format) and the reasons the system may give, none
    // when the write succeeds. Windows may name a held file ERROR_SHARING_VIOLATION or
    // ERROR_ACCESS_DENIED.
    const std::tuple<std::string, DWORD, int, const Picture*, std::vector<DWORD>> cases[] = {
        {deep + "\\out.emf", FILE_ATTRIBUTE_NORMAL, 0, &emf, {}},
        {"missing\\out.emf", 0, 0, &emf, {ERROR_PATH_NOT_FOUND}},
        {"out.emf", FILE_ATTRIBUTE_DIRECTORY, 0, &emf, {ERROR_ACCESS_DENIED}},
        {"out.emf", FILE_ATTRIBUTE_READONLY, 0, &emf, {ERROR_ACCESS_DENIED}},
        {"out.emf", FILE_ATTRIBUTE_NORMAL, 1, &emf, {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED}},
        {"out.emf", FILE_ATTRIBUTE_NORMAL, 2, &emf, {}},
        {"out.bmp", FILE_ATTRIBUTE_NORMAL, 0, &huge, {ERROR_FILE_TOO_LARGE}},
        {"out.png", 0, 0, &huge, {ERROR_FILE_TOO_LARGE}},
    };
    for (int row = 0; const auto& [name, attributes, held, pic, reasons] : cases) {
        const fs::path sub = dir / to_string(++row), path = sub / name, folder = path.parent_path();
        const std::wstring target = path.wstring();  // as the save dialog gives it, not in the long form
        ASSERT_TRUE(fs::create_directories(attributes ? folder : sub));
        const bool file = attributes && attributes != FILE_ATTRIBUTE_DIRECTORY;
        if (file) {
            std::ofstream(path) << before;
            fs::create_hard_link(path, folder / "link");  // a second name of it
        }
        if (attributes == FILE_ATTRIBUTE_DIRECTORY) fs::create_directory(path);
        SetFileAttributesW(target.c_str(), attributes);
        const auto entries = std::distance(fs::directory_iterator(sub), {});
        HANDLE holder = held ? CreateFileW(target.c_str(), GENERIC_READ, held == 2 ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        std::multiset<std::string> meanwhile;  // what the folder holds while the file is held for a moment
        const auto format = name.ends_with("emf") ? PictureFileFormat::Emf : name.ends_with("png") ? PictureFileFormat::Png : PictureFileFormat::Bmp;
        const auto [ok, box] = Save(target, *pic, format, nullptr, [&] {
            if (held != 2) return;
            auto answer = std::async(std::launch::async, SendMessageW, window, WM_NULL, WPARAM{}, LPARAM{});
            e2e::WaitFor([&] { return answer.wait_for(std::chrono::seconds{}) == std::future_status::ready; });
            for (const auto& entry : fs::directory_iterator(sub)) meanwhile.insert(what(e2e::ReadFileBytes(entry.path().wstring())));
            CloseHandle(std::exchange(holder, nullptr));
        });
        if (holder) CloseHandle(holder);
        // Both names writable again, also where a faulty write has parted them.
        for (const fs::path& n : {path, folder / "link"}) SetFileAttributesW(n.c_str(), FILE_ATTRIBUTE_NORMAL);
        const bool said = reasons.empty() ? box.empty() : std::ranges::any_of(reasons, [&](DWORD r) { return Reported(box, r, target); });
        const std::string old = file ? "before" : "";
        const auto whileHeld = held == 2 ? std::multiset<std::string>{"before", "before", "new"} : std::multiset<std::string>{};
        EXPECT_EQ(std::tuple(ok, said, what(e2e::ReadFileBytes(target)), what(e2e::ReadFileBytes((folder / "link").wstring())),
                             std::distance(fs::directory_iterator(sub), {}), meanwhile),
                  std::tuple(reasons.empty(), true, reasons.empty() ? "new" : old, old, entries + (ok && !file), whileHeld)) << "row " << row << ": " << box;
        // Past MAX_PATH only the long form of a path reaches a file.
        for (const fs::path& n : {path, folder / "link"}) DeleteFileW((L"\\\\?\\" + n.wstring()).c_str());
        for (fs::path f = folder; f != sub; f = f.parent_path()) RemoveDirectoryW((L"\\\\?\\" + f.wstring()).c_str());
    }
    DestroyWindow(window);
    fs::remove_all(dir);
}

// Read back by programs on the Linux side: ImageMagick reads the PNG file (that it holds the
// picture as the viewer shows it at 100 % is checked above through the system's own decoder);
// librsvg draws the SVG file at its size in millimetres (the list's pixels at 96 dpi) as the
// metafile is drawn: every pixel alike outside the texts (fills, a hatch over black, outlines),
// ink where the texts are (in other fonts), and DrawText's lines, its mnemonic taken out, in
// text elements.
TEST(ExportFiles, OtherProgramsReadThePngAndDrawTheSvgAsTheMetafile) {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "needs Wine's Linux side";
    RectPart black = Box(150, 70, 80, 40, Fill::Solid);
    black.fillColor = 0;
    const PartList list = List({Box(0, 0, 240, 120), Box(0, 0, 240, 19, Fill::Caption), Box(10, 30, 50, 20, Fill::None),
                                black, BoxedText(19, 0, 221, 19, L"書き出し(&S)", kLayoutLeft), Line(10, 58, 130, 58),
                                PointText(70, 52, L"", L"Group", true), Box(140, 60, 60, 40),
                                BoxedText(10, 70, 110, 45, L"Words wrapped where DrawText wraps them", Wrapped(kLayoutLeft))},
                               240, 120);
    const Picture emf = PlayPartList(nullptr, list, k96Dpi);
    const std::string file = fs::path(e2e::LinuxScratchPath() + L"-svg").string();  // Z:\tmp under Wine
    auto run = [](const std::string& command) { return e2e::RunOnLinux(fs::path(command).wstring()); };
    ASSERT_TRUE(Save(L"Z:" + fs::path(file + ".png").wstring(), emf, PictureFileFormat::Png).first);
    ASSERT_TRUE(Save(L"Z:" + fs::path(file + ".svg").wstring(), emf, PictureFileFormat::Svg, KeepParts(list, k96Dpi).get()).first);
    EXPECT_EQ(run("rsvg-convert -b white -o " + file + "-s.png " + file + ".svg; identify -format '%w %h' " + file + "-s.png"), "240 120");
    const std::string emfGray = run("convert " + file + ".png -depth 8 gray:- 2>/dev/null"),
                      svgGray = run("convert " + file + "-s.png -depth 8 gray:- 2>/dev/null");
    ASSERT_TRUE(emfGray.size() == 240 * 120 && svgGray.size() == 240 * 120) << emfGray.size() << " " << svgGray.size();
    const RECT texts[] = {{19, 0, 240, 19}, {70, 50, 130, 66}, {10, 70, 120, 115}};
    std::vector<int> emfInk(3), svgInk(3), unlike;
    for (int i = 0; i < 240 * 120; ++i) {
        const uint8_t e = emfGray[i], v = svgGray[i];
        const auto t = std::find_if(texts, texts + 3, [p = POINT{i % 240, i / 240}](auto& r) { return PtInRect(&r, p); });
        if (t == texts + 3 && std::abs(e - v) > 64) unlike.push_back(i);
        if (t != texts + 3) {
            emfInk[t - texts] += e < 128;
            svgInk[t - texts] += v < 128;
        }
    }
    EXPECT_EQ(unlike, std::vector<int>{}) << "pixels at 240 y + x";
    for (int t = 0; t < 3; ++t) EXPECT_GT(svgInk[t], emfInk[t] / 3) << "text " << t << " of " << emfInk[t];
    // Each text's left end and text: the SVG's y is its baseline, the metafile's the top.
    Lines emfTexts, svgTexts;
    for (const std::string& l : Records(list, k96Dpi))
        if (l.starts_with("TEXT ")) emfTexts.push_back(std::regex_replace(l, std::regex("TEXT (\\d+) \\d+ "), "$1 "));
    const std::string svg = e2e::ReadFileBytes(L"Z:" + fs::path(file + ".svg").wstring());
    const std::regex text("<text x=\"(\\d+)\"[^>]*>([^<]*)</text>");
    for (std::sregex_iterator m(svg.begin(), svg.end(), text), end; m != end; ++m) svgTexts.push_back((*m)[1].str() + " " + (*m)[2].str());
    EXPECT_EQ(svgTexts, emfTexts);
    run("rm " + file + ".png " + file + ".svg " + file + "-s.png");
}

// The clipboard gets copies: the viewer keeps its own picture. A bitmap is offered as it is,
// as a bitmap and as a "PNG" file, and no metafile. Metafile mode offers the metafile, a Windows
// metafile of its true extent and the bitmap rendered on white at its HIMETRIC size: 10000 x
// 5000 at 12 twips per pixel are 472 x 236 pixels, white on the left (the outline of the
// background lies outside), black on the right to the far corner, the red line along the top.
// A clipboard held by another thread's window, or memory that cannot be locked, leaves the
// clipboard as it was, and the failure is reported with the system's reason.
TEST(ExportClipboard, EachModeOffersItsFormatsAndAFailedCopyIsReportedAndLeavesTheClipboardAlone) {
    const Picture pic = HalfBlackMetafile(10000, 5000), bitmap = DibPicture(24, 6, 4, kShades);
    const std::vector<POINT> points = {{0, 235}, {118, 118}, {241, 118}, {469, 233}, {118, 0}};
    const std::vector<long> shown = {472, 236, kWhite, kWhite, 0, 0, kRed};
    using Read = std::tuple<std::string, std::tuple<long, long, long>, std::vector<long>, std::vector<long>>;
    for (const auto& [copied, metafileMode, tpp, at, want] :
         {std::tuple(&bitmap, false, k96Dpi, std::vector<POINT>{}, Read{"", {}, Look(bitmap.Bitmap()), Look(bitmap.Bitmap())}),
          std::tuple(&pic, true, k120Dpi, points, Read{EmfBits(pic.EnhMetafile()), {MM_ANISOTROPIC, 10000, 5000}, shown, shown})}) {
        ASSERT_TRUE(CopyPictureToClipboard(nullptr, *copied, metafileMode, tpp));
        ASSERT_TRUE(OpenClipboard(nullptr));
        METAFILEPICT mfp{};
        if (auto mem = static_cast<HGLOBAL>(GetClipboardData(CF_METAFILEPICT))) {
            mfp = *static_cast<METAFILEPICT*>(GlobalLock(mem));
            GlobalUnlock(mem);
        }
        std::string png;  // the bytes of the registered "PNG" format: a whole PNG file
        if (auto mem = static_cast<HGLOBAL>(GetClipboardData(RegisterClipboardFormatW(L"PNG")))) {
            png.assign(static_cast<char*>(GlobalLock(mem)), GlobalSize(mem));
            GlobalUnlock(mem);
        }
        const auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
        EXPECT_EQ(Read(emf ? EmfBits(emf) : "", {mfp.mm, mfp.xExt, mfp.yExt}, Look(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), at),
                       Look(ReadPng(png).Get(), at)), want);
        CloseClipboard();
    }
    EXPECT_EQ(GetObjectType(bitmap.Bitmap()), static_cast<DWORD>(OBJ_BITMAP)) << "the viewer keeps its own";
    auto failedLock = [](HGLOBAL) -> LPVOID { return SetLastError(ERROR_LOCK_FAILED), nullptr; };
    for (const auto& [lock, reason] : {std::pair(GlobalLocker{}, DWORD{ERROR_ACCESS_DENIED}), std::pair(+failedLock, DWORD{ERROR_LOCK_FAILED})}) {
        const DWORD copies = GetClipboardSequenceNumber();
        e2e::StuckWindow holder(0, reason == ERROR_ACCESS_DENIED);
        SetGlobalLocker(lock);
        bool ok = true;
        const std::string box = AnswerMessageBox([&] { ok = CopyPictureToClipboard(nullptr, pic, true, k120Dpi); });
        SetGlobalLocker(nullptr);
        EXPECT_EQ(std::tuple(ok, Reported(box, reason), GetClipboardSequenceNumber()), std::tuple(false, true, copies)) << box;
    }
}

}  // namespace
}  // namespace plumbo
