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
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "platform/gdi_win.h"
#include "platform/png_win.h"
#include "platform/window_reports_win.h"
#include "vector/read/accessible_reader_win.h"
#include "vector/read/control_query_win.h"
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

// A metafile played on white at its natural size, as 24-bit rows.
struct Played {
    int width = 0, height = 0;
    std::vector<uint8_t> rows;
    size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) / 4 * 4; }
    // How many pixels of [x0, x1) x [y0, y1) are black.
    int Black(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) {
                const uint8_t* pixel = &rows[y * Stride() + x * 3];
                n += (pixel[0] | pixel[1] | pixel[2]) == 0;
            }
        return n;
    }
};
Played Play(const RedrawResult& redrawn) {
    Played out{redrawn.naturalWidth, redrawn.naturalHeight, {}};
    const BITMAPINFO bi = TopDownDib(out.width, out.height, 24);
    void* bits = nullptr;
    MemoryDc dc(nullptr);
    Bitmap dib(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard select(dc.Get(), dib.Get());
    const RECT all{0, 0, out.width, out.height};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(dc.Get(), redrawn.picture.EnhMetafile(), &all);
    GdiFlush();
    out.rows.assign(static_cast<uint8_t*>(bits), static_cast<uint8_t*>(bits) + out.Stride() * out.height);
    return out;
}

// The target program started with `args`, 760 pixels wide: what it shows (at least `least` texts,
// or it said nothing) and the texts of its re-drawing, each text it shows looked for among them,
// and the re-drawing played. The target lives on.
struct Redrawn {
    std::vector<e2e::ShownText> shown;
    std::vector<e2e::MetafileText> texts;
    Played played;
};
Redrawn ExpectDrawnWhereShown(const std::wstring& program, const wchar_t* args, int height, size_t least) {
    SCOPED_TRACE(testing::Message() << program);
    e2e::Target target(program);
    EXPECT_TRUE(target.Start(20, 20, 760, height, L"Redrawn", args));
    BOOL wow64 = FALSE;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, target.Pid());
    EXPECT_TRUE(process && IsWow64Process(process, &wow64) && (wow64 != FALSE) == (program == L"testtarget32.exe"));
    if (process) CloseHandle(process);
    const auto shown = e2e::ShownBy(target);
    EXPECT_GE(shown.size(), least) << "the target did not say what it shows";
    // What reaches the picture, not how soon: the accessibility budget has its own test below. On
    // a machine another program keeps busy, Wine's calls across processes can need more than the
    // program's one second for a canvas's elements, and the texts read last were missing.
    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()), false, std::chrono::seconds(20));
    EXPECT_TRUE(redrawn.has_value());
    const auto texts = redrawn ? e2e::MetafileTexts(redrawn->picture.EnhMetafile()) : std::vector<e2e::MetafileText>{};
    std::printf("%ls %ls: %zu texts shown, %zu in the metafile, %td at their place\n", program.c_str(), args, shown.size(),
                texts.size(), std::count_if(shown.begin(), shown.end(), [&](const auto& s) { return e2e::DrawnWhereShown(texts, s); }));
    for (const e2e::ShownText& s : shown)
        EXPECT_TRUE(e2e::DrawnWhereShown(texts, s)) << s.kind << " '" << s.text.substr(0, 80) << "' in " << s.rect.left
                                                    << "," << s.rect.top << "," << s.rect.right << "," << s.rect.bottom;
    EXPECT_TRUE(SendMessageTimeoutW(target.Hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr)) << "the target ended";
    return {shown, texts, redrawn ? Play(*redrawn) : Played{}};
}

TEST(ListsRedraw, EveryTextOnShowReachesTheMetafileInsideItsItemAndNoRowScrolledAway) {
    for (const std::wstring& program : kTargetPrograms) {
        const auto [shown, texts, played] = ExpectDrawnWhereShown(program, L"/lists", 580, 60);
        // Of the report view's thousand rows only those on show are drawn: some, and fewer than 20
        // (its 200 pixels hold about ten).
        auto rows = [](const auto& list) {
            return std::count_if(list.begin(), list.end(), [](const auto& t) { return t.text.rfind(L"Row ", 0) == 0; });
        };
        EXPECT_EQ(rows(texts), rows(shown));
        EXPECT_TRUE(rows(shown) > 0 && rows(shown) < 20) << rows(shown) << " rows";
    }
}

// Each kind of control says something: status bar, tool bars, rebar, combo boxes, edits, statics,
// link, date and month. A status bar of the target's own copies its parts whole, as the contract
// allows; it, a tool bar and a simple combo box's list hold texts of 3,000 units and texts that
// grow by as much between the question for their length and their copy. The target ends itself
// should any of them write past the memory it was given.
TEST(BarsRedraw, EveryTextOfTheBarsAndSmallControlsReachesTheMetafileInItsItemCutToItAndNoneIsWrittenPastItsBuffer) {
    for (const std::wstring& program : kTargetPrograms) {
        const auto texts = ExpectDrawnWhereShown(program, L"/bars", 640, 30).texts;
        EXPECT_TRUE(std::none_of(texts.begin(), texts.end(), [](const auto& t) { return t.text.starts_with(L"AB"); }))
            << "an owner-drawn combo box's data drawn as text";
    }
}

// A window with no child windows that paints a form itself (testtarget.exe /canvas) is read
// through its own accessibility tree, across processes: every name and value it shows reaches
// the metafile inside its element.
TEST(CanvasRedraw, EveryTextACanvasShowsThroughItsAccessibilityTreeReachesTheMetafileInsideItsElement) {
    for (const std::wstring& program : kTargetPrograms) {
        const auto texts = ExpectDrawnWhereShown(program, L"/canvas", 400, 20).texts;
        EXPECT_TRUE(std::none_of(texts.begin(), texts.end(), [](const auto& t) { return t.text == L"Hidden text"; })) << "an invisible element drawn";
    }
}

// The re-drawing of a window, and how many milliseconds it took.
std::pair<std::optional<RedrawResult>, long long> TimedRedraw(HWND window) {
    const auto start = std::chrono::steady_clock::now();
    auto redrawn = RedrawWindowAsMeta(window, nullptr, WindowTwipsPerPixel(window));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return {std::move(redrawn), took.count()};
}

// Its element halfway down answers 3 s late: the re-drawing is over well within those 3 s (its
// walk has a budget of a second), shows what was read before it, and the canvas lives on.
TEST(CanvasRedraw, ACanvasThatStopsAnsweringHalfwayHoldsTheRedrawingUpNoLongerThanTheBudget) {
    e2e::Target target;
    ASSERT_TRUE(target.Start(40, 40, 760, 400, L"Stalling", L"/stall"));
    ASSERT_FALSE(e2e::ShownBy(target).empty());
    const auto [redrawn, took] = TimedRedraw(target.Hwnd());
    EXPECT_LT(took, 2000);
    ASSERT_TRUE(redrawn.has_value());
    const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
    auto drawn = [&](const wchar_t* s) { return std::any_of(texts.begin(), texts.end(), [&](const auto& t) { return t.text == s; }); };
    EXPECT_TRUE(drawn(L"OK") && drawn(L"Tokyo"));
    EXPECT_FALSE(drawn(L"Cherry"));
    EXPECT_TRUE(SendMessageTimeoutW(target.Hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr)) << "the target ended";
}

// An owner-drawn list box (testtarget.exe /ownerdrawn, red rows) with pictures on: the screen's
// pixels of it in the metafile (one StretchDIBits over its rectangle, its first row red) and in the SVG
// (an <image> there); off, neither, and its outline all the same.
TEST(OwnerDrawnRedraw, WithPicturesOnItsPixelsAreInTheMetafileAndTheSvgOverItsRectangleAndOffOnlyItsOutline) {
    e2e::Target target;
    ASSERT_TRUE(target.Start(40, 40, 300, 220, L"Owner", L"/ownerdrawn"));
    HWND list = GetWindow(target.Hwnd(), GW_CHILD);
    RECT r = e2e::WindowRectOf(list);
    const RECT frame = e2e::WindowRectOf(target.Hwnd());
    OffsetRect(&r, -frame.left, -frame.top);
    for (bool pictures : {true, false}) {
        SCOPED_TRACE(pictures);
        auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()), pictures);
        ASSERT_TRUE(redrawn.has_value());
        std::vector<std::string> images;  // "x,y wxh colour-8-rows-down-in-the-middle"
        EnumEnhMetaFile(nullptr, redrawn->picture.EnhMetafile(), [](HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM found) {
            if (rec->iType != EMR_STRETCHDIBITS) return 1;
            const auto* s = reinterpret_cast<const EMRSTRETCHDIBITS*>(rec);
            const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(reinterpret_cast<const char*>(rec) + s->offBmiSrc);
            const auto* bits = reinterpret_cast<const uint8_t*>(rec) + s->offBitsSrc;
            const size_t stride = (info->biWidth * 3 + 3) / 4 * 4, mid = stride * 8 + info->biWidth / 2 * 3;
            char text[64];
            std::snprintf(text, sizeof text, "%ld,%ld %ldx%ld %02x%02x%02x", s->xDest, s->yDest, s->cxDest, s->cyDest, bits[mid + 2], bits[mid + 1], bits[mid]);
            reinterpret_cast<std::vector<std::string>*>(found)->push_back(text);
            return 1;
        }, &images, nullptr);
        char want[64];
        std::snprintf(want, sizeof want, "%ld,%ld %ldx%ld c81e1e", r.left, r.top, r.right - r.left, r.bottom - r.top);
        EXPECT_EQ(images, pictures ? std::vector<std::string>{want} : std::vector<std::string>{});
        const std::string svg = redrawn->parts->Svg(nullptr);
        char place[96];
        std::snprintf(place, sizeof place, "x=\"%ld\" y=\"%ld\" width=\"%ld\" height=\"%ld\" preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64,iVBOR", r.left, r.top, r.right - r.left, r.bottom - r.top);
        EXPECT_EQ(svg.find(place) != std::string::npos, pictures) << svg.substr(0, 2000);
        // The outline is there either way.
        char outline[64];
        std::snprintf(outline, sizeof outline, "<rect x=\"%ld.5\" y=\"%ld.5\"", r.left, r.top);
        EXPECT_NE(svg.find(outline), std::string::npos) << outline;
    }
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
    const auto black = [&played](int x0, int y0, int x1, int y1) { return played.Black(x0, y0, x1, y1); };
    const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
    const RECT frame = e2e::WindowRectOf(target.Hwnd());
    std::map<std::wstring, std::string> looks;
    for (HWND b = GetWindow(target.Hwnd(), GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT)) {
        RECT r = e2e::WindowRectOf(b);
        OffsetRect(&r, -frame.left, -frame.top);
        const int d = r.bottom - r.top, q = d / 4, cy = r.top + d / 2;
        const int middle = black(r.left + q, r.top + q, r.left + 3 * q, r.top + 3 * q);
        std::string look = black(r.right - 2, cy, r.right, cy + 1) ? (black(r.right - d + 3, r.top + 3, r.right - 3, r.bottom - 3) ? "split" : "push")
                           : black(r.left, r.top, r.left + 2, r.top + 2)                 ? (middle == 0 ? "box" : middle > 2 * q * q ? "box third" : "box ticked")
                           : black(r.left, cy - 1, r.left + 2, cy + 1)                   ? (middle == 0 ? "circle" : "circle dot")
                                                                                         : "nothing";
        const std::wstring caption = e2e::TextOf(b);
        if (std::none_of(texts.begin(), texts.end(), [&](const auto& t) { return t.text == caption; })) look += " no text";
        looks[caption] = look;
    }
    const std::map<std::wstring, std::string> want{
        {L"t0 s0", "push"}, {L"t1 s0", "push"}, {L"t8 s0", "push"}, {L"tA s0", "push"}, {L"tE s0", "push"}, {L"tF s0", "push"},
        {L"t2 s0", "box"}, {L"t2 s1", "box ticked"}, {L"t3 s0", "box"}, {L"t3 s1", "box ticked"}, {L"t5 s0", "box"}, {L"t5 s1", "box ticked"},
        {L"t5 s2", "box third"}, {L"t6 s0", "box"}, {L"t6 s1", "box ticked"}, {L"t6 s2", "box third"}, {L"t4 s0", "circle"}, {L"t4 s1", "circle dot"},
        {L"t9 s0", "circle"}, {L"t9 s1", "circle dot"}, {L"tB s0", "push no text"}, {L"tC s0", "split"}, {L"tD s0", "split"}};
    EXPECT_EQ(looks, want);
}

// Controls of the toolkits under their own names (testtarget.exe /toolkit) are drawn as their
// base classes: every text a person sees where it is shown, a link's without its markup, a tool
// bar's edit and labels and a check list's rows among them; a name that only looks like a button
// stays a box with its name. Played, the check box is ticked, the option button has its dot, each
// check-list row its box, and the progress bar in the status bar is filled halfway. The second
// time through the seam, as Windows answers RealGetWindowClassW (Wine names the window's own
// class): an ATL superclass of a list box, which neither its name nor its answer to WM_GETDLGCODE
// tells, is drawn with its items, not as a box with its name.
TEST(ToolkitRedraw, ControlsUnderToolkitNamesAreDrawnAsTheirBaseClassesWithTheirTextsAndState) {
    for (const std::wstring& program : kTargetPrograms) {
        for (bool windows : {false, true}) {
            if (windows) {
                Reports().realClassName = [](HWND h) {
                    wchar_t name[64] = {};
                    GetClassNameW(h, name, 64);
                    return std::wstring(name) == L"ATL:0040D010" ? L"ListBox" : std::wstring(name);
                };
            }
            const auto [shown, texts, played] = ExpectDrawnWhereShown(program, L"/toolkit", 420, 20);
            ResetReports();
            auto drawn = [&](const wchar_t* s) {
                return std::any_of(texts.begin(), texts.end(), [&](const auto& t) { return t.text == s; });
            };
            EXPECT_EQ(std::tuple(drawn(L"TFakeButton"), drawn(L"Fake"), drawn(L"Kiwi"), drawn(L"ATL:0040D010")),
                      std::tuple(true, false, windows, !windows));
            for (const e2e::ShownText& s : shown) {
                const RECT& r = s.rect;
                const int d = r.bottom - r.top, q = d / 4, cy = r.top + d / 2;
                const int middle = played.Black(r.left + q, r.top + q, r.left + 3 * q, r.top + 3 * q);
                const bool corner = played.Black(r.left, r.top, r.left + 2, r.top + 2);
                const bool rowBox = played.Black(r.left - d, cy - 1, r.left - d + 3, cy + 1);
                // The progress bar stands 2 px into the part right of "Ready", 100 px wide.
                const bool half = played.Black(r.right + 8, r.top + 4, r.right + 48, r.bottom - 4) > 20 &&
                                  !played.Black(r.right + 60, r.top + 4, r.right + 96, r.bottom - 4);
                const bool looks = s.text == L"Forms check"                       ? corner && middle
                                   : s.text == L"Option"                          ? !corner && middle
                                   : s.text == L"Ready"                           ? half
                                   : s.text == L"Apples" || s.text == L"Plums"    ? rowBox
                                                                                  : true;
                EXPECT_TRUE(looks) << s.text;
            }
        }
    }
}

// A window whose client area covers its caption (testtarget.exe /ownframe) gets no made-up
// caption: no title, no caption buttons right of its tabs, whose texts are drawn where it shows
// them. With PLUMBO_PICTURE_OUT set, the played picture is left there as a PNG file.
TEST(OwnFrameRedraw, AWindowThatDrawsItsOwnTitleBarGetsNoMadeUpCaptionAndItsTabsAreDrawn) {
    for (const std::wstring& program : kTargetPrograms) {
        const auto [shown, texts, played] = ExpectDrawnWhereShown(program, L"/ownframe", 300, 2);
        EXPECT_TRUE(std::none_of(texts.begin(), texts.end(), [](const auto& t) { return t.text == L"Redrawn"; }));
        EXPECT_EQ(played.Black(played.width - 90, 2, played.width - 2, 30), 0);
        if (const char* out = std::getenv("PLUMBO_PICTURE_OUT"); out && program == kTargetPrograms[0]) {
            std::vector<uint8_t> png;
            FILE* f = std::fopen(out, "wb");
            const bool encoded = EncodePng(played.width, played.height, played.Stride(), played.rows, 96, 96, png) == S_OK;
            EXPECT_TRUE(f && encoded && std::fwrite(png.data(), 1, png.size(), f) == png.size() && !std::fclose(f));
        }
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

// The tree, read last, answers each question 150 ms late (asked about each of its eight items
// in turn, 1.2 s; the half-second budget runs out over several), not at all for 3 s (one
// message's wait), or ends the program while it is asked: the re-drawing is over well before.
TEST(ListsRedraw, ATargetThatAnswersLateHangsOrClosesHoldsTheRedrawingUpNoLongerThanTheBudgetAndKeepsNoMemory) {
    for (const std::wstring& program : kTargetPrograms) {
        for (const auto& [answer, withinMs] : {std::pair(L"/slow", 1000), {L"/hang", 2000}, {L"/close", 2000}}) {
            SCOPED_TRACE(testing::Message() << program << " " << std::wstring(answer));
            e2e::Target target(program);
            ASSERT_TRUE(target.Start(40, 40, 760, 580, L"Lists", std::wstring(L"/lists ") + answer));
            ASSERT_FALSE(e2e::ShownBy(target).empty());
            HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, target.Pid());
            ASSERT_TRUE(process);
            const auto before = PrivateAllocations(process);

            EXPECT_LT(TimedRedraw(target.Hwnd()).second, withinMs);

            const bool closing = std::wstring(answer) == L"/close";
            EXPECT_EQ(WaitForSingleObject(process, closing ? 5000 : 0), closing ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
            // The hung tree will still write its late answer into the memory we placed in it: that
            // stays while it sleeps, and is freed once the target has caught up (this thread taking
            // its messages meanwhile). The target lives on.
            if (std::wstring(answer) == L"/hang") { EXPECT_EQ(PrivateAllocations(process), before + 1); }
            if (!closing) {
                EXPECT_TRUE(e2e::WaitFor([&] { return PrivateAllocations(process) == before; }, 6000))
                    << PrivateAllocations(process) << " allocations, " << before << " before";
                EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT) << "the target ended";
            }
            CloseHandle(process);
        }
    }
}

}  // namespace
}  // namespace plumbo
