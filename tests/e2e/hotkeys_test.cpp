// The global hotkeys from outside: each pressed over another program's window with keys from
// the X keyboard and with injected ones. What the settings file holds, what comes of it at
// start-up and what "設定" makes of it are tested in process (tests/shell). The measuring mode
// its hotkey starts takes a box dragged with the X pointer, and its copied text is read back
// from the clipboard as another program reads it.
//
// Under Wine a hotkey is matched by the Wine server as the key enters Wine, for X key events and
// SendInput alike; X key events enter Wine only through a Wine window holding the X keyboard
// focus, so each X chord waits for that focus first.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

TEST(HotKeys, EachActsOnTheWindowInFrontTheMeasuringOneOnABoxDraggedWithTheXPointer) {
    Plumbo app;
    Target target;
    ASSERT_TRUE(StartWithTarget(app, target, L"/color 65280"));
    HWND ruler = app.HorizontalRuler(), viewer = app.Viewer();
    // Measuring by X keys: 120 x 45 pixels, both corners inside, are at 96 dpi 31.75 and
    // 11.906 mm, in the rulers' first unit.
    ASSERT_TRUE(WaitXFocusOn(target.Hwnd(), L"ctrl+alt+m")) << "the keyboard is with " << XFocus();
    HWND mode = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (mode = WindowOf(app.Pid(), L"PlumboMeasure", true)) != nullptr; }))
        << "the keyboard is with " << XFocus();
    ASSERT_TRUE(WaitXFocusOn(mode, L"1")) << "the keyboard is with " << XFocus();
    const RECT c = ClientRectOnScreen(target.Hwnd());
    EmptyTheClipboard();  // a text left there by another test is no copy
    auto at = [](int x, int y) { return L" mousemove --sync " + std::to_wstring(x) + L" " + std::to_wstring(y); };
    RunOnLinux(L"/usr/bin/xdotool" + at(c.left + 10, c.top + 20) + L" mousedown 1" + at(c.left + 70, c.top + 40) +
               at(c.left + 129, c.top + 64) + L" mouseup 1");
    EXPECT_TRUE(WaitFor([&] { return ClipboardText() == L"31.8 \u00D7 11.9 mm"; }))
        << testing::PrintToString(ClipboardText());
    XKeys(L"Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(mode); })) << "the keyboard is with " << XFocus();

    // The rulers: along the window in front by X keys, away by injected ones.
    ASSERT_TRUE(target.Activate());
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
