// The rulers follow the target, switch units and placement, and take on the screen behind them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "driver/driver.h"

using namespace e2e;

namespace {

// Submenu "設定" of the ruler menu; separators are not counted.
enum SetItem { kMill = 0, kInch8 = 1, kInch10 = 2, kPixel = 3, kOutside = 4, kInside = 5, kTransparent = 6 };

struct Rulers {
    RECT hrz, ver;
};

Rulers RulerRects(const Plumbo& app) { return {WindowRectOf(app.HorizontalRuler()), WindowRectOf(app.VerticalRuler())}; }

// Both rulers laid along the target: outside above and left of its frame, or inside along its
// left and bottom edges.
bool Laid(const Plumbo& app, const Target& target, bool inside) {
    RECT t = WindowRectOf(target.Hwnd());
    Rulers r = RulerRects(app);
    int hH = r.hrz.bottom - r.hrz.top, vW = r.ver.right - r.ver.left;
    if (inside)
        return r.ver.left == t.left && r.ver.top == t.top && r.ver.right == t.left + vW && r.ver.bottom == t.bottom &&
               r.hrz.left == t.left && r.hrz.top == t.bottom - hH && r.hrz.right == t.right && r.hrz.bottom == t.bottom;
    return r.hrz.left == t.left && r.hrz.top == t.top - hH && r.hrz.right == t.right && r.ver.left == t.left - vW &&
           r.ver.top == t.top && r.ver.bottom == t.bottom;
}

// Length in pixels of the tick standing in a column of the horizontal ruler's client area:
// tick-coloured pixels counted up from the bottom edge.
int TickLength(const Image& img, int x) {
    int n = 0;
    for (int y = img.height - 1; y >= 0 && img.At(x, y) == 0x0000FFu; --y) ++n;
    return n;
}

uint32_t PixelAt(int x, int y) { return GrabScreen({x, y, x + 1, y + 1}).At(0, 0); }

}  // namespace

TEST(Rulers, FollowTheTargetSwitchUnitsAndPlacementAndShowTheScreenBehind) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return Laid(app, target, false); }));
    auto move = [&](int left, int top, int width, int height) {
        SetWindowPos(target.Hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    auto iniHas = [&](const char* line) { return ReadFileBytes(app.IniPath()).find(line) != std::string::npos; };

    // Minimise and restore lay the rulers where they were.
    Rulers before = RulerRects(app);
    ShowWindow(target.Hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(target.Hwnd()) != FALSE; }));
    ShowWindow(target.Hwnd(), SW_RESTORE);
    target.Activate();
    EXPECT_TRUE(WaitFor([&] { return Laid(app, target, false); }));
    Rulers after = RulerRects(app);
    EXPECT_TRUE(EqualRect(&before.hrz, &after.hrz))
        << "hrz " << after.hrz.left << "," << after.hrz.top << "," << after.hrz.right << "," << after.hrz.bottom;

    // Moving and resizing the target takes the rulers along.
    move(250, 180, 500, 320);
    EXPECT_TRUE(WaitFor([&] { return Laid(app, target, false); }));
    // The placement is stored at once and shows at the target's next change.
    ASSERT_TRUE(app.ChooseRulerMenu(app.HorizontalRuler(), {0, kInside}));
    EXPECT_TRUE(iniHas("INSIDE=TRUE\r\n"));
    target.Activate();
    move(260, 190, 480, 300);
    EXPECT_TRUE(WaitFor([&] { return Laid(app, target, true); }));
    ASSERT_TRUE(app.ChooseRulerMenu(app.VerticalRuler(), {0, kOutside}));
    EXPECT_TRUE(iniHas("INSIDE=FALSE\r\n"));
    target.Activate();
    move(240, 170, 420, 280);
    EXPECT_TRUE(WaitFor([&] { return Laid(app, target, false); }));

    HWND hrz = app.HorizontalRuler();
    ASSERT_TRUE(app.ChooseRulerMenu(hrz, {0, kPixel}));
    Pause(400);
    RECT c = ClientRectOnScreen(hrz);
    Image img = GrabScreen(c);
    // Every 4 pixels a tick; long ones (200 twips) every 32, medium (150) every 16.
    HDC dc = GetDC(nullptr);
    double tpp = 1440.0 / GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    int longLen = static_cast<int>(std::lround(200 / tpp)), mediumLen = static_cast<int>(std::lround(150 / tpp)),
        shortLen = static_cast<int>(std::lround(100 / tpp));
    for (int x : {32, 64, 96, 128}) EXPECT_NEAR(TickLength(img, x), longLen, 1) << "x=" << x;
    for (int x : {16, 48, 80}) EXPECT_NEAR(TickLength(img, x), mediumLen, 1) << "x=" << x;
    for (int x : {4, 8, 36, 100}) EXPECT_NEAR(TickLength(img, x), shortLen, 1) << "x=" << x;
    for (int x : {2, 6, 33, 50}) EXPECT_EQ(TickLength(img, x), 0) << "x=" << x;

    // Millimetres: long ticks on whole centimetres, within a pixel.
    ASSERT_TRUE(app.ChooseRulerMenu(hrz, {0, kMill}));
    Pause(400);
    img = GrabScreen(c);
    double pxPerMm = 1440.0 / 25.4 / tpp;
    for (int cm = 1; cm <= 8; ++cm) {
        int x = static_cast<int>(std::lround(cm * 10 * pxPerMm));
        int best = std::max({TickLength(img, x - 1), TickLength(img, x), TickLength(img, x + 1)});
        EXPECT_NEAR(best, longLen, 1) << cm << " cm";
    }
    // The vertical ruler was redrawn too: its ticks stand at the right edge.
    Image vimg = GrabScreen(ClientRectOnScreen(app.VerticalRuler()));
    int blue = 0;
    for (int y = 0; y < vimg.height; ++y) blue += vimg.At(vimg.width - 1, y) == 0x0000FFu;
    EXPECT_GT(blue, vimg.height / 6);

    // A spot near the top-left corner, left of the first number, is the ruler body; behind it
    // lies the desktop, as in the empty corner above-left of the target.
    POINT spot{c.left + 1, c.top + 1};
    ASSERT_EQ(PixelAt(spot.x, spot.y), 0xFFFFFFu);
    RECT h = WindowRectOf(hrz);
    uint32_t behind = PixelAt(h.left - 5, h.top + 5);
    ASSERT_NE(behind, 0xFFFFFFu);
    ASSERT_TRUE(app.ChooseRulerMenu(hrz, {0, kTransparent}));
    ASSERT_TRUE(WaitFor([&] { return iniHas("TRANSPARENT=TRUE\r\n"); }));
    EXPECT_TRUE(WaitFor([&] { return PixelAt(spot.x, spot.y) == behind; }));
    EXPECT_TRUE(IsWindowVisible(hrz));
    EXPECT_EQ(PixelAt(c.left + 4, c.bottom - 1), 0x0000FFu) << "the ticks are drawn over what lies behind";

    ASSERT_TRUE(app.ChooseRulerMenu(hrz, {0, kTransparent}));
    EXPECT_TRUE(WaitFor([&] { return PixelAt(spot.x, spot.y) == 0xFFFFFFu; }));
    EXPECT_TRUE(iniHas("TRANSPARENT=FALSE\r\n"));
}

// Under Wine's desktop an activated window is raised above topmost windows; rulers laid inside
// the window they measure must still be seen in front of it, on the screen.
TEST(Rulers, StayInFrontOfTheWindowTheyMeasure) {
    Plumbo app;
    // Red rulers inside a green window.
    ASSERT_TRUE(app.Start("[COLOR]\r\nMEJ=255\r\nLINE=16711680\r\nNO=0\r\n"
                          "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\n"));
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300, L"Green target", L"/color 65280"));
    app.ShowRulersByDoubleClick();
    // The smaller share of red among the two rulers' pixels: both must be seen.
    auto redShare = [&] {
        double least = 1.0;
        for (HWND ruler : {app.HorizontalRuler(), app.VerticalRuler()}) {
            Image img = GrabScreen(ClientRectOnScreen(ruler));
            size_t red = 0;
            for (uint32_t c : img.pixels) red += c == 0xFF0000u;
            least = std::min(least, img.pixels.empty() ? 0.0 : static_cast<double>(red) / img.pixels.size());
        }
        return least;
    };
    // A real click on the window activates (and under Wine raises) it; so does coming back to
    // it after the rulers' menu took the foreground for a moment, when nothing else changed.
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return Laid(app, target, true); }));
    EXPECT_TRUE(WaitFor([&] { return redShare() > 0.5; })) << "a ruler is behind its window: " << redShare();
    for (int round = 0; round < 2; ++round) {
        RECT h = WindowRectOf(app.HorizontalRuler());
        Click((h.left + h.right) / 2, h.top, true);
        ASSERT_TRUE(WaitPopupMenu());
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitNoPopupMenu());
        // Back to the window by a click in it (a second click on its caption soon after the
        // first would be a double-click, which maximises it).
        RECT t = ClientRectOnScreen(target.Hwnd());
        Click((t.left + t.right) / 2, (t.top + t.bottom) / 3);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == target.Hwnd(); }));
        EXPECT_TRUE(WaitFor([&] { return redShare() > 0.5; }))
            << "round " << round << ": a ruler is behind its window again: " << redShare();
    }
}

// The transparent look is live: what moves behind a ruler shows through at once, without the
// ruler ever being hidden.
TEST(Rulers, TransparentLookShowsWhatChangesBehind) {
    Plumbo app;
    ASSERT_TRUE(app.Start("[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
                          "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=TRUE\r\nINSIDE=FALSE\r\n"));
    ASSERT_TRUE(app.WaitResident());
    Target behind, target;
    ASSERT_TRUE(behind.Start(20, 20, 200, 150, L"Behind", L"/color 255"));  // red, far away
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return Laid(app, target, false); }));
    RECT c = ClientRectOnScreen(app.HorizontalRuler());
    POINT spot{c.left + 1, c.top + 1};  // ruler body, left of the first number
    EXPECT_NE(PixelAt(spot.x, spot.y), 0xFFFFFFu) << "the body shows its colour, not what lies behind";
    // The red window slides under the ruler without being activated.
    SetWindowPos(behind.Hwnd(), target.Hwnd(), c.left - 50, c.top - 60, 300, 200, SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return PixelAt(spot.x, spot.y) == 0xFF0000u; })) << "the change behind did not show";
    EXPECT_EQ(PixelAt(c.left + 4, c.bottom - 1), 0x0000FFu) << "the ticks are drawn over what lies behind";
    EXPECT_TRUE(IsWindowVisible(app.HorizontalRuler()));
    EXPECT_EQ(GetForegroundWindow(), target.Hwnd());
}
