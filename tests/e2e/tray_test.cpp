// The real plumbo.exe from outside, through what only the desktop shows: its tray icon, the
// icon's menu dismissed and chosen with keys from the X keyboard (which reach a menu of a hidden
// window by another road than SendInput's) and injected ones, a second copy, and the end.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

TEST(Tray, TheIconsMenuByMouseAndByKeyboardFromStartToEnd) {
    // Another program has the keyboard when the icon is pressed: its menu hears injected keys,
    // and X keys choose 終了.
    Plumbo app;
    Target target;
    ASSERT_TRUE(StartWithTarget(app, target, L""));
    Process second;
    ASSERT_TRUE(second.Start(app.Dir() + L"\\plumbo.exe", L"", app.Dir()));
    EXPECT_TRUE(second.WaitExit(10000) && second.ExitCode() == 0) << "a second copy stays or fails: " << second.ExitCode();
    EXPECT_TRUE(app.Running() && TrayIconShown()) << "the first copy or its icon went with the second";
    ClickTrayIcon(true);
    ASSERT_TRUE(WaitMenus(1));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitMenus(0)) << "injected Escape";
    ASSERT_TRUE(app.ChooseControlMenu(5)) << "the keyboard is with " << XFocus();
    EXPECT_TRUE(app.WaitExit(10000));
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); }));
}

// When "設定" closes, the activation goes back to the window it was opened over, and when the
// tray menu closes too; under Wine that window is raised over topmost ones as its program gets
// round to its focus, which in a busy one (here 400 ms late) comes after the version box opened.
TEST(Tray, TheVersionBoxOpenedAfterTheSettingsStandsInFrontOfTheWindow) {
    Plumbo app;
    ASSERT_TRUE(app.Start() && app.WaitResident());
    Target target;  // green, under the middle of the screen where the box opens
    ASSERT_TRUE(target.Start(100, 100, GetSystemMetrics(SM_CXSCREEN) - 200, GetSystemMetrics(SM_CYSCREEN) - 200,
                             L"Green target", L"/color 65280 /slowfocus 400"));
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(app.ChooseControlMenu(2));
    HWND settings = nullptr, box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = WindowOf(app.Pid(), L"PlumboSettings", true)) != nullptr; }));
    ASSERT_TRUE(WaitXFocusOn(settings));
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }));
    // Activated again as "設定" and the tray menu close, the window takes its focus, and with it
    // is raised, after the box opened. Its request goes out as its thread next waits: once it has
    // answered twice.
    const auto activations = [&] { return reinterpret_cast<INT_PTR>(GetPropW(target.Hwnd(), L"Activations")); };
    const INT_PTR before = activations();
    ASSERT_TRUE(app.ChooseControlMenu(3));
    ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(app.Pid(), L"PlumboAbout", true)) != nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return activations() > before; }));
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(SendMessageTimeoutW(target.Hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr));
    // The box's own gradient where it stands, not the window's green.
    EXPECT_TRUE(WaitFor([&] { return ClientShare(box, 0x00FF00u) == 0; }))
        << "the version box stands behind the window";
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
}
