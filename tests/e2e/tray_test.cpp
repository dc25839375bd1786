// The real plumbo.exe from outside, through what only the desktop shows: its tray icon, the
// icon's menu chosen with the mouse and with keys from the X keyboard (which reach a menu of
// a hidden window by another road than SendInput's), a second copy, and the end.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

namespace {

bool Laid(const Plumbo& app, const Target& target) {
    const RECT t = WindowRectOf(target.Hwnd()), h = WindowRectOf(app.HorizontalRuler()),
               v = WindowRectOf(app.VerticalRuler());
    return h.left == t.left && h.right == t.right && h.bottom == t.top && v.right == t.left && v.top == t.top;
}

}  // namespace

TEST(Tray, TheIconsMenuByMouseAndByKeyboardFromStartToEnd) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Process second;
    ASSERT_TRUE(second.Start(app.Dir() + L"\\plumbo.exe", L"", app.Dir()));
    EXPECT_TRUE(second.WaitExit(10000)) << "a second copy stays";
    EXPECT_TRUE(app.Running());

    // A double-click shows the rulers along the window in front, white on the screen.
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(WaitFor([&] { return Laid(app, target); }));
    RECT c = ClientRectOnScreen(app.HorizontalRuler());
    EXPECT_TRUE(WaitFor([&] { return GrabScreen({c.right - 3, c.top + 1, c.right - 1, c.top + 2}).At(0, 0) == 0xFFFFFFu; }));

    // Another program has the keyboard when the icon is pressed: its menu hears X keys and
    // injected ones, and once it is dismissed the rulers follow the target again.
    ClickTrayIcon(true);
    ASSERT_TRUE(WaitPopupMenu());
    XKeys(L"Escape");
    EXPECT_TRUE(WaitNoPopupMenu()) << "X Escape; the keyboard is with " << XFocus();
    ClickTrayIcon(true);
    ASSERT_TRUE(WaitPopupMenu());
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitNoPopupMenu()) << "injected Escape";
    ASSERT_TRUE(target.Activate());
    SetWindowPos(target.Hwnd(), nullptr, 350, 240, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return Laid(app, target); })) << "tracking stayed off after the menu";
    ASSERT_TRUE(app.ChooseControlMenu(2));  // 設定
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = WindowOf(app.Pid(), L"PlumboSettings", true)) != nullptr; }))
        << "the keyboard is with " << XFocus();
    ASSERT_TRUE(WaitXFocusOn(settings)) << "the keyboard is with " << XFocus();
    XKeys(L"Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); })) << "the keyboard is with " << XFocus();

    ASSERT_TRUE(app.ChooseControlMenu(1));  // 非表示
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(app.HorizontalRuler()); }));
    ASSERT_TRUE(app.ChooseControlMenu(5));  // 終了
    EXPECT_TRUE(app.WaitExit(10000));
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); }));
}
