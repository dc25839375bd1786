// The global hotkeys from outside: each pressed over another program's window with keys from
// the X keyboard and with injected ones, a key changed in "設定" working after a restart, and a
// key another program holds named at start-up.
//
// Under Wine a hotkey is matched by the Wine server as the key enters Wine, for X key events and
// SendInput alike; X key events enter Wine only through a Wine window holding the X keyboard
// focus, so each X chord waits for that focus first.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "driver/driver.h"

using namespace e2e;

namespace {

double GreenShare(HWND window) {
    const Image img = GrabScreen(ClientRectOnScreen(window));
    return static_cast<double>(std::count(img.pixels.begin(), img.pixels.end(), 0x00FF00u)) / img.pixels.size();
}

}  // namespace

TEST(HotKeys, EachActsOnTheWindowInFrontAChangedOneWorksAfterARestartATakenOneIsNamed) {
    // Another program holds Ctrl+Alt+S: one message names it, and the program goes on.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'S'));
    Plumbo app;
    ASSERT_TRUE(app.Start());
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(app.Pid(), L"#32770", true)) != nullptr; }, 15000));
    const std::wstring message = TextOf(GetDlgItem(box, 0xFFFF));
    EXPECT_NE(message.find(L" Ctrl+Alt+S "), std::wstring::npos) << "names the key";
    EXPECT_EQ(message.find(L"Ctrl+Alt+R"), std::wstring::npos) << "names a key it got";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    UnregisterHotKey(nullptr, 1);
    ASSERT_TRUE(app.WaitResident());
    EXPECT_FALSE(WindowOf(app.Pid(), L"#32770", true)) << "a second message";

    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300, L"Green target", L"/color 65280"));
    ASSERT_TRUE(target.Activate());
    HWND ruler = app.HorizontalRuler(), viewer = app.Viewer();
    // The rulers: along the window in front by X keys, away by injected ones.
    ASSERT_TRUE(WaitXFocusOn(target.Hwnd())) << "the keyboard is with " << XFocus();
    XKeys(L"ctrl+alt+r");
    EXPECT_TRUE(WaitFor([&] {
        const RECT h = WindowRectOf(ruler), t = WindowRectOf(target.Hwnd());
        return IsWindowVisible(ruler) && h.left == t.left && h.bottom == t.top &&
               GrabScreen({h.right - 4, h.top + 2, h.right - 3, h.top + 3}).At(0, 0) == 0xFFFFFFu;
    })) << "X keys; the keyboard is with " << XFocus();
    PressKeys({VK_CONTROL, VK_MENU, 'R'});
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(ruler); })) << "injected";

    // A capture by X keys: the viewer shows the green window. Re-drawn by injected keys: lines
    // on white instead of the green pixels.
    XKeys(L"ctrl+alt+c");
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(viewer) && GreenShare(viewer) > 0.5; }))
        << "X keys; the keyboard is with " << XFocus();
    ShowWindow(viewer, SW_HIDE);
    ASSERT_TRUE(target.Activate());
    PressKeys({VK_CONTROL, VK_MENU, 'V'});
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(viewer) && GreenShare(viewer) < 0.05; })) << "injected";

    // In "設定" capture is switched off and its key, typed with X keys while it is still
    // registered, given to the size dialog, left without one.
    ASSERT_TRUE(app.ChooseControlMenu(2));
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = WindowOf(app.Pid(), L"PlumboSettings", true)) != nullptr; }));
    auto clickItem = [&](int id) {
        const RECT r = WindowRectOf(GetDlgItem(settings, id));
        Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    clickItem(221);  // capture's "なし"
    clickItem(213);  // the size dialog's key
    ASSERT_TRUE(WaitXFocusOn(settings)) << "the keyboard is with " << XFocus();
    XKeys(L"ctrl+alt+c");
    const LRESULT ctrlAltC = MAKEWORD('C', HOTKEYF_CONTROL | HOTKEYF_ALT);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(GetDlgItem(settings, 213), HKM_GETHOTKEY, 0, 0) == ctrlAltC; }));
    clickItem(105);  // Ｏ．Ｋ
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }));
    // The file is written as the dialog closes, which under load can come after it is hidden.
    std::string ini;
    EXPECT_TRUE(WaitFor([&] {
        ini = ReadFileBytes(app.IniPath());
        return ini.find("CAPTURE=NONE\r\nREDRAW=Ctrl+Alt+V\r\nSIZE=Ctrl+Alt+C\r\n") != std::string::npos;
    })) << ini;
    ASSERT_TRUE(app.ChooseControlMenu(5));
    ASSERT_TRUE(app.WaitExit(10000));
    // Its icon gone first: the icon the restarted one waits for is then its own, shown once its
    // keys are registered.
    ASSERT_TRUE(WaitFor([] { return !TrayIconShown(); }));

    // Started again on that file: the new key opens the size dialog, at the window's corner
    // where the hidden rulers' corner would be.
    Plumbo again;
    ASSERT_TRUE(again.Start(ini));
    ASSERT_TRUE(again.WaitResident());
    ASSERT_TRUE(target.Activate());
    PressKeys({VK_CONTROL, VK_MENU, 'C'});
    HWND size = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (size = WindowOf(again.Pid(), L"PlumboSize", true)) != nullptr; }));
    const RECT placed = WindowRectOf(size);
    EXPECT_EQ(std::pair(placed.left, placed.top), std::pair(300L, 200L));
}
