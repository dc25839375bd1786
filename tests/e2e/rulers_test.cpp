// The rulers from outside: dragged with the mouse, their menu clicked, and seen on the screen
// in front of another program's window when that window is activated (Wine's desktop raises
// an activated window over topmost ones).
#include <gtest/gtest.h>

#include <algorithm>

#include "driver/driver.h"

using namespace e2e;

TEST(Rulers, StayInFrontOfTheirWindowAreDraggedAndAnswerTheirMenuByMouse) {
    Plumbo app;
    // Red rulers inside a green window.
    ASSERT_TRUE(app.Start("[COLOR]\r\nMEJ=255\r\nLINE=16711680\r\nNO=0\r\n"
                          "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\n"));
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300, L"Green target", L"/color 65280"));
    app.ShowRulersByDoubleClick();
    HWND hrz = app.HorizontalRuler(), ver = app.VerticalRuler();
    // The smaller share of red among the two rulers' pixels: both must be seen.
    auto redShare = [&] {
        double least = 1.0;
        for (HWND ruler : {hrz, ver}) {
            Image img = GrabScreen(ClientRectOnScreen(ruler));
            size_t red = std::count(img.pixels.begin(), img.pixels.end(), 0xFF0000u);
            least = std::min(least, img.pixels.empty() ? 0.0 : static_cast<double>(red) / img.pixels.size());
        }
        return least;
    };
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(ver).left == 300 && WindowRectOf(ver).top == 200; }));
    EXPECT_TRUE(WaitFor([&] { return redShare() > 0.5; })) << "a ruler is behind its window: " << redShare();
    // Coming back to the window after the rulers' menu took the foreground, when nothing else
    // changed, raises it again; the rulers must follow it up.
    for (int round = 0; round < 2; ++round) {
        RECT h = WindowRectOf(hrz);
        Click((h.left + h.right) / 2, h.top, true);
        ASSERT_TRUE(WaitPopupMenu());
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitNoPopupMenu());
        // A click in it: a second click on its caption soon after the first would maximise it.
        RECT t = ClientRectOnScreen(target.Hwnd());
        Click((t.left + t.right) / 2, (t.top + t.bottom) / 3);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == target.Hwnd(); }));
        EXPECT_TRUE(WaitFor([&] { return redShare() > 0.5; })) << "round " << round << ": " << redShare();
    }

    // 設定 ▸ is the first item, 画面キャプチャ the second: clicked, the viewer opens.
    ASSERT_TRUE(app.ClickRulerMenu(hrz, 1));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(app.Viewer()) != FALSE; }));
    ShowWindow(app.Viewer(), SW_HIDE);
    target.Activate();

    // A drag of the horizontal ruler brings the vertical one to it (laid inside, from the same
    // corner); the vertical moves alone; an unchanged target does not pull them back.
    const RECT h0 = WindowRectOf(hrz);
    Drag(h0.left + 150, h0.top + 5, h0.left + 250, h0.top + 85);
    const RECT h1 = WindowRectOf(hrz), v1 = WindowRectOf(ver);
    EXPECT_EQ(h1.left - h0.left, 100);
    EXPECT_EQ(h1.top - h0.top, 80);
    EXPECT_EQ(v1.left, h1.left);
    EXPECT_EQ(v1.top, h1.top);
    Drag(v1.left + 5, v1.top + 100, v1.left + 45, v1.top + 130);
    const RECT v2 = WindowRectOf(ver);
    EXPECT_EQ(v2.left - v1.left, 40);
    EXPECT_EQ(v2.top - v1.top, 30);
    EXPECT_FALSE(WaitFor([&] { return WindowRectOf(hrz).left != h1.left; }, 1000)) << "pulled back";
}
