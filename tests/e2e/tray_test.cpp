// The real plumbo.exe from outside, through what only the desktop shows: its tray icon, the
// icon's menu dismissed and chosen with keys from the X keyboard (which reach a menu of a hidden
// window by another road than SendInput's) and injected ones, a second copy, and the end.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

TEST(Tray, TheIconsMenuByMouseAndByKeyboardFromStartToEnd) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Process second;
    ASSERT_TRUE(second.Start(app.Dir() + L"\\plumbo.exe", L"", app.Dir()));
    EXPECT_TRUE(second.WaitExit(10000) && second.ExitCode() == 0) << "a second copy stays or fails: " << second.ExitCode();
    EXPECT_TRUE(app.Running() && TrayIconShown()) << "the first copy or its icon went with the second";

    // Another program has the keyboard when the icon is pressed: its menu hears X keys and
    // injected ones.
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    ASSERT_TRUE(target.Activate());
    ClickTrayIcon(true);
    ASSERT_TRUE(WaitPopupMenu());
    XKeys(L"Escape");
    EXPECT_TRUE(WaitNoPopupMenu()) << "X Escape; the keyboard is with " << XFocus();
    ClickTrayIcon(true);
    ASSERT_TRUE(WaitPopupMenu());
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitNoPopupMenu()) << "injected Escape";
    ASSERT_TRUE(app.ChooseControlMenu(5));  // 終了
    EXPECT_TRUE(app.WaitExit(10000));
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); }));
}
