// Start-up, the tray icon, the control menu and dragging the rulers, driven from outside.
#include <gtest/gtest.h>

#include <cmath>

#include "driver.h"

using namespace e2e;

namespace {

int RulerThicknessPx(bool horizontal) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, horizontal ? LOGPIXELSY : LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    // 500 twips at the screen's resolution, halves to even.
    double px = 500.0 * dpi / 1440.0;
    double r = std::floor(px);
    double diff = px - r;
    return static_cast<int>(diff > 0.5 ? r + 1 : diff < 0.5 ? r : (std::fmod(r, 2.0) == 0 ? r : r + 1));
}

// The tray icon differs from the bare taskbar around it.
bool TrayIconShown() {
    POINT p = TrayIconPoint();
    Image img = GrabScreen({p.x - 8, p.y - 8, p.x + 8, p.y + 8});
    int distinct = 0;
    for (uint32_t px : img.pixels) distinct += px != img.pixels.front();
    return distinct > 20;
}

// Rows of an open pop-up menu that carry a check mark: dark pixels in the mark column.
std::vector<int> CheckMarkRows(HWND popup) {
    RECT r = WindowRectOf(popup);
    Image img = GrabScreen(r);
    std::vector<int> rows;
    for (int y = 0; y < img.height; ++y) {
        int dark = 0;
        for (int x = 3; x < 16 && x < img.width; ++x) {
            uint32_t c = img.At(x, y);
            if (((c >> 16) & 0xFF) < 80 && ((c >> 8) & 0xFF) < 80 && (c & 0xFF) < 80) ++dark;
        }
        if (dark > 0) rows.push_back(y);
    }
    return rows;
}

// Index of the item a check mark stands beside; items of the control menu are of equal height
// and the first two lie above any separator.
int CheckedItemOfControlMenu(Plumbo& app) {
    ClickTrayIcon(true);
    if (!WaitPopupMenu()) return -2;
    Pause(300);
    HWND popup = OpenPopupMenu();
    std::vector<int> rows = CheckMarkRows(popup);
    PressKey(VK_ESCAPE);
    WaitNoPopupMenu();
    if (rows.empty()) return -1;
    int mid = (rows.front() + rows.back()) / 2;
    int itemHeight = GetSystemMetrics(SM_CYMENUSIZE);
    return (mid - 2) / itemHeight;
}

}  // namespace

TEST(Startup, CreatesDefaultSettingsShowsIconAndNoRuler) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    EXPECT_EQ(ReadFileBytes(app.IniPath()),
              "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n");
    EXPECT_FALSE(IsWindowVisible(app.HorizontalRuler()));
    EXPECT_FALSE(IsWindowVisible(app.VerticalRuler()));
    EXPECT_FALSE(IsWindowVisible(app.MenuForm()));
    EXPECT_TRUE(TrayIconShown());
    EXPECT_EQ(CheckedItemOfControlMenu(app), 1) << "非表示 should carry the check mark";
}

TEST(Startup, KeepsAnExistingSettingsFile) {
    Plumbo app;
    const std::string ini = "[COLOR]\r\nMEJ=255\r\nLINE=0\r\nNO=0\r\n[SHOW]\r\nZORDER=FALSE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\n";
    ASSERT_TRUE(app.Start(ini));
    ASSERT_TRUE(app.WaitResident());
    EXPECT_EQ(ReadFileBytes(app.IniPath()), ini);
    // Not topmost, as the file says.
    EXPECT_FALSE(GetWindowLongW(app.HorizontalRuler(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(Startup, SecondCopyEndsAtOnce) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Process second;
    ASSERT_TRUE(second.Start(app.Dir() + L"\\plumbo.exe", L"", app.Dir()));
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_TRUE(app.Running());
}

TEST(Tray, DoubleClickShowsBothRulersAtTheirThickness) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()) && IsWindowVisible(app.VerticalRuler()); }));
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 300; }));
    RECT h = WindowRectOf(app.HorizontalRuler());
    RECT v = WindowRectOf(app.VerticalRuler());
    EXPECT_EQ(h.bottom - h.top, RulerThicknessPx(true));
    EXPECT_EQ(v.right - v.left, RulerThicknessPx(false));
    // White body inside a thin frame.
    RECT c = ClientRectOnScreen(app.HorizontalRuler());
    Image img = GrabScreen({c.right - 3, c.top + 1, c.right - 1, c.top + 3});
    EXPECT_EQ(img.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(CheckedItemOfControlMenu(app), 0) << "表示 should carry the check mark";
}

TEST(Tray, ControlMenuHidesAndShowsTheRulers) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ASSERT_TRUE(app.ChooseControlMenu(0));  // 表示
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()) != FALSE; }));
    EXPECT_EQ(CheckedItemOfControlMenu(app), 0);
    ASSERT_TRUE(app.ChooseControlMenu(1));  // 非表示
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(app.HorizontalRuler()) && !IsWindowVisible(app.VerticalRuler()); }));
    EXPECT_EQ(CheckedItemOfControlMenu(app), 1);
}

TEST(Tray, ExitRemovesTheIconAndEnds) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ASSERT_TRUE(TrayIconShown());
    ASSERT_TRUE(app.ChooseControlMenu(5));  // 終了
    EXPECT_TRUE(app.WaitExit(10000));
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); }));
}

TEST(Rulers, DragMovesARulerAndTheVerticalFollowsTheHorizontal) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    target.Activate();
    HWND hrz = app.HorizontalRuler(), ver = app.VerticalRuler();
    // Laid along the target, outside its frame.
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(hrz).left == 300 && WindowRectOf(ver).top == 200; }));

    RECT h0 = WindowRectOf(hrz);
    Drag(h0.left + 150, h0.top + 5, h0.left + 250, h0.top + 85);
    RECT h1 = WindowRectOf(hrz), v1 = WindowRectOf(ver);
    HWND fg = GetForegroundWindow();
    wchar_t cls[64] = L"";
    GetClassNameW(fg, cls, 64);
    RECT fr = WindowRectOf(fg);
    SCOPED_TRACE(testing::Message() << "foreground " << fg << " class " << cls << " at " << fr.left << "," << fr.top);
    EXPECT_EQ(h1.left - h0.left, 100);
    EXPECT_EQ(h1.top - h0.top, 80);
    EXPECT_EQ(v1.left, h1.left - (v1.right - v1.left));
    EXPECT_EQ(v1.top, h1.bottom);

    // The vertical ruler moves alone.
    Drag(v1.left + 5, v1.top + 100, v1.left + 45, v1.top + 130);
    RECT h2 = WindowRectOf(hrz), v2 = WindowRectOf(ver);
    EXPECT_TRUE(EqualRect(&h1, &h2));
    EXPECT_EQ(v2.left - v1.left, 40);
    EXPECT_EQ(v2.top - v1.top, 30);
    // An unchanged target does not pull the rulers back.
    Pause(800);
    RECT h3 = WindowRectOf(hrz);
    EXPECT_TRUE(EqualRect(&h2, &h3));
}

TEST(Rulers, RightClickOpensTheRulerMenuAndMiddleDoesNothing) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    target.Activate();
    HWND hrz = app.HorizontalRuler();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(hrz).left == 300; }));
    RECT r = WindowRectOf(hrz);
    Click(r.left + 40, r.top + 10, true);
    ASSERT_TRUE(WaitPopupMenu());
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitNoPopupMenu());
}
