// "画面のメタ化" driven from outside: a window full of controls and one of Wine's own programs
// re-drawn into the viewer; its size, zoom, pixels and the copied metafile's records are read
// back and held against what the windows themselves report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "driver.h"
#include "win/emf_records.h"

using namespace e2e;
using plumbo::test::Describe;
using plumbo::test::Dump;
using plumbo::test::EmfRecord;
using plumbo::test::ReadRecords;

namespace {

// Ruler menu items, separators not counted.
const std::vector<int> kMetaItem = {2};
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
// the taskbar or off the screen are marked unknown.
struct ClientShot {
    Image img;
    std::vector<bool> hidden;
    bool Known(int x, int y) const { return !hidden[static_cast<size_t>(y) * img.width + x]; }
    bool Dark(int x, int y) const { return IsDark(img.At(x, y)); }
    // Share of dark pixels among the known ones of a column or row.
    double DarkShare(bool column, int at) const {
        int known = 0, dark = 0;
        int n = column ? img.height : img.width;
        for (int i = 0; i < n; ++i) {
            int x = column ? at : i, y = column ? i : at;
            if (!Known(x, y)) continue;
            ++known;
            dark += Dark(x, y);
        }
        return known ? static_cast<double>(dark) / known : 0;
    }
    int DarkIn(const RECT& r) const {
        int dark = 0;
        for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, img.height); ++y)
            for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, img.width); ++x)
                dark += Known(x, y) && Dark(x, y);
        return dark;
    }
};

ClientShot ShootClient(HWND viewer, const std::vector<HWND>& rulers) {
    ClientShot s;
    RECT c = ClientRectOnScreen(viewer);
    s.img = GrabScreen(c);
    s.hidden.assign(s.img.pixels.size(), false);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (int y = 0; y < s.img.height; ++y)
        for (int x = 0; x < s.img.width; ++x)
            if (!PtInRect(&work, POINT{c.left + x, c.top + y})) s.hidden[static_cast<size_t>(y) * s.img.width + x] = true;
    for (HWND r : rulers) {
        if (!IsWindowVisible(r)) continue;
        RECT w = WindowRectOf(r);
        for (int y = 0; y < s.img.height; ++y)
            for (int x = 0; x < s.img.width; ++x)
                if (PtInRect(&w, POINT{c.left + x, c.top + y})) s.hidden[static_cast<size_t>(y) * s.img.width + x] = true;
    }
    return s;
}

// The best of the few lines next to an edge: the picture is stretched over the client area,
// so the outline may land a pixel inside.
double EdgeDarkness(const ClientShot& s, bool column, bool farEdge) {
    int n = column ? s.img.width : s.img.height;
    double best = 0;
    for (int d = 0; d < 3; ++d) best = std::max(best, s.DarkShare(column, farEdge ? n - 1 - d : d));
    return best;
}

void ChooseViewerMenu(HWND viewer, int menu, int item) {
    SetForegroundWindow(viewer);
    WaitFor([&] { return GetForegroundWindow() == viewer; }, 2000);
    Pause(200);
    PressKey(VK_MENU);
    Pause(200);
    for (int i = 0; i < menu; ++i) {
        PressKey(VK_RIGHT);
        Pause(100);
    }
    PressKey(VK_DOWN);  // opens the menu with its first item chosen
    WaitPopupMenu();
    Pause(250);
    for (int i = 0; i < item; ++i) {
        PressKey(VK_DOWN);
        Pause(60);
    }
    PressKey(VK_RETURN);
    WaitNoPopupMenu();
    Pause(300);
}

void EmptyTheClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// The clipboard's metafile played over a width x height bitmap, as the viewer plays it over
// its client area; the share of dark pixels in the last column and the last row.
std::pair<double, double> FarEdgesWhenPlayed(int width, int height) {
    std::pair<double, double> shares{0, 0};
    if (!OpenClipboard(nullptr)) return shares;
    HENHMETAFILE emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all{0, 0, width, height};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (emf) PlayEnhMetaFile(mem, emf, &all);
    int column = 0, row = 0;
    for (int y = 0; y < height; ++y) column += IsDark(GetPixel(mem, width - 1, y) & 0xFFFFFF);
    for (int x = 0; x < width; ++x) row += IsDark(GetPixel(mem, x, height - 1) & 0xFFFFFF);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    CloseClipboard();
    return {static_cast<double>(column) / height, static_cast<double>(row) / width};
}

std::vector<EmfRecord> ClipboardMetafileRecords() {
    std::vector<EmfRecord> records;
    if (!OpenClipboard(nullptr)) return records;
    if (HENHMETAFILE emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) records = ReadRecords(emf);
    CloseClipboard();
    return records;
}

// For a look after a failure: the whole screen into the temp folder.
void SaveScreen(const char* tag) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + L"plumbo-meta-" + std::wstring(tag, tag + strlen(tag)) + L".bmp";
    SavePng(GrabScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}), path);
}

// Shows the rulers, brings the window to the front, lets the rulers find it and chooses
// "画面のメタ化". The viewer once it shows with some client area; else why not, in failure.
HWND RedrawThroughRulerMenu(Plumbo& app, const std::function<void()>& activate, std::string& failure) {
    HWND ruler = app.HorizontalRuler();
    for (int attempt = 0; attempt < 2 && !IsWindowVisible(ruler); ++attempt) {
        app.ShowRulersByDoubleClick();
        WaitFor([&] { return IsWindowVisible(ruler) != FALSE; }, 5000);
    }
    if (!IsWindowVisible(ruler)) {
        failure = "the rulers did not show";
        return nullptr;
    }
    activate();
    Pause(1000);  // a few ticks of the tracking timer
    HWND viewer = app.MenuForm();
    // Under Wine a key pressed while the pop-up menu is still coming up is sometimes lost; a
    // person would simply choose again.
    for (int attempt = 0; attempt < 2 && !IsWindowVisible(viewer); ++attempt) {
        if (!app.ChooseRulerMenu(ruler, kMetaItem)) {
            failure = "the ruler menu did not open or close";
            return nullptr;
        }
        WaitFor([&] { return IsWindowVisible(viewer) != FALSE; }, 4000);
    }
    if (!WaitFor([&] { return IsWindowVisible(viewer) && ClientSize(viewer).cx > 0; }, 4000)) {
        failure = "the viewer did not show";
        SaveScreen("viewer-missing");
        return nullptr;
    }
    Pause(500);
    return viewer;
}

// A control as the system reports it, relative to the target's outer top-left.
struct Reported {
    std::wstring text;
    std::wstring className;
    RECT rel{};
    bool visible = false;
};

struct EnumArgs {
    HWND target;
    std::vector<Reported>* out;
};

BOOL CALLBACK ReportOne(HWND h, LPARAM l) {
    auto* a = reinterpret_cast<EnumArgs*>(l);
    Reported r;
    wchar_t buf[128] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 1000, &n);
    r.text.assign(buf, n);
    GetClassNameW(h, buf, 128);
    r.className = buf;
    RECT w = WindowRectOf(h), t = WindowRectOf(a->target);
    r.rel = {w.left - t.left, w.top - t.top, w.right - t.left, w.bottom - t.top};
    r.visible = IsWindowVisible(h) != FALSE;  // false too when an ancestor is hidden
    a->out->push_back(r);
    return TRUE;
}

std::vector<Reported> ReportControls(HWND target) {
    std::vector<Reported> out;
    EnumArgs a{target, &out};
    EnumChildWindows(target, ReportOne, reinterpret_cast<LPARAM>(&a));
    return out;
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
        const auto& t = r.As<EMREXTTEXTOUTW>();
        const auto* chars = reinterpret_cast<const wchar_t*>(r.bytes.data() + t.emrtext.offString);
        out.push_back({std::wstring(chars, t.emrtext.nChars), {t.emrtext.ptlReference.x, t.emrtext.ptlReference.y}});
    }
    return out;
}

// Outlines: rectangles, and closed polylines by their bounds.
std::vector<RECT> OutlinesOf(const std::vector<EmfRecord>& records) {
    std::vector<RECT> out;
    for (const EmfRecord& r : records) {
        if (r.type == EMR_RECTANGLE) {
            const RECTL& b = r.As<EMRRECTANGLE>().rclBox;
            out.push_back({b.left, b.top, b.right, b.bottom});
        } else if (r.type == EMR_POLYLINE16 || r.type == EMR_POLYLINE) {
            RECT b{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
            auto add = [&](LONG x, LONG y) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
            };
            if (r.type == EMR_POLYLINE16) {
                const auto& p = r.As<EMRPOLYLINE16>();
                for (DWORD i = 0; i < p.cpts; ++i) add(p.apts[i].x, p.apts[i].y);
            } else {
                const auto& p = r.As<EMRPOLYLINE>();
                for (DWORD i = 0; i < p.cptl; ++i) add(p.aptl[i].x, p.aptl[i].y);
            }
            out.push_back(b);
        }
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

std::string Narrow(const std::wstring& s) { return plumbo::test::Utf8(s); }

class MetaCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.WaitResident());
    }
    std::vector<HWND> Rulers() const { return {app.HorizontalRuler(), app.VerticalRuler()}; }
    Plumbo app;
};

}  // namespace

TEST_F(MetaCommand, RedrawsControlsAtTheTargetsSizeAndZoomsToHalf) {
    Target target;
    ASSERT_TRUE(target.Start(140, 120, 660, 480, L"メタ化テスト", L"/controls"));
    std::string failure;
    HWND viewer = RedrawThroughRulerMenu(app, [&] { target.Activate(); }, failure);
    ASSERT_NE(viewer, nullptr) << failure;

    const SIZE want = OuterSize(target.Hwnd());
    SIZE got = ClientSize(viewer);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_TRUE(IsWindowVisible(app.HorizontalRuler())) << "the rulers come back";

    ClientShot shot = ShootClient(viewer, Rulers());
    const bool looksRight = [&] {
        // Black outline along all four edges.
        for (bool column : {true, false})
            for (bool farEdge : {false, true})
                if (EdgeDarkness(shot, column, farEdge) < 0.8) return false;
        return true;
    }();
    EXPECT_TRUE(looksRight) << "no outline along the client's edges: left " << EdgeDarkness(shot, true, false)
                            << " right " << EdgeDarkness(shot, true, true) << " top "
                            << EdgeDarkness(shot, false, false) << " bottom " << EdgeDarkness(shot, false, true);
    // The caption bar's lower edge runs across at the caption height.
    const int cap = GetSystemMetrics(SM_CYCAPTION);
    double captionLine = 0;
    for (int y = cap - 2; y <= cap + 2; ++y) captionLine = std::max(captionLine, shot.DarkShare(false, y));
    EXPECT_GE(captionLine, 0.8);

    // Text inside the push button, nothing where the hidden button and the hidden frame are.
    const std::vector<Reported> controls = ReportControls(target.Hwnd());
    const Reported* push = FindReported(controls, L"Push");
    const Reported* hidden = FindReported(controls, L"Hidden");
    const Reported* hiddenFrame = FindReported(controls, L"Hidden frame");
    ASSERT_TRUE(push && hidden && hiddenFrame);
    RECT pushInside = push->rel;
    InflateRect(&pushInside, -3, -3);
    EXPECT_GT(shot.DarkIn(pushInside), 5) << "no caption in the push button";
    EXPECT_EQ(shot.DarkIn(hidden->rel), 0) << "a hidden button was drawn";
    EXPECT_EQ(shot.DarkIn(hiddenFrame->rel), 0) << "a hidden frame or its child was drawn";
    if (!looksRight) SaveScreen("outline");

    // "５０％" halves the client area around the same top-left corner.
    RECT before = WindowRectOf(viewer);
    ChooseViewerMenu(viewer, kZoomMenu, kZoom50Item);
    ASSERT_TRUE(WaitFor([&] { return ClientSize(viewer).cx < want.cx; }, 3000)) << "the zoom did not happen";
    got = ClientSize(viewer);
    EXPECT_NEAR(got.cx, want.cx / 2.0, 1.0);
    EXPECT_NEAR(got.cy, want.cy / 2.0, 1.0);
    RECT after = WindowRectOf(viewer);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST_F(MetaCommand, CopiedMetafileMatchesWhatTheWindowsReport) {
    Target target;
    ASSERT_TRUE(target.Start(140, 120, 660, 480, L"メタ化テスト", L"/controls"));
    std::string failure;
    HWND viewer = RedrawThroughRulerMenu(app, [&] { target.Activate(); }, failure);
    ASSERT_NE(viewer, nullptr) << failure;
    EmptyTheClipboard();
    ChooseViewerMenu(viewer, kFileMenu, kCopyItem);
    ASSERT_TRUE(WaitFor([] { return IsClipboardFormatAvailable(CF_ENHMETAFILE) != FALSE; }, 3000));
    const std::vector<EmfRecord> records = ClipboardMetafileRecords();
    ASSERT_FALSE(records.empty());
    const std::string dump = Dump(Describe(records));

    // The frame: the target's outer size in HIMETRIC at the screen's resolution.
    const SIZE size = OuterSize(target.Hwnd());
    HDC screen = GetDC(nullptr);
    const double dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const auto& header = records.front().As<ENHMETAHEADER>();
    EXPECT_EQ(records.front().type, static_cast<DWORD>(EMR_HEADER));
    EXPECT_EQ(header.rclFrame.left, 0);
    EXPECT_EQ(header.rclFrame.top, 0);
    EXPECT_NEAR(header.rclFrame.right, size.cx * 2540.0 / dpiX, 2.0) << dump;
    EXPECT_NEAR(header.rclFrame.bottom, size.cy * 2540.0 / dpiY, 2.0) << dump;

    const std::vector<Reported> controls = ReportControls(target.Hwnd());
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
        SCOPED_TRACE(Narrow(name));
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
        SCOPED_TRACE(Narrow(cls));
        const Reported* c = FindReported(controls, cls);
        ASSERT_NE(c, nullptr);
        const TextRecord* t = textAt(cls);
        ASSERT_NE(t, nullptr) << dump;
        EXPECT_GE(t->at.x, c->rel.left - 1);
        EXPECT_LT(t->at.y, c->rel.bottom);
    }
    // Radio buttons, hidden controls and whatever lies in a hidden frame are left out.
    for (const wchar_t* name : {L"Radio", L"Hidden", L"Hidden frame", L"Inside hidden"})
        EXPECT_EQ(textAt(name), nullptr) << Narrow(name) << "\n" << dump;

    // Boxes exactly where the windows are.
    for (const wchar_t* name : {L"Push", L"Default", L"Auto", L"Three", L"Bordered static", L"Under", L"Over",
                                L"PlumboGadget", L"Edit", L"ListBox", L"MDIClient"}) {
        const Reported* c = FindReported(controls, name);
        ASSERT_NE(c, nullptr) << Narrow(name);
        EXPECT_TRUE(HasOutline(outlines, c->rel)) << Narrow(name) << " at " << c->rel.left << "," << c->rel.top << ","
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
    const auto [lastColumn, lastRow] = FarEdgesWhenPlayed(size.cx, size.cy);
    EXPECT_GE(lastColumn, 0.8) << "frame " << header.rclFrame.right << " x " << header.rclFrame.bottom
                               << " HIMETRIC, reference " << header.szlMillimeters.cx << " mm / "
                               << header.szlDevice.cx << " px";
    EXPECT_GE(lastRow, 0.8) << "reference " << header.szlMillimeters.cy << " mm / " << header.szlDevice.cy << " px";

    // "Over" comes later than "Under" in the enumeration, so it is painted later.
    auto indexOf = [&](const std::wstring& s) {
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i].text == s) return static_cast<int>(i);
        return -1;
    };
    EXPECT_LT(indexOf(L"Under"), indexOf(L"Over"));
}

TEST_F(MetaCommand, RedrawsOneOfWinesOwnPrograms) {
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
    const SIZE want = OuterSize(win);
    const SIZE got = ClientSize(viewer);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);

    // Its edit control shows up as a box with both edges inside the picture.
    ClientShot shot = ShootClient(viewer, Rulers());
    EXPECT_GE(EdgeDarkness(shot, true, false), 0.8);
    EXPECT_GE(EdgeDarkness(shot, false, true), 0.8);
    notepad.Kill();
}
