// The measuring mode from outside: started by its hotkey from the X keyboard over another
// program's window, a box dragged with the X pointer, and the copied text read back from the
// clipboard as another program reads it.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

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
