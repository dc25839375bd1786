// "画面のメタ化" driven from outside: a window full of controls and one of Wine's own programs
// re-drawn into the viewer; its size, zoom, pixels and the copied metafile's records are read
// back and held against what the windows themselves report.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "driver/driver.h"
#include "win/emf_records.h"

using namespace e2e;
using plumbo::test::EmfRecord;
using plumbo::test::Utf8;

namespace {

// The viewer's menu bar: 0 ファイル (0 クリップボードへコピー), 1 表示 (0 150 %, 1 100 %, 2 50 %).
constexpr int kFileMenu = 0, kCopyItem = 0, kZoomMenu = 1, kZoom50Item = 2;

SIZE ClientSize(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return {r.right, r.bottom};
}

SIZE OuterSize(HWND h) {
    RECT r = WindowRectOf(h);
    return {r.right - r.left, r.bottom - r.top};
}

bool IsDark(uint32_t c) { return ((c >> 16) & 0xFF) < 100 && ((c >> 8) & 0xFF) < 100 && (c & 0xFF) < 100; }

// The viewer's client area as it is on screen; pixels under the rulers (always on top), under
// the taskbar or off the screen are unknown.
struct ClientShot {
    RECT at{}, work{};
    std::vector<RECT> covered;
    Image img;
    ClientShot(HWND viewer, const Plumbo& app) : at(ClientRectOnScreen(viewer)), img(GrabScreen(at)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        for (HWND r : {app.HorizontalRuler(), app.VerticalRuler()})
            if (IsWindowVisible(r)) covered.push_back(WindowRectOf(r));
    }
    bool Known(int x, int y) const {
        POINT p{at.left + x, at.top + y};
        return PtInRect(&work, p) &&
               std::none_of(covered.begin(), covered.end(), [&](const RECT& r) { return PtInRect(&r, p) != FALSE; });
    }
    // Share of dark pixels among the known ones of a column or row.
    double DarkShare(bool column, int at) const {
        int known = 0, dark = 0;
        for (int i = 0; i < (column ? img.height : img.width); ++i) {
            int x = column ? at : i, y = column ? i : at;
            if (!Known(x, y)) continue;
            ++known;
            dark += IsDark(img.At(x, y));
        }
        return known ? static_cast<double>(dark) / known : 0;
    }
    // The best of the three lines next to an edge: the picture is stretched over the client
    // area, so the outline may land a pixel inside.
    double Edge(bool column, bool farEdge) const {
        int n = column ? img.width : img.height;
        double best = 0;
        for (int d = 0; d < 3; ++d) best = std::max(best, DarkShare(column, farEdge ? n - 1 - d : d));
        return best;
    }
    int DarkIn(const RECT& r) const {
        int dark = 0;
        for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, img.height); ++y)
            for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, img.width); ++x)
                dark += Known(x, y) && IsDark(img.At(x, y));
        return dark;
    }
};

void ChooseViewerMenu(HWND viewer, int menu, int item) {
    auto press = [](WORD vk, int times, int pauseMs) {
        for (int i = 0; i < times; ++i) {
            PressKey(vk);
            Pause(pauseMs);
        }
    };
    SetForegroundWindow(viewer);
    WaitFor([&] { return GetForegroundWindow() == viewer; }, 2000);
    Pause(200);
    press(VK_MENU, 1, 200);
    press(VK_RIGHT, menu, 100);
    PressKey(VK_DOWN);  // opens the menu with its first item chosen
    WaitPopupMenu();
    Pause(250);
    press(VK_DOWN, item, 60);
    PressKey(VK_RETURN);
    WaitNoPopupMenu();
    Pause(300);
}

// A copy of the clipboard's enhanced metafile.
HENHMETAFILE ClipboardMetafile() {
    HENHMETAFILE copy = nullptr;
    if (!OpenClipboard(nullptr)) return nullptr;
    if (auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) copy = CopyEnhMetaFileW(emf, nullptr);
    CloseClipboard();
    return copy;
}

// The metafile played over a width x height bitmap, as the viewer plays it over its client
// area; the share of dark pixels in the last column and the last row.
std::pair<double, double> FarEdgesWhenPlayed(HENHMETAFILE emf, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all{0, 0, width, height};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(mem, emf, &all);
    int column = 0, row = 0;
    for (int y = 0; y < height; ++y) column += IsDark(GetPixel(mem, width - 1, y) & 0xFFFFFF);
    for (int x = 0; x < width; ++x) row += IsDark(GetPixel(mem, x, height - 1) & 0xFFFFFF);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return {static_cast<double>(column) / height, static_cast<double>(row) / width};
}

// For a look after a failure: the whole screen into a temp folder.
void SaveScreen(const wchar_t* name) {
    SavePng(GrabScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}),
            MakeTempDir(L"meta") + L"\\" + name);
}

// Shows the rulers, brings the window to the front, lets the rulers find it and chooses
// "画面のメタ化". The viewer once it shows with some client area; else why not, in failure.
HWND RedrawThroughRulerMenu(Plumbo& app, const std::function<void()>& activate, std::string& failure) {
    HWND ruler = app.HorizontalRuler();
    if (!IsWindowVisible(ruler)) {
        app.ShowRulersByDoubleClick();
        WaitFor([&] { return IsWindowVisible(ruler) != FALSE; });
    }
    if (!IsWindowVisible(ruler)) {
        failure = "the rulers did not show";
        return nullptr;
    }
    activate();
    Pause(1000);  // a few ticks of the tracking timer
    HWND viewer = app.Viewer();
    if (!app.ChooseRulerMenu(ruler, {2})) {
        failure = "the ruler menu did not open or close";
        return nullptr;
    }
    if (!WaitFor([&] { return IsWindowVisible(viewer) && ClientSize(viewer).cx > 0; }, 4000)) {
        failure = "the viewer did not show";
        SaveScreen(L"viewer-missing.bmp");
        return nullptr;
    }
    Pause(500);
    return viewer;
}

// A control as the system reports it, relative to the target's outer top-left.
struct Reported {
    std::wstring text, className;
    RECT rel{};
    bool visible = false;  // false too when an ancestor is hidden
};

std::vector<Reported> ReportControls(HWND target) {
    struct Walk {
        HWND target;
        std::vector<Reported> out;
    } walk{target, {}};
    EnumChildWindows(
        target,
        [](HWND h, LPARAM l) -> BOOL {
            auto* w = reinterpret_cast<Walk*>(l);
            wchar_t text[128] = {}, cls[128] = {};
            DWORD_PTR n = 0;
            SendMessageTimeoutW(h, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &n);
            GetClassNameW(h, cls, 128);
            RECT r = WindowRectOf(h), t = WindowRectOf(w->target);
            w->out.push_back({std::wstring(text, n), cls, {r.left - t.left, r.top - t.top, r.right - t.left, r.bottom - t.top},
                              IsWindowVisible(h) != FALSE});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    return walk.out;
}

const Reported* FindReported(const std::vector<Reported>& all, const std::wstring& textOrClass) {
    for (const Reported& r : all)
        if (r.text == textOrClass || r.className == textOrClass) return &r;
    return nullptr;
}

struct TextRecord {
    std::wstring text;
    POINT at{};
};

std::vector<TextRecord> TextsOf(const std::vector<EmfRecord>& records) {
    std::vector<TextRecord> out;
    for (const EmfRecord& r : records) {
        if (r.type != EMR_EXTTEXTOUTW) continue;
        const EMRTEXT& t = r.As<EMREXTTEXTOUTW>().emrtext;
        out.push_back({std::wstring(reinterpret_cast<const wchar_t*>(r.bytes.data() + t.offString), t.nChars),
                       {t.ptlReference.x, t.ptlReference.y}});
    }
    return out;
}

// Outlines: rectangles, and polylines by their bounds.
std::vector<RECT> OutlinesOf(const std::vector<EmfRecord>& records) {
    std::vector<RECT> out;
    for (const EmfRecord& r : records) {
        if (r.type == EMR_RECTANGLE) {
            const RECTL& b = r.As<EMRRECTANGLE>().rclBox;
            out.push_back({b.left, b.top, b.right, b.bottom});
        }
        if (r.type != EMR_POLYLINE16 && r.type != EMR_POLYLINE) continue;
        RECT b{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
        const auto& p16 = r.As<EMRPOLYLINE16>();  // the count lies where EMRPOLYLINE has it
        for (DWORD i = 0; i < p16.cpts; ++i) {
            const bool narrow = r.type == EMR_POLYLINE16;
            LONG x = narrow ? p16.apts[i].x : r.As<EMRPOLYLINE>().aptl[i].x;
            LONG y = narrow ? p16.apts[i].y : r.As<EMRPOLYLINE>().aptl[i].y;
            b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x), std::max(b.bottom, y)};
        }
        out.push_back(b);
    }
    return out;
}

bool Near(LONG a, LONG b, LONG tolerance = 1) { return a - b <= tolerance && b - a <= tolerance; }

bool HasOutline(const std::vector<RECT>& outlines, const RECT& want) {
    return std::any_of(outlines.begin(), outlines.end(), [&](const RECT& r) {
        return Near(r.left, want.left) && Near(r.top, want.top) && Near(r.right, want.right) &&
               Near(r.bottom, want.bottom);
    });
}

}  // namespace

TEST(MetaCommand, RedrawsTheControlsAsTheyReportThemselvesAndZoomsToHalf) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(140, 120, 660, 480, L"メタ化テスト", L"/controls"));
    std::string failure;
    HWND viewer = RedrawThroughRulerMenu(app, [&] { target.Activate(); }, failure);
    ASSERT_NE(viewer, nullptr) << failure;
    const SIZE size = OuterSize(target.Hwnd());
    EXPECT_EQ(ClientSize(viewer).cx, size.cx);
    EXPECT_EQ(ClientSize(viewer).cy, size.cy);
    EXPECT_TRUE(IsWindowVisible(app.HorizontalRuler())) << "the rulers come back";

    // On screen: a black outline along all four edges, the caption bar's lower edge across at
    // the caption height, and text inside the push button.
    const ClientShot shot(viewer, app);
    for (bool column : {true, false})
        for (bool farEdge : {false, true})
            EXPECT_GE(shot.Edge(column, farEdge), 0.8) << (column ? "column" : "row") << (farEdge ? " far" : " near");
    const int cap = GetSystemMetrics(SM_CYCAPTION);
    double captionLine = 0;
    for (int y = cap - 2; y <= cap + 2; ++y) captionLine = std::max(captionLine, shot.DarkShare(false, y));
    EXPECT_GE(captionLine, 0.8);
    const std::vector<Reported> controls = ReportControls(target.Hwnd());
    const Reported* push = FindReported(controls, L"Push");
    ASSERT_NE(push, nullptr);
    RECT pushInside = push->rel;
    InflateRect(&pushInside, -3, -3);
    EXPECT_GT(shot.DarkIn(pushInside), 5) << "no caption in the push button";
    if (HasFailure()) SaveScreen(L"outline.bmp");

    // The copied metafile.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    ChooseViewerMenu(viewer, kFileMenu, kCopyItem);
    ASSERT_TRUE(WaitFor([] { return IsClipboardFormatAvailable(CF_ENHMETAFILE) != FALSE; }, 3000));
    HENHMETAFILE emf = ClipboardMetafile();
    const std::vector<EmfRecord> records = plumbo::test::ReadRecords(emf);
    ASSERT_FALSE(records.empty());
    const std::string dump = plumbo::test::Dump(plumbo::test::Describe(emf));

    // Its frame: the target's outer size in HIMETRIC at the screen's resolution.
    HDC screen = GetDC(nullptr);
    const double dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const auto& header = records.front().As<ENHMETAHEADER>();
    EXPECT_EQ(records.front().type, static_cast<DWORD>(EMR_HEADER));
    EXPECT_EQ(header.rclFrame.left, 0);
    EXPECT_EQ(header.rclFrame.top, 0);
    EXPECT_NEAR(header.rclFrame.right, size.cx * 2540.0 / dpiX, 2.0) << dump;
    EXPECT_NEAR(header.rclFrame.bottom, size.cy * 2540.0 / dpiY, 2.0) << dump;

    const std::vector<TextRecord> texts = TextsOf(records);
    const std::vector<RECT> outlines = OutlinesOf(records);
    auto textAt = [&](const std::wstring& s) -> const TextRecord* {
        for (const TextRecord& t : texts)
            if (t.text == s) return &t;
        return nullptr;
    };
    // Drawn with their text inside them (frames' captions may sit on the top line).
    for (const wchar_t* name : {L"Push", L"Default", L"Check", L"Auto", L"Three", L"Group", L"Plain static",
                                L"Bordered static", L"Outer frame", L"Inner push", L"Inner frame", L"Deep", L"Under",
                                L"Over"}) {
        SCOPED_TRACE(Utf8(name));
        const Reported* c = FindReported(controls, name);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->visible);
        const TextRecord* t = textAt(name);
        ASSERT_NE(t, nullptr) << dump;
        EXPECT_GE(t->at.x, c->rel.left - 1);
        EXPECT_LT(t->at.x, c->rel.right);
        EXPECT_GE(t->at.y, c->rel.top - 8);
        EXPECT_LT(t->at.y, c->rel.bottom);
    }
    // Unknown classes are labelled with their class name, also inside the MDI client.
    for (const wchar_t* cls : {L"PlumboGadget", L"PlumboTestDocument"}) {
        SCOPED_TRACE(Utf8(cls));
        const Reported* c = FindReported(controls, cls);
        ASSERT_NE(c, nullptr);
        const TextRecord* t = textAt(cls);
        ASSERT_NE(t, nullptr) << dump;
        EXPECT_GE(t->at.x, c->rel.left - 1);
        EXPECT_LT(t->at.y, c->rel.bottom);
    }
    // Radio buttons, hidden controls and whatever lies in a hidden frame are left out.
    for (const wchar_t* name : {L"Radio", L"Hidden", L"Hidden frame", L"Inside hidden"})
        EXPECT_EQ(textAt(name), nullptr) << Utf8(name) << "\n" << dump;

    // Boxes exactly where the windows are.
    for (const wchar_t* name : {L"Push", L"Default", L"Auto", L"Three", L"Bordered static", L"Under", L"Over",
                                L"PlumboGadget", L"Edit", L"ListBox", L"MDIClient"}) {
        const Reported* c = FindReported(controls, name);
        ASSERT_NE(c, nullptr) << Utf8(name);
        EXPECT_TRUE(HasOutline(outlines, c->rel)) << Utf8(name) << " at " << c->rel.left << "," << c->rel.top << ","
                                                  << c->rel.right << "," << c->rel.bottom << "\n" << dump;
    }
    // The tool bar: generic squares of 0.8 x its height from its left edge, a tenth of a
    // square below its top; 300 x 30 gives 9 squares of 24.
    const Reported* bar = FindReported(controls, L"ToolbarWindow32");
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->rel.right - bar->rel.left, 300);
    ASSERT_EQ(bar->rel.bottom - bar->rel.top, 30);
    std::vector<LONG> squareLefts;
    for (const RECT& r : outlines)
        if (Near(r.right - r.left, 24) && Near(r.bottom - r.top, 24) && r.left >= bar->rel.left &&
            r.left < bar->rel.right && Near(r.top, bar->rel.top + 2, 1))
            squareLefts.push_back(r.left - bar->rel.left);
    EXPECT_EQ(squareLefts, (std::vector<LONG>{0, 24, 48, 72, 96, 120, 144, 168, 192})) << dump;

    // The whole window's box, and played at the window's own size it is whole: its right and
    // bottom lines stay inside the picture.
    EXPECT_TRUE(HasOutline(outlines, RECT{0, 0, size.cx, size.cy})) << dump;
    const auto [lastColumn, lastRow] = FarEdgesWhenPlayed(emf, size.cx, size.cy);
    DeleteEnhMetaFile(emf);
    EXPECT_GE(lastColumn, 0.8) << "frame " << header.rclFrame.right << " x " << header.rclFrame.bottom
                               << " HIMETRIC, reference " << header.szlMillimeters.cx << " mm / "
                               << header.szlDevice.cx << " px";
    EXPECT_GE(lastRow, 0.8) << "reference " << header.szlMillimeters.cy << " mm / " << header.szlDevice.cy << " px";

    // "Over" comes later than "Under" in the enumeration, so it is painted later.
    auto indexOf = [&](const std::wstring& s) { return textAt(s) ? textAt(s) - texts.data() : -1; };
    EXPECT_LT(indexOf(L"Under"), indexOf(L"Over"));

    // "５０％" halves the client area around the same top-left corner.
    RECT before = WindowRectOf(viewer);
    ChooseViewerMenu(viewer, kZoomMenu, kZoom50Item);
    ASSERT_TRUE(WaitFor([&] { return ClientSize(viewer).cx < size.cx; }, 3000)) << "the zoom did not happen";
    EXPECT_NEAR(ClientSize(viewer).cx, size.cx / 2.0, 1.0);
    EXPECT_NEAR(ClientSize(viewer).cy, size.cy / 2.0, 1.0);
    RECT after = WindowRectOf(viewer);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST(MetaCommand, RedrawsOneOfWinesOwnPrograms) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Process notepad;
    ASSERT_TRUE(notepad.Start(L"C:\\windows\\notepad.exe", L"", L"C:\\windows"));
    HWND win = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (win = WindowOf(notepad.Pid(), L"Notepad", true)) != nullptr; }, 15000));
    MoveWindow(win, 200, 160, 520, 380, TRUE);
    Pause(300);
    std::string failure;
    HWND viewer = RedrawThroughRulerMenu(
        app,
        [&] {
            RECT r = WindowRectOf(win);
            Click(r.left + 80, r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + GetSystemMetrics(SM_CYFRAME));
            WaitFor([&] { return GetForegroundWindow() == win; }, 3000);
        },
        failure);
    ASSERT_NE(viewer, nullptr) << failure;
    EXPECT_EQ(ClientSize(viewer).cx, OuterSize(win).cx);
    EXPECT_EQ(ClientSize(viewer).cy, OuterSize(win).cy);

    // Its edit control shows up as a box with both edges inside the picture.
    const ClientShot shot(viewer, app);
    EXPECT_GE(shot.Edge(true, false), 0.8);
    EXPECT_GE(shot.Edge(false, true), 0.8);
    notepad.Kill();
}
