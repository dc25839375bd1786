// Start-up, the tray icon, the control menu and dragging the rulers, driven from outside.
#include <gtest/gtest.h>

#include <cmath>

#include "driver/driver.h"

using namespace e2e;

namespace {

// 500 twips at the screen's resolution, halves to even.
int RulerThicknessPx(bool horizontal) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, horizontal ? LOGPIXELSY : LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return static_cast<int>(std::nearbyint(500.0 * dpi / 1440.0));
}

// The tray icon differs from the bare taskbar around it.
bool TrayIconShown() {
    POINT p = TrayIconPoint();
    Image img = GrabScreen({p.x - 8, p.y - 8, p.x + 8, p.y + 8});
    int distinct = 0;
    for (uint32_t px : img.pixels) distinct += px != img.pixels.front();
    return distinct > 20;
}

// The control menu's item that carries the check mark, read from dark pixels in the mark
// column; its items are of equal height and the first two lie above any separator.
int CheckedItemOfControlMenu() {
    ClickTrayIcon(true);
    if (!WaitPopupMenu()) return -2;
    Pause(300);
    Image img = GrabScreen(WindowRectOf(OpenPopupMenu()));
    PressKey(VK_ESCAPE);
    WaitNoPopupMenu();
    int first = -1, last = -1;
    for (int y = 0; y < img.height; ++y)
        for (int x = 3; x < 16 && x < img.width; ++x) {
            uint32_t c = img.At(x, y);
            if (((c >> 16) & 0xFF) < 80 && ((c >> 8) & 0xFF) < 80 && (c & 0xFF) < 80) {
                if (first < 0) first = y;
                last = y;
            }
        }
    if (first < 0) return -1;
    return ((first + last) / 2 - 2) / GetSystemMetrics(SM_CYMENUSIZE);
}

}  // namespace

// One run from start to "終了": the settings file, the icon, a second copy, the rulers
// through the tray, and the control menu's show and hide.
TEST(Startup, FromStartThroughTheTrayAndRulersToExit) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    EXPECT_EQ(ReadFileBytes(app.IniPath()),
              "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n");
    HWND hrz = app.HorizontalRuler(), ver = app.VerticalRuler();
    EXPECT_FALSE(IsWindowVisible(hrz));
    EXPECT_FALSE(IsWindowVisible(ver));
    EXPECT_FALSE(IsWindowVisible(app.Viewer()));
    ASSERT_TRUE(TrayIconShown());
    EXPECT_EQ(CheckedItemOfControlMenu(), 1) << "非表示 should carry the check mark";

    Process second;
    ASSERT_TRUE(second.Start(app.Dir() + L"\\plumbo.exe", L"", app.Dir()));
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_TRUE(app.Running());

    // A double-click shows both rulers, white and 500 twips thick, laid along the target.
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(hrz) && IsWindowVisible(ver); }));
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(hrz).left == 300 && WindowRectOf(ver).top == 200; }));
    RECT h = WindowRectOf(hrz), v = WindowRectOf(ver);
    EXPECT_EQ(h.bottom - h.top, RulerThicknessPx(true));
    EXPECT_EQ(v.right - v.left, RulerThicknessPx(false));
    RECT c = ClientRectOnScreen(hrz);
    EXPECT_EQ(GrabScreen({c.right - 3, c.top + 1, c.right - 1, c.top + 3}).At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(CheckedItemOfControlMenu(), 0) << "表示 should carry the check mark";
    ASSERT_TRUE(app.ChooseControlMenu(1));  // 非表示
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(hrz) && !IsWindowVisible(ver); }));
    EXPECT_EQ(CheckedItemOfControlMenu(), 1);
    ASSERT_TRUE(app.ChooseControlMenu(0));  // 表示
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hrz) && IsWindowVisible(ver); }));
    EXPECT_EQ(CheckedItemOfControlMenu(), 0);

    ASSERT_TRUE(app.ChooseControlMenu(5));  // 終了
    EXPECT_TRUE(app.WaitExit(10000));
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); }));
}

TEST(Startup, KeepsAnExistingSettingsFile) {
    Plumbo app;
    const std::string ini = "[COLOR]\r\nMEJ=255\r\nLINE=0\r\nNO=0\r\n[SHOW]\r\nZORDER=FALSE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\n";
    ASSERT_TRUE(app.Start(ini));
    ASSERT_TRUE(app.WaitResident());
    EXPECT_EQ(ReadFileBytes(app.IniPath()), ini);
    EXPECT_FALSE(GetWindowLongW(app.HorizontalRuler(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "ZORDER=FALSE";
}

TEST(Rulers, DragMovesARulerTheVerticalFollowsAndARightClickOpensTheMenu) {
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
    // A drag of the horizontal ruler brings the vertical one to it.
    Drag(h0.left + 150, h0.top + 5, h0.left + 250, h0.top + 85);
    RECT h1 = WindowRectOf(hrz), v1 = WindowRectOf(ver);
    HWND fg = GetForegroundWindow();
    wchar_t cls[64] = L"";
    GetClassNameW(fg, cls, 64);
    SCOPED_TRACE(testing::Message() << "foreground " << cls << " at " << WindowRectOf(fg).left << ","
                                    << WindowRectOf(fg).top << (IsZoomed(target.Hwnd()) ? ", target maximised" : ""));
    EXPECT_EQ(h1.left - h0.left, 100);
    EXPECT_EQ(h1.top - h0.top, 80);
    EXPECT_EQ(v1.left, h1.left - (v1.right - v1.left));
    EXPECT_EQ(v1.top, h1.bottom);
    // The vertical ruler moves alone, and an unchanged target does not pull the rulers back.
    Drag(v1.left + 5, v1.top + 100, v1.left + 45, v1.top + 130);
    RECT h2 = WindowRectOf(hrz), v2 = WindowRectOf(ver);
    EXPECT_TRUE(EqualRect(&h1, &h2));
    EXPECT_EQ(v2.left - v1.left, 40);
    EXPECT_EQ(v2.top - v1.top, 30);
    Pause(800);
    RECT h3 = WindowRectOf(hrz);
    EXPECT_TRUE(EqualRect(&h2, &h3));

    // A right click on a ruler opens its menu; a press the busy desktop dropped is repeated.
    Click(h3.left + 40, h3.top + 10, true);
    if (!WaitPopupMenu(2000)) Click(h3.left + 43, h3.top + 10, true);
    ASSERT_TRUE(WaitPopupMenu());
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitNoPopupMenu());
}
