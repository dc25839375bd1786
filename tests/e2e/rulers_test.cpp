// The rulers from outside: dragged with the mouse, their menu clicked, and seen on the screen
// in front of another program's window when that window is activated (Wine's desktop raises
// an activated window over topmost ones).
#include <gtest/gtest.h>

#include <algorithm>

#include "driver/driver.h"
#include "platform/private_messages_win.h"

using namespace e2e;

namespace {

// The settings file of red rulers, inside or outside, and what more a test needs.
std::string RedRulers(const char* inside, const std::string& more = "") {
    return "[COLOR]\r\nMEJ=255\r\nLINE=16711680\r\nNO=0\r\n[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\n"
           "INSIDE=" + std::string(inside) + "\r\n" + more;
}

}  // namespace

TEST(Rulers, StayInFrontOfTheirWindowAreDraggedAndAnswerTheirMenuByMouse) {
    Plumbo app;
    // A target slow to take the keyboard focus: Wine's desktop raises a window as it takes it,
    // well after its activation was seen.
    Target target;
    ASSERT_TRUE(StartWithTarget(app, target, L"/color 65280 /slowfocus 500", true, RedRulers("TRUE")));
    HWND hrz = app.HorizontalRuler(), ver = app.VerticalRuler();
    // The smaller share of red among the two rulers' pixels: both must be seen.
    auto redShare = [&] { return std::min(ClientShare(hrz, 0xFF0000u), ClientShare(ver, 0xFF0000u)); };
    // Laid along the target from its corner, and seen in front of it.
    auto along = [&] { return WindowRectOf(ver).left == 300 && WindowRectOf(ver).top == 200 && redShare() > 0.5; };
    auto where = [&] {
        const RECT v = WindowRectOf(ver);
        return testing::Message() << "vertical ruler at " << v.left << "," << v.top << ", red share " << redShare()
                                  << (GetForegroundWindow() == target.Hwnd() ? "" : ", the target not in front");
    };
    ASSERT_TRUE(WaitFor(along)) << where();
    // Coming back to the window after the rulers' menu took the foreground, when nothing else
    // changed, raises it again; the rulers must follow it up.
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(OpenRulerMenu(hrz));
        PressKeys({VK_ESCAPE});
        ASSERT_TRUE(WaitMenus(0));
        ASSERT_TRUE(target.Activate());
        EXPECT_TRUE(WaitFor(along)) << "round " << round << ": " << where();
    }

    // 設定 ▸ is the first item, 画面キャプチャ the second: clicked, the viewer opens. The rulers
    // went to the viewer while it was in front; the drag starts where they are once they are
    // back along the target.
    ASSERT_TRUE(app.ClickRulerMenu(hrz, 1));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(app.Viewer()) != FALSE; }));
    ShowWindow(app.Viewer(), SW_HIDE);
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(WaitFor(along)) << where();

    // A drag of the horizontal ruler brings the vertical one to it (laid inside, from the same
    // corner); the vertical moves alone; an unchanged target does not pull them back.
    const RECT h0 = WindowRectOf(hrz);
    EXPECT_TRUE(DragWindow(hrz, h0.left + 150, h0.top + 5, h0.left + 250, h0.top + 85))
        << "horizontal from " << h0.left << "," << h0.top << " to " << WindowRectOf(hrz).left << "," << WindowRectOf(hrz).top;
    const RECT h1 = WindowRectOf(hrz);
    EXPECT_TRUE(WaitFor([&] { return WindowRectOf(ver).left == h1.left && WindowRectOf(ver).top == h1.top; }))
        << "the vertical did not come along";
    const RECT v1 = WindowRectOf(ver);
    EXPECT_TRUE(DragWindow(ver, v1.left + 5, v1.top + 100, v1.left + 45, v1.top + 130))
        << "vertical at " << WindowRectOf(ver).left << "," << WindowRectOf(ver).top;
    // A look at the target, as the poll makes at a change.
    SendMessageW(TrackingWindowOf(app.Pid()), plumbo::kPolledChangeMessage, 0, 0);
    EXPECT_EQ(WindowRectOf(hrz).left, h1.left) << "pulled back";
}

// A window the user drags half off the screen, then maximizes: both rulers keep their whole
// thickness on the screen. Maximized, "直接指定" typed on the keyboard in pixels gives it back
// restored at that size.
TEST(Rulers, KeepToTheScreenAlongAMaximizedOrHalfHiddenWindowWhoseTypedSizeRestoresIt) {
    Plumbo app;
    Target target;
    const std::string ini = RedRulers("FALSE", "[HOTKEY]\r\nSIZE=Ctrl+Alt+S\r\n");
    ASSERT_TRUE(StartWithTarget(app, target, L"/color 65280", true, ini));
    HWND hrz = app.HorizontalRuler(), ver = app.VerticalRuler(), t = target.Hwnd();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Each ruler's red body seen on the screen 40 pixels in from where it comes onto the work area.
    auto red = [](int x, int y) { return GrabScreen({x, y, x + 1, y + 1}).At(0, 0) == 0xFF0000u; };
    auto onScreen = [&] {
        const RECT h = WindowRectOf(hrz), v = WindowRectOf(ver);
        return h.top >= work.top && v.left >= work.left && red(std::max(h.left, work.left) + 40, h.top + 2) &&
               red(v.left + 2, std::max(v.top, work.top) + 40);
    };
    const int caption = GetSystemMetrics(SM_CYCAPTION) / 2 + GetSystemMetrics(SM_CYFRAME);
    const RECT r = WindowRectOf(t);
    EXPECT_TRUE(DragWindow(t, r.left + 300, r.top + caption, 100, r.top + caption));
    EXPECT_TRUE(WaitFor([&] { return WindowRectOf(t).left < 0 && onScreen(); })) << "half off";

    DoubleClick(100, WindowRectOf(t).top + caption);
    ASSERT_TRUE(WaitFor([&] { return IsZoomed(t) && onScreen(); })) << "maximized";
    ASSERT_TRUE(WaitXFocusOn(t, L"ctrl+alt+s")) << XFocus();
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = WindowOf(app.Pid(), L"PlumboSize", true)) != nullptr; }));
    // To the units, pixels, back to the width: each box is all selected as it is tabbed into.
    ASSERT_TRUE(WaitXFocusOn(dialog, L"Tab Tab Down Down shift+Tab shift+Tab 5 0 0 Tab 2 5 0 Return"))
        << XFocus();
    EXPECT_TRUE(WaitFor([&] {
        const RECT s = WindowRectOf(t);
        return !IsZoomed(t) && s.right - s.left == 500 && s.bottom - s.top == 250;
    })) << WindowRectOf(t).right - WindowRectOf(t).left << " x " << WindowRectOf(t).bottom - WindowRectOf(t).top;
}
