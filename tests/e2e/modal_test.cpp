// While one of Plumbo's modal windows is open nothing else of it takes input, every way of
// closing one gives the program back, and the size dialog leaves tracking and stacking as they
// were; driven from outside with real input.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/driver.h"

using namespace e2e;

namespace {

constexpr int kSettingsItem = 2;  // 設定 in the control menu
constexpr int kVersionItem = 3;   // ﾊﾞｰｼﾞｮﾝ情報
constexpr int kSizeItem = 3;      // アクティブウインドのサイズ in the ruler menu (separators not counted)
constexpr int kWidthBox = 201, kHeightBox = 202;

std::string Ini(bool onTop, bool transparent, bool inside, const char* rulerColor = "16777215") {
    return std::string("[COLOR]\r\nMEJ=") + rulerColor + "\r\nLINE=16711680\r\nNO=0\r\n[SHOW]\r\nZORDER=" +
           (onTop ? "TRUE" : "FALSE") + "\r\nTRANSPARENT=" + (transparent ? "TRUE" : "FALSE") +
           "\r\nINSIDE=" + (inside ? "TRUE" : "FALSE") + "\r\n";
}

// Every window of the program, hidden ones included.
std::vector<HWND> AllWindows(const Plumbo& app) { return WindowsOf(app.Pid(), nullptr); }

// The program's windows that are disabled before any modal window opens (the input method's
// own window, made disabled by the system).
std::vector<HWND> DisabledFromTheStart(const Plumbo& app) {
    std::vector<HWND> out;
    for (HWND h : AllWindows(app))
        if (!IsWindowEnabled(h)) out.push_back(h);
    return out;
}

bool Among(const std::vector<HWND>& list, HWND h) { return std::find(list.begin(), list.end(), h) != list.end(); }

// The classes of the program's disabled windows, for a failure message.
std::string Disabled(const Plumbo& app) {
    std::string out;
    for (HWND h : AllWindows(app)) {
        if (IsWindowEnabled(h)) continue;
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        out += std::string(cls) + " ";
    }
    return out;
}

bool AllEnabledBut(const Plumbo& app, HWND except, const std::vector<HWND>& disabledBefore) {
    for (HWND h : AllWindows(app))
        if (h != except && !Among(disabledBefore, h) && !IsWindowEnabled(h)) return false;
    return true;
}

bool NoneEnabledBut(const Plumbo& app, HWND except) {
    for (HWND h : AllWindows(app))
        if (h != except && IsWindowEnabled(h)) return false;
    return true;
}

bool IsTopmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Shows the rulers and lays them along the target.
void RulersOn(Plumbo& app, Target& target) {
    app.ShowRulersByDoubleClick();
    target.Activate();
    RECT t = WindowRectOf(target.Hwnd());
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == t.left; }));
}

HWND OpenSizeDialog(Plumbo& app) {
    HWND dlg = nullptr;
    if (app.ChooseRulerMenu(app.HorizontalRuler(), {kSizeItem}))
        WaitFor([&] { return (dlg = WindowOf(app.Pid(), L"PlumboSize", true)) != nullptr; });
    return dlg;
}

void SetText(HWND edit, const wchar_t* text) { SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

}  // namespace

// The version box is modal: every other window of ours is disabled, the tray icon brings the
// box forward instead of opening its menu, and Alt+F4 closes it and gives everything back.
TEST(Modal, VersionBoxDisablesTheRestAndAltF4GivesItBack) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    const std::vector<HWND> before = DisabledFromTheStart(app);
    ASSERT_TRUE(app.ChooseControlMenu(kVersionItem));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(app.Pid(), L"PlumboAbout", true)) != nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return NoneEnabledBut(app, box); }));

    ClickTrayIcon(true);
    EXPECT_FALSE(WaitPopupMenu(1500)) << "the control menu opened under a modal box";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; })) << "the box was not brought forward";

    PressChord({VK_MENU, VK_F4});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    EXPECT_TRUE(WaitFor([&] { return AllEnabledBut(app, nullptr, before); })) << "disabled: " << Disabled(app);
    ClickTrayIcon(true);
    ASSERT_TRUE(WaitPopupMenu(3000)) << "the tray icon no longer reacts";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitNoPopupMenu());
}

// While "直接指定" is open, tracking stays off (a tray click included) and no other window of
// ours takes input; OK resizes the window it was opened on; the rulers' stacking is what the
// user chose, not forced on top.
TEST(Modal, SizeDialogKeepsItsTargetAndTheRulersStacking) {
    Plumbo app;
    ASSERT_TRUE(app.Start(Ini(false, false, false)));
    ASSERT_TRUE(app.WaitResident());
    Target first, second;
    ASSERT_TRUE(second.Start(700, 400, 300, 200, L"Second target"));
    ASSERT_TRUE(first.Start(100, 80, 300, 200, L"First target"));
    ASSERT_NO_FATAL_FAILURE(RulersOn(app, first));
    EXPECT_FALSE(IsTopmost(app.HorizontalRuler())) << "ZORDER=FALSE";

    const std::vector<HWND> before = DisabledFromTheStart(app);
    HWND dlg = OpenSizeDialog(app);
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(WaitFor([&] { return NoneEnabledBut(app, dlg); }));
    ClickTrayIcon(true);
    EXPECT_FALSE(WaitPopupMenu(1500)) << "the control menu opened under the size dialog";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == dlg; }));

    // Another window brought forward while the dialog is open does not become the target.
    const RECT laid = WindowRectOf(app.HorizontalRuler());
    second.Activate();
    EXPECT_FALSE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left != laid.left; }, 1500))
        << "tracking ran while the size dialog was open";

    SetText(GetDlgItem(dlg, kWidthBox), L"80");
    SetText(GetDlgItem(dlg, kHeightBox), L"40");
    SetForegroundWindow(dlg);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dlg; }));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dlg); }));
    RECT a = WindowRectOf(first.Hwnd()), b = WindowRectOf(second.Hwnd());
    EXPECT_NE(a.right - a.left, 300) << "the window the dialog was opened on was not resized";
    EXPECT_EQ(b.right - b.left, 300) << "another window was resized";
    EXPECT_TRUE(WaitFor([&] { return AllEnabledBut(app, nullptr, before); })) << "disabled: " << Disabled(app);
    EXPECT_FALSE(IsTopmost(app.HorizontalRuler())) << "the dialog put the rulers on top against ZORDER=FALSE";
    EXPECT_FALSE(IsTopmost(app.VerticalRuler()));
}

// "設定" with the transparent look on and the rulers shown: they step aside for the dialog and
// come back, still showing what lies behind them.
TEST(Modal, SettingsWithTheTransparentLookGivesTheRulersBack) {
    Plumbo app;
    ASSERT_TRUE(app.Start(Ini(true, true, false)));
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    ASSERT_NO_FATAL_FAILURE(RulersOn(app, target));
    ASSERT_TRUE(app.ChooseControlMenu(kSettingsItem));
    HWND dlg = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dlg = WindowOf(app.Pid(), L"PlumboSettings", true)) != nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(app.HorizontalRuler()); }));
    HWND ok = FindWindowExW(dlg, nullptr, L"Button", L"Ｏ．Ｋ");
    ASSERT_TRUE(ok);
    SendMessageW(ok, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dlg); }));
    EXPECT_TRUE(WaitFor([&] {
        return IsWindowVisible(app.HorizontalRuler()) && IsWindowVisible(app.VerticalRuler());
    })) << "the rulers stayed hidden";
    EXPECT_NE(ReadFileBytes(app.IniPath()).find("TRANSPARENT=TRUE\r\n"), std::string::npos);
    // The body shows the desktop behind it, not the white ruler colour.
    RECT h = WindowRectOf(app.HorizontalRuler());
    RECT c = ClientRectOnScreen(app.HorizontalRuler());
    const uint32_t behind = GrabScreen({h.left - 5, h.top + 5, h.left - 4, h.top + 6}).At(0, 0);
    ASSERT_NE(behind, 0xFFFFFFu);
    EXPECT_TRUE(WaitFor([&] { return GrabScreen({c.left + 1, c.top + 1, c.left + 2, c.top + 2}).At(0, 0) == behind; }));
}
