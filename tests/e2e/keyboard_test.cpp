// Keys from a real keyboard, as the X server delivers them, reaching our menus: the tray
// icon's menu (opened for a hidden window while another program has the keyboard) and the
// viewer's menu bar. Keys injected with SendInput take another road inside Wine and are
// checked too, so both roads are covered.
#include <gtest/gtest.h>

#include <string>

#include "driver/driver.h"

using namespace e2e;

namespace {

// A Unix path as this Windows program sees it.
std::wstring UnixToWindows(std::wstring path) {
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return L"Z:" + path;
}

// Runs a shell command line on the Linux side and waits until it has finished; returns what
// it printed. Wine starts Linux programs without a process handle to wait on, so the command
// itself leaves a file behind when it is done (renamed into place, so it is never seen half
// written).
std::string RunOnLinux(const std::wstring& command) {
    static int counter = 0;
    const std::wstring done = L"/tmp/plumbo-keys-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter);
    std::wstring line = L"Z:\\bin\\sh -c \"(" + command + L") >" + done + L".part 2>&1; mv " + done + L".part " +
                        done + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return "?";
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    const std::wstring doneFile = UnixToWindows(done);
    if (!WaitFor([&] { return FileExists(doneFile); }, 10000, 10)) return "?";
    std::string out = ReadFileBytes(doneFile);
    DeleteFileW(doneFile.c_str());
    return out;
}

// Keys typed on the X server's keyboard: they go to whichever X window holds the X keyboard
// focus, which is not always the window Windows calls the foreground one.
void XKeys(const std::wstring& keys) { RunOnLinux(L"/usr/bin/xdotool key --delay 60 " + keys); }

// For failure messages: the X window holding the keyboard, by id and name.
std::string XFocus() { return RunOnLinux(L"/usr/bin/xdotool getwindowfocus getwindowname"); }

// Waits until the X keyboard focus is with a window of ours, told by its title: a window
// shown by a command reaches the X server a moment after Windows calls it the foreground one.
bool WaitXFocusOn(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    const std::string want = std::string(utf8) + "\n";
    return WaitFor([&] { return RunOnLinux(L"/usr/bin/xdotool getwindowfocus getwindowname") == want; }, 3000, 0);
}

// Plumbo resident, and a target window of another program in the foreground: the keyboard
// is with the target when the tray icon is pressed.
void StartWithTargetInFront(Plumbo& app, Target& target) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == target.Hwnd(); }));
}

void OpenTrayMenu() {
    ClickTrayIcon(true);
    ASSERT_TRUE(WaitPopupMenu());
}

}  // namespace

TEST(Keyboard, KeyboardEscapeClosesTheTrayMenuWhileAnotherProgramHadTheKeyboard) {
    Plumbo app;
    Target target;
    ASSERT_NO_FATAL_FAILURE(StartWithTargetInFront(app, target));

    ASSERT_NO_FATAL_FAILURE(OpenTrayMenu());
    XKeys(L"Escape");
    EXPECT_TRUE(WaitNoPopupMenu()) << "the keyboard is with " << XFocus();
    // Whatever went wrong, the next test starts with no menu open.
    if (OpenPopupMenu()) PressKey(VK_ESCAPE);
}

TEST(Keyboard, InjectedEscapeClosesTheTrayMenuWhileAnotherProgramHadTheKeyboard) {
    Plumbo app;
    Target target;
    ASSERT_NO_FATAL_FAILURE(StartWithTargetInFront(app, target));

    ASSERT_NO_FATAL_FAILURE(OpenTrayMenu());
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitNoPopupMenu());
    if (OpenPopupMenu()) PressKey(VK_ESCAPE);
}

TEST(Keyboard, KeyboardChoosesSettingsFromTheTrayMenuAndClosesTheDialog) {
    Plumbo app;
    Target target;
    ASSERT_NO_FATAL_FAILURE(StartWithTargetInFront(app, target));

    // The first menu after the start, then a second one: each must hear the keyboard.
    ASSERT_NO_FATAL_FAILURE(OpenTrayMenu());
    XKeys(L"Escape");
    ASSERT_TRUE(WaitNoPopupMenu()) << "the keyboard is with " << XFocus();
    ASSERT_NO_FATAL_FAILURE(OpenTrayMenu());
    // 表示, 非表示, 設定: the first Down lights the first item.
    XKeys(L"Down Down Down Return");
    HWND settings = nullptr;
    bool shown = WaitFor([&] { return (settings = WindowOf(app.Pid(), L"PlumboSettings", true)) != nullptr; });
    if (OpenPopupMenu()) PressKey(VK_ESCAPE);
    ASSERT_TRUE(shown) << "the keyboard is with " << XFocus();
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == settings; }));
    ASSERT_TRUE(WaitXFocusOn(settings)) << "the keyboard is with " << XFocus();

    XKeys(L"Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); })) << "the keyboard is with " << XFocus();
}

TEST(Keyboard, KeyboardOpensTheViewersMenuBarWithF10AndWithAlt) {
    Plumbo app;
    Target target;
    ASSERT_NO_FATAL_FAILURE(StartWithTargetInFront(app, target));
    app.ShowRulersByDoubleClick();
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 300; }));

    // 画面キャプチャ from the ruler's menu (設定 is its first item), by the keyboard too.
    RECT r = WindowRectOf(app.HorizontalRuler());
    Click((r.left + r.right) / 2, r.top, true);
    ASSERT_TRUE(WaitPopupMenu());
    XKeys(L"Down Down Return");
    HWND viewer = app.Viewer();
    bool shown = WaitFor([&] { return IsWindowVisible(viewer) && GetForegroundWindow() == viewer; });
    if (OpenPopupMenu()) PressKey(VK_ESCAPE);
    ASSERT_TRUE(shown) << "the keyboard is with " << XFocus();
    ASSERT_TRUE(WaitXFocusOn(viewer)) << "the keyboard is with " << XFocus();

    XKeys(L"F10");
    XKeys(L"Down");
    EXPECT_TRUE(WaitPopupMenu()) << "F10: the keyboard is with " << XFocus();
    // The first Escape closes the dropped menu, the second leaves the menu bar.
    XKeys(L"Escape");
    EXPECT_TRUE(WaitNoPopupMenu());
    XKeys(L"Escape");

    XKeys(L"alt");
    XKeys(L"Down");
    EXPECT_TRUE(WaitPopupMenu()) << "Alt: the keyboard is with " << XFocus();
    XKeys(L"Escape");
    EXPECT_TRUE(WaitNoPopupMenu());
    XKeys(L"Escape");
    if (OpenPopupMenu()) PressKey(VK_ESCAPE);
}
