// The global hotkeys from outside: each pressed over another program's window with keys from
// the X keyboard and with injected ones. What the settings file holds, what comes of it at
// start-up and what "設定" makes of it are tested in process (tests/shell).
//
// Under Wine a hotkey is matched by the Wine server as the key enters Wine, for X key events and
// SendInput alike; X key events enter Wine only through a Wine window holding the X keyboard
// focus, so each X chord waits for that focus first.
//
// The measuring mode from outside: started by its hotkey from the X keyboard over another
// program's window, a box dragged with the X pointer, and the copied text read back from the
// clipboard as another program reads it.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

TEST(HotKeys, EachActsOnTheWindowInFront) {
    Plumbo app;
    Target target;
    ASSERT_TRUE(StartWithTarget(app, target, L"/color 65280"));
    HWND ruler = app.HorizontalRuler(), viewer = app.Viewer();
    // The rulers: along the window in front by X keys, away by injected ones.
    ASSERT_TRUE(WaitXFocusOn(target.Hwnd(), L"ctrl+alt+r")) << "the keyboard is with " << XFocus();
    EXPECT_TRUE(WaitFor([&] {
        const RECT h = WindowRectOf(ruler), t = WindowRectOf(target.Hwnd());
        return IsWindowVisible(ruler) && h.left == t.left && h.bottom == t.top;
    })) << "X keys; the keyboard is with " << XFocus();
    PressKeys({VK_CONTROL, VK_MENU, 'R'});
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(ruler); })) << "injected";

    // A capture by X keys: the viewer shows the green window. Re-drawn by injected keys: lines
    // on white instead of the green pixels.
    XKeys(L"ctrl+alt+c");
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(viewer) && ClientShare(viewer, 0x00FF00u) > 0.5; }))
        << "X keys; the keyboard is with " << XFocus();
    ShowWindow(viewer, SW_HIDE);
    ASSERT_TRUE(target.Activate());
    PressKeys({VK_CONTROL, VK_MENU, 'V'});
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(viewer) && ClientShare(viewer, 0x00FF00u) < 0.05; }))
        << "injected";
}

TEST(Measure, TheHotkeyAndADragOfTheXPointerCopyTheBoxInTheRulersUnit) {
    Plumbo app;
    Target target;
    ASSERT_TRUE(StartWithTarget(app, target, L"/color 65280"));
    ASSERT_TRUE(WaitXFocusOn(target.Hwnd(), L"ctrl+alt+m")) << "the keyboard is with " << XFocus();
    HWND mode = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (mode = WindowOf(app.Pid(), L"PlumboMeasure", true)) != nullptr; }))
        << "the keyboard is with " << XFocus();
    ASSERT_TRUE(WaitXFocusOn(mode, L"1")) << "the keyboard is with " << XFocus();
    // 120 x 45 pixels, both corners inside: at 96 dpi 31.75 and 11.906 mm, the rulers' first unit.
    const RECT t = ClientRectOnScreen(target.Hwnd());
    EmptyTheClipboard();  // a text left there by another test is no copy
    auto at = [](int x, int y) { return L" mousemove --sync " + std::to_wstring(x) + L" " + std::to_wstring(y); };
    RunOnLinux(L"/usr/bin/xdotool" + at(t.left + 10, t.top + 20) + L" mousedown 1" + at(t.left + 70, t.top + 40) +
               at(t.left + 129, t.top + 64) + L" mouseup 1");
    EXPECT_TRUE(WaitFor([&] { return ClipboardText() == L"31.8 \u00D7 11.9 mm"; }))
        << testing::PrintToString(ClipboardText());
    XKeys(L"Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(mode); })) << "the keyboard is with " << XFocus();
}
