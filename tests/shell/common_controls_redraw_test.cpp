// The re-drawing of another program's common controls: every text a person sees in the
// target's item lists (testtarget.exe /lists) or in its bars and small controls (/bars) reaches
// the metafile where its control shows it, as the target tells it, asked in its own process;
// and a target that answers late, hangs or closes while it is read holds the re-drawing up no
// longer than its budget and keeps none of the memory placed in it. The lists, the bars and the
// canvas are read from the target built as a 32-bit program too.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "platform/window_reports_win.h"
#include "vector/redraw_win.h"

namespace plumbo {
namespace {

// The test target, and the same built as a 32-bit program where the build has one: its controls
// answer in a 32-bit program's structures.
const std::vector<std::wstring> kTargetPrograms{L"testtarget.exe",
#ifdef PLUMBO_TESTTARGET32
                                                L"testtarget32.exe"
#endif
};

// A metafile played on white at its natural size.
struct Played : e2e::Image {
    // How many pixels of [x0, x1) x [y0, y1) are black.
    int Black(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
                n += (At(x, y) & 0xFFFFFF) == 0;
        return n;
    }
    // How a button looks over its rectangle r: "push", or "split" with ink down its right square
    // too, where its right edge is inked at the middle line; "box" where its top left corner is,
    // "circle" where the left end of its middle line is, either with a "dot" or a tick ("ticked",
    // "third" when it fills more than half) by the ink of its left square's middle quarter; or
    // "nothing".
    std::string Look(const RECT& r) const {
        const int d = r.bottom - r.top, q = d / 4, cy = r.top + d / 2;
        const int middle = Black(r.left + q, r.top + q, r.left + 3 * q, r.top + 3 * q);
        if (Black(r.right - 2, cy, r.right, cy + 1))
            return Black(r.right - d + 3, r.top + 3, r.right - 3, r.bottom - 3) ? "split" : "push";
        if (Black(r.left, r.top, r.left + 2, r.top + 2))
            return middle == 0 ? "box" : middle > 2 * q * q ? "box third" : "box ticked";
        if (Black(r.left, cy - 1, r.left + 2, cy + 1))
            return middle == 0 ? "circle" : "circle dot";
        return "nothing";
    }
};
Played Play(const RedrawResult& redrawn) {
    const auto play = [&](HDC dc, const RECT& all) { PlayEnhMetaFile(dc, redrawn.picture.EnhMetafile(), &all); };
    return {e2e::PaintedOn(RGB(255, 255, 255), redrawn.naturalWidth, redrawn.naturalHeight, play)};
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    return std::wstring(name, GetClassNameW(window, name, 64));
}

bool Drawn(const std::vector<e2e::MetafileText>& texts, std::wstring_view text) {
    return std::ranges::any_of(texts, [&](const auto& t) { return t.text == text; });
}

// Whether a target still takes its messages, rather than having ended or hung.
bool Answers(HWND window) {
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr) != 0;
}

// The target program started with `args`, 760 pixels wide: what it shows (at least `least` texts,
// or it said nothing) and the texts of its re-drawing, each text it shows looked for among them
// `stretch` times as far from the corner, and the re-drawing played. The target lives on.
using Redrawn = std::tuple<std::vector<e2e::ShownText>, std::vector<e2e::MetafileText>, Played>;
Redrawn ExpectDrawnWhereShown(const std::wstring& program, const wchar_t* args, int height, size_t least,
                              double stretch = 1) {
    SCOPED_TRACE(testing::Message() << program << " " << args);
    e2e::Target target(program);
    EXPECT_TRUE(target.Start(20, 20, 760, height, L"Redrawn", args));
    auto shown = e2e::ShownBy(target);
    for (e2e::ShownText& s : shown)
        for (LONG* edge : {&s.rect.left, &s.rect.top, &s.rect.right, &s.rect.bottom})
            *edge = std::lround(*edge * stretch);
    EXPECT_GE(shown.size(), least) << "the target did not say what it shows";
    // What reaches the picture, not how soon: the accessibility budget has its own test below. On
    // a machine another program keeps busy, Wine's calls across processes can need more than the
    // program's one second for a canvas's elements, and the texts read last were missing.
    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()), false, std::chrono::seconds(20));
    EXPECT_TRUE(redrawn.has_value());
    const auto texts = redrawn ? e2e::MetafileTexts(redrawn->picture.EnhMetafile()) : std::vector<e2e::MetafileText>{};
    for (const e2e::ShownText& s : shown)
        EXPECT_TRUE(e2e::DrawnWhereShown(texts, s)) << s.kind << " '" << s.text.substr(0, 80) << "' in " << s.rect.left
                                                    << "," << s.rect.top << "," << s.rect.right << "," << s.rect.bottom;
    EXPECT_TRUE(Answers(target.Hwnd())) << "the target ended";
    return {shown, texts, redrawn ? Play(*redrawn) : Played{}};
}

// Each kind of control says something: status bar, tool bars, rebar, combo boxes, edits, statics,
// link, date and month. A status bar of the target's own copies its parts whole, as the contract
// allows; it, a tool bar and a simple combo box's list hold texts of 3,000 units and texts that
// grow by as much between the question for their length and their copy. The target ends itself
// should any of them write past the memory it was given. A window with no child windows that
// paints a form itself (testtarget.exe /canvas) is read through its own accessibility tree, across
// processes: every name and value it shows reaches the metafile inside its element, an invisible
// one none. A window whose client area covers its caption (testtarget.exe /ownframe) gets no
// made-up caption: no title, no caption buttons right of its tabs, whose texts are drawn where it
// shows them.
// Controls of the toolkits under their own names (testtarget.exe /toolkit) are drawn as their
// base classes: every text a person sees where it is shown, a link's without its markup, a tool
// bar's edit and labels and a check list's rows among them; a name that only looks like a button
// stays a box with its name. Played, the check box is ticked, the option button has its dot, each
// check-list row its box, and the progress bar in the status bar is filled halfway. Through the
// seam, as Windows answers RealGetWindowClassW (Wine names the window's own class, as the seam
// does for every other control): an ATL superclass of a list box, which neither its name nor its
// answer to WM_GETDLGCODE tells, is drawn with its items, not as a box with its name.
TEST(ListsRedraw, EveryTextOfListsBarsCanvasOwnFrameAndToolkitsIsDrawnInItsItemWithItsStateNoneScrolledAwayHiddenMadeUpOrPastItsBuffer) {
    for (const std::wstring& program : kTargetPrograms) {
        const auto [listShown, listTexts, listPlayed] = ExpectDrawnWhereShown(program, L"/lists", 580, 60);
        // Of the report view's thousand rows only those on show are drawn: some, and fewer than 20
        // (its 200 pixels hold about ten).
        auto rows = [](const auto& list) {
            return std::count_if(list.begin(), list.end(), [](const auto& t) { return t.text.rfind(L"Row ", 0) == 0; });
        };
        EXPECT_EQ(rows(listTexts), rows(listShown));
        EXPECT_TRUE(rows(listShown) > 0 && rows(listShown) < 20) << rows(listShown) << " rows";
        const auto bars = std::get<1>(ExpectDrawnWhereShown(program, L"/bars", 640, 30));
        EXPECT_TRUE(std::ranges::none_of(bars, [](const auto& t) { return t.text.starts_with(L"AB"); }))
            << "an owner-drawn combo box's data drawn as text";
        const auto canvas = std::get<1>(ExpectDrawnWhereShown(program, L"/canvas", 400, 20));
        EXPECT_FALSE(Drawn(canvas, L"Hidden text")) << "an invisible element drawn";
        const auto [frameShown, frameTexts, frame] = ExpectDrawnWhereShown(program, L"/ownframe", 300, 2);
        EXPECT_FALSE(Drawn(frameTexts, L"Redrawn")) << "a made-up caption's title";
        EXPECT_EQ(frame.Black(frame.width - 90, 2, frame.width - 2, 30), 0) << "made-up caption buttons";
        Reports().realClassName = [](HWND h) { return ClassOf(h) == L"ATL:0040D010" ? L"ListBox" : ClassOf(h); };
        const auto [shown, texts, played] = ExpectDrawnWhereShown(program, L"/toolkit", 420, 20);
        ResetReports();
        EXPECT_EQ(std::tuple(Drawn(texts, L"TFakeButton"), Drawn(texts, L"Fake"), Drawn(texts, L"Kiwi"),
                             Drawn(texts, L"ATL:0040D010")),
                  std::tuple(true, false, true, false)) << "a toolkit control drawn as a box or not at all";
        for (const e2e::ShownText& s : shown) {
            const RECT& r = s.rect;
            const int d = r.bottom - r.top, cy = r.top + d / 2;
            const bool rowBox = played.Black(r.left - d, cy - 1, r.left - d + 3, cy + 1);
            // The progress bar stands 2 px into the part right of "Ready", 100 px wide.
            const bool half = played.Black(r.right + 8, r.top + 4, r.right + 48, r.bottom - 4) > 20 &&
                              !played.Black(r.right + 60, r.top + 4, r.right + 96, r.bottom - 4);
            const bool looks = s.text == L"Forms check"                       ? played.Look(r) == "box ticked"
                               : s.text == L"Option"                          ? played.Look(r) == "circle dot"
                               : s.text == L"Ready"                           ? half
                               : s.text == L"Apples" || s.text == L"Plums"    ? rowBox
                                                                              : true;
            EXPECT_TRUE(looks) << s.text;
        }
    }
}

// A picture in a metafile: where it is drawn (x, y, width, height), how many pixels wide it is,
// and its colour 8 rows into it, in the middle.
using DrawnImage = std::tuple<long, long, long, long, long, COLORREF>;
std::vector<DrawnImage> Pictures(HENHMETAFILE emf) {
    std::vector<DrawnImage> images;
    EnumEnhMetaFile(nullptr, emf, [](HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM found) {
        if (rec->iType != EMR_STRETCHDIBITS) return 1;
        const auto* s = reinterpret_cast<const EMRSTRETCHDIBITS*>(rec);
        const auto* bytes = reinterpret_cast<const uint8_t*>(rec);
        const long width = reinterpret_cast<const BITMAPINFOHEADER*>(bytes + s->offBmiSrc)->biWidth;
        const uint8_t* mid = bytes + s->offBitsSrc + (width * 3 + 3) / 4 * 4 * 8 + width / 2 * 3;
        auto* images = reinterpret_cast<std::vector<DrawnImage>*>(found);
        images->emplace_back(s->xDest, s->yDest, s->cxDest, s->cyDest, width, RGB(mid[2], mid[1], mid[0]));
        return 1;
    }, &images, nullptr);
    return images;
}
// The owner-drawn list box's rows.
constexpr COLORREF kRowRed = RGB(0xC8, 0x1E, 0x1E);

// An owner-drawn list box (testtarget.exe /ownerdrawn, red rows) with pictures on: the screen's
// pixels of it in the metafile (one StretchDIBits over its rectangle, its first row red) and in the SVG
// (an <image> there); off, neither, and its outline all the same.
// Then as a system-aware program that started at 144 dpi while we have 96, as the seam stands in
// for one on Windows after the user changed the scaling: the compositor shrinks it to the monitor.
// Wine's target answers in the screen's pixels, each of which then stands for 1.5 of its own. Its
// record is in its own pixels throughout: this thread cannot take a system DPI not its own, so it
// reads the screen's pixels and scales them; a canvas's accessibility tree answers in the
// screen's pixels too; a picture of what paints itself is the screen's pixels where the control
// is, at their own size; and a date picker's text ends where its button begins, at least 24 pixels
// from its right edge at 144 dpi, not the 16 or so it is wide at our 96.
TEST(OwnerDrawnRedraw, ItsPixelsAreInTheMetafileAndSvgWithPicturesOnAndOffItsOutlineAtAnotherSystemDpiInItsOwnPixels) {
    e2e::Target target;
    ASSERT_TRUE(target.Start(40, 40, 300, 220, L"Owner", L"/ownerdrawn"));
    const RECT r = e2e::OnFrame(GetWindow(target.Hwnd(), GW_CHILD), target.Hwnd());
    for (bool pictures : {true, false}) {
        SCOPED_TRACE(pictures);
        auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()), pictures);
        ASSERT_TRUE(redrawn.has_value());
        const long width = r.right - r.left;
        const DrawnImage want{r.left, r.top, width, r.bottom - r.top, width, kRowRed};
        EXPECT_EQ(Pictures(redrawn->picture.EnhMetafile()), std::vector<DrawnImage>(pictures, want));
        const std::string svg = redrawn->parts->Svg(nullptr);
        char place[96];
        std::snprintf(place, sizeof place, "x=\"%ld\" y=\"%ld\" width=\"%ld\" height=\"%ld\" preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64,iVBOR", r.left, r.top, r.right - r.left, r.bottom - r.top);
        EXPECT_EQ(svg.find(place) != std::string::npos, pictures) << svg.substr(0, 2000);
        // The outline is there either way.
        char outline[64];
        std::snprintf(outline, sizeof outline, "<rect x=\"%ld.5\" y=\"%ld.5\"", r.left, r.top);
        EXPECT_NE(svg.find(outline), std::string::npos) << outline;
    }
    std::vector<DpiAwareness> switches;
    Reports().desktopComposed = [] { return true; };
    Reports().dpiAwareness = [](HWND) { return DpiAwareness::System; };
    Reports().contextDpi = [](HWND) { return 144u; };
    Reports().switchThreadAwareness = [&](DpiAwareness a) {
        switches.push_back(a);
        return reinterpret_cast<void*>(1);
    };
    Reports().restoreThreadAwareness = [](void*) {};
    // Grabbed while nothing has yet covered it.
    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()), true);
    ExpectDrawnWhereShown(kTargetPrograms[0], L"/canvas", 400, 20, 1.5);
    e2e::Target bars;
    ASSERT_TRUE(bars.Start(20, 20, 760, 640, L"Bars", L"/bars"));
    // Laid out, and its account of what it shows taken away: a later target given the same
    // process id by Wine could otherwise find this one's file while it deletes it.
    ASSERT_FALSE(e2e::ShownBy(bars).empty());
    HWND picker = FindWindowExW(bars.Hwnd(), nullptr, L"SysDateTimePick32", nullptr);
    const RECT date = e2e::ClientRectOnScreen(picker);
    const RECT frame = e2e::WindowRectOf(bars.Hwnd());
    auto barsRedrawn = RedrawWindowAsMeta(bars.Hwnd(), nullptr, WindowTwipsPerPixel(bars.Hwnd()));
    ResetReports();
    ASSERT_TRUE(redrawn && barsRedrawn);
    auto at = [](long ownPixels) { return std::lround(ownPixels * 1.5); };
    const DrawnImage want{at(r.left), at(r.top), at(r.right) - at(r.left), at(r.bottom) - at(r.top),
                          r.right - r.left, kRowRed};
    EXPECT_EQ(Pictures(redrawn->picture.EnhMetafile()), std::vector<DrawnImage>{want});
    // Read in the screen's pixels, the grab among them.
    EXPECT_EQ(switches, std::vector<DpiAwareness>(4, DpiAwareness::PerMonitor));
    const auto texts = e2e::MetafileTexts(barsRedrawn->picture.EnhMetafile());
    const auto day = std::ranges::find(texts, std::wstring(L"2024/3/15"), &e2e::MetafileText::text);
    ASSERT_NE(day, texts.end());
    EXPECT_LE(day->clip.right, std::lround((date.right - frame.left) * 1.5) - 24);
}

// Each button type in each state (testtarget.exe /buttons, captioned "t<type> s<state>") looks
// in the played metafile as it does on the screen: told apart by pixels of its left square
// (its corner, the middle quarter, the left end of its middle line), its right edge and right end.
TEST(ButtonsRedraw, EachTypeInEachStateIsDrawnAsItLooksItsCheckStateShown) {
    e2e::Target target;
    ASSERT_TRUE(target.Start(30, 30, 680, 300, L"Buttons", L"/buttons"));
    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()));
    ASSERT_TRUE(redrawn.has_value());
    const Played played = Play(*redrawn);
    const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
    std::map<std::wstring, std::string> looks;
    for (HWND b = GetWindow(target.Hwnd(), GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT)) {
        const std::wstring caption = e2e::TextOf(b);
        looks[caption] = played.Look(e2e::OnFrame(b, target.Hwnd())) + (Drawn(texts, caption) ? "" : " no text");
    }
    const std::map<std::wstring, std::string> want{
        {L"t0 s0", "push"}, {L"t1 s0", "push"}, {L"t8 s0", "push"}, {L"tA s0", "push"}, {L"tE s0", "push"}, {L"tF s0", "push"},
        {L"t2 s0", "box"}, {L"t2 s1", "box ticked"}, {L"t3 s0", "box"}, {L"t3 s1", "box ticked"}, {L"t5 s0", "box"}, {L"t5 s1", "box ticked"},
        {L"t5 s2", "box third"}, {L"t6 s0", "box"}, {L"t6 s1", "box ticked"}, {L"t6 s2", "box third"}, {L"t4 s0", "circle"}, {L"t4 s1", "circle dot"},
        {L"t9 s0", "circle"}, {L"t9 s1", "circle dot"}, {L"tB s0", "push no text"}, {L"tC s0", "split"}, {L"tD s0", "split"}};
    EXPECT_EQ(looks, want);
}

// What a person sees of a window of another program, as this test reads it: its title over its
// client area, every visible child window's text where its class shows it (without the '&' of
// its mnemonic; a group box's on its top line), and the items given for the first control of
// each class, anywhere in it; each relative to the window's outer corner.
std::vector<e2e::ShownText> ShownIn(HWND window, std::map<std::wstring, std::vector<std::wstring>> items) {
    std::vector<HWND> children;
    EnumChildWindows(window, [](HWND h, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&children));
    const RECT outer = e2e::WindowRectOf(window);
    const RECT caption{0, 0, outer.right - outer.left, e2e::ClientRectOnScreen(window).top - outer.top};
    std::vector<e2e::ShownText> shown{{L"line", e2e::TextOf(window), caption}};
    for (HWND child : children) {
        const std::wstring cls = ClassOf(child);
        const RECT r = e2e::OnFrame(child, window);
        for (const std::wstring& item : std::exchange(items[cls], {}))
            shown.push_back({L"line", item, r});
        std::wstring text = e2e::TextOf(child);
        std::erase(text, L'&');
        const bool group = cls == L"Button" && (GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_GROUPBOX;
        const bool shows = cls == L"Button" || cls == L"Static" || cls == L"ComboBox" ||
                           cls == L"msctls_statusbar32";
        if (shows && !text.empty() && IsWindowVisible(child))
            shown.push_back({group ? L"at" : L"wrap", text, group ? RECT{r.left, r.top - 10, r.right, r.top} : r});
    }
    // Nothing until a control of each class given is there.
    const bool whole = std::ranges::all_of(items, [](const auto& item) { return item.second.empty(); });
    return whole ? shown : std::vector<e2e::ShownText>{};
}

// Wine's own programs, re-drawn as they stand: every text of theirs a person sees is drawn at its
// place. Their lists', trees' and tabs' items are those Wine 8 shows in either language. Their
// menu bars are left out: another program's menus cannot be read under Wine.
TEST(WineProgramsRedraw, EveryTextOfWinesOwnProgramsIsDrawnAtItsPlace) {
    const bool ja = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    using Texts = std::vector<std::wstring>;
    const Texts keys{ja ? L"マイ コンピューター" : L"My Computer", L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER",
                     L"HKEY_LOCAL_MACHINE", L"HKEY_USERS", L"HKEY_CURRENT_CONFIG", L"HKEY_DYN_DATA"};
    const Texts columns = ja ? Texts{L"名前", L"型", L"データ"} : Texts{L"Name", L"Type", L"Data"};
    const Texts tabs = ja ? Texts{L"アプリケーション", L"ライブラリ", L"画面", L"デスクトップ統合", L"ドライブ",
                                  L"オーディオ", L"Wine について"}
                          : Texts{L"Applications", L"Libraries", L"Graphics", L"Desktop Integration", L"Drives",
                                  L"Audio", L"About"};
    const std::wstring defaults = ja ? L"既定の設定" : L"Default Settings";
    using Items = std::map<std::wstring, Texts>;
    const struct { std::wstring program, cls; Items items; } rows[] = {
        {L"C:\\windows\\notepad.exe", L"Notepad", {}},
        {L"C:\\windows\\regedit.exe", L"RegEdit_RegEdit", {{L"SysTreeView32", keys}, {L"SysHeader32", columns}}},
        {L"C:\\windows\\system32\\winecfg.exe", L"#32770",
         {{L"SysTabControl32", tabs}, {L"SysListView32", {defaults}}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.program);
        e2e::Process process;
        ASSERT_TRUE(process.Start(row.program, L"", L""));
        HWND window = nullptr;
        std::vector<e2e::ShownText> shown;
        // Shown, and every control of the items made (a property sheet makes its page after).
        auto found = [&] {
            window = e2e::WindowOf(process.Pid(), row.cls.c_str(), true);
            shown = window ? ShownIn(window, row.items) : std::vector<e2e::ShownText>{};
            return !shown.empty();
        };
        ASSERT_TRUE(e2e::WaitFor(found, 20000));
        auto redrawn = RedrawWindowAsMeta(window, nullptr, WindowTwipsPerPixel(window));
        ASSERT_TRUE(redrawn.has_value());
        const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
        for (const e2e::ShownText& s : shown)
            EXPECT_TRUE(e2e::DrawnWhereShown(texts, s))
                << s.kind << " '" << s.text << "' at " << s.rect.left << "," << s.rect.top;
    }
}

// Committed allocations of the process's own memory (not images or mapped files).
size_t PrivateAllocations(HANDLE process) {
    size_t n = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (char* at = nullptr; VirtualQueryEx(process, at, &m, sizeof m) == sizeof m; at = static_cast<char*>(m.BaseAddress) + m.RegionSize)
        n += m.Type == MEM_PRIVATE && m.State == MEM_COMMIT && m.BaseAddress == m.AllocationBase;
    return n;
}

// The tree of testtarget.exe /lists, read last, answers each question 150 ms late (asked about
// each of its eight items in turn, 1.2 s; the half-second budget runs out over several), not at
// all for 3 s (one message's wait), or ends the program while it is asked; the element halfway down
// a canvas (testtarget.exe /stall) answers 3 s late (its walk has a budget of a second): the
// re-drawing is over well before, the canvas's shows what was read before it.
TEST(ListsRedraw, ATargetThatAnswersLateHangsStallsOrClosesHoldsTheRedrawingUpNoLongerThanTheBudgetAndKeepsNoMemory) {
    for (const std::wstring& program : kTargetPrograms) {
        for (const auto& [args, withinMs] : {std::pair(L"/lists /slow", 1000), {L"/lists /hang", 2000},
                                             {L"/lists /close", 2000}, {L"/stall", 2000}}) {
            const std::wstring answer = args;
            SCOPED_TRACE(testing::Message() << program << " " << answer);
            e2e::Target target(program);
            ASSERT_TRUE(target.Start(40, 40, 760, 580, L"Lists", answer));
            ASSERT_FALSE(e2e::ShownBy(target).empty());
            HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, target.Pid());
            ASSERT_TRUE(process);
            const auto before = PrivateAllocations(process);

            const auto start = std::chrono::steady_clock::now();
            const auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()));
            const auto took = std::chrono::steady_clock::now() - start;
            EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), withinMs);
            if (answer == L"/stall") {
                ASSERT_TRUE(redrawn.has_value());
                const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
                EXPECT_EQ(std::tuple(Drawn(texts, L"OK"), Drawn(texts, L"Tokyo"), Drawn(texts, L"Cherry")),
                          std::tuple(true, true, false));
            }

            // The hung tree will still write its late answer into the memory we placed in it: that
            // stays while it sleeps, and is freed once the target has caught up (this thread taking
            // its messages meanwhile). The target lives on.
            if (answer == L"/lists /hang") { EXPECT_EQ(PrivateAllocations(process), before + 1); }
            if (answer == L"/lists /close") {
                EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0) << "the target did not end";
            } else {
                // A canvas is asked through COM, which keeps threads and memory of its own there.
                EXPECT_TRUE(answer == L"/stall" ||
                            e2e::WaitFor([&] { return PrivateAllocations(process) == before; }, 6000))
                    << PrivateAllocations(process) << " allocations, " << before << " before";
                EXPECT_TRUE(Answers(target.Hwnd())) << "the target ended";
            }
            CloseHandle(process);
        }
    }
}

}  // namespace
}  // namespace plumbo
