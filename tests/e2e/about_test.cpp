// The version box and "ヘルプ" from the control menu, driven from outside.
#include <gtest/gtest.h>

#include <string>

#include "driver/driver.h"

#include <shellapi.h>

using namespace e2e;

namespace {

constexpr int kAboutItem = 3;  // ﾊﾞｰｼﾞｮﾝ情報
constexpr int kHelpItem = 4;   // ヘルプ

// A point inside a label of the box, from its place in twips on the box's client area.
POINT InLabel(HWND box, int leftTwips, int topTwips) {
    RECT c = ClientRectOnScreen(box);
    HDC dc = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return {c.left + leftTwips * dpiX / 1440 + 12, c.top + topTwips * dpiY / 1440 + 7};
}

// A message box of the program.
HWND MessageBoxOf(const Plumbo& app) {
    for (HWND h : WindowsOf(app.Pid(), L"#32770", true))
        if (FindWindowExW(h, nullptr, L"Static", nullptr)) return h;
    return nullptr;
}

// Either a message box with this text comes (and is answered), or none does.
void ExpectMessage(const Plumbo& app, bool expected, const wchar_t* text, const char* what) {
    HWND msg = nullptr;
    bool shown = WaitFor([&] { return (msg = MessageBoxOf(app)) != nullptr; }, expected ? 5000 : 1500);
    EXPECT_EQ(shown, expected) << "for " << what;
    if (!shown) return;
    std::wstring all;
    for (HWND s = nullptr; (s = FindWindowExW(msg, s, L"Static", nullptr)) != nullptr;) {
        wchar_t buf[256] = {};
        SendMessageW(s, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf));
        all += buf;
    }
    if (expected) {
        EXPECT_EQ(all, text);
    }
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return MessageBoxOf(app) == nullptr; }));
}

// Yellow pixels (a link under the mouse) in a strip where a link label lies.
int YellowPixels(HWND box, int leftTwips, int topTwips) {
    POINT p = InLabel(box, leftTwips, topTwips);
    Image img = GrabScreen({p.x - 12, p.y - 7, p.x + 180, p.y + 14});
    int n = 0;
    for (uint32_t c : img.pixels) n += ((c >> 16) & 0xFF) > 200 && ((c >> 8) & 0xFF) > 200 && (c & 0xFF) < 80;
    return n;
}

// Whether this Wine prefix (or Windows) has a program for a URL scheme or a file: the shell
// then opens it and the program shows no message; otherwise the program must say so.
bool SchemeHasHandler(const wchar_t* scheme) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(scheme) + L"\\shell\\open\\command";
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool FileHasHandler(const std::wstring& file) {
    wchar_t exe[MAX_PATH] = {};
    return reinterpret_cast<INT_PTR>(FindExecutableW(file.c_str(), nullptr, exe)) > 32;
}

const wchar_t kNoProgram[] = L"関連づけられた実行ファイルがありません";

bool ControlMenuOpens() {
    ClickTrayIcon(true);
    bool opened = WaitPopupMenu(1500);
    if (OpenPopupMenu()) {
        PressKey(VK_ESCAPE);
        WaitNoPopupMenu();
    }
    return opened;
}

}  // namespace

TEST(VersionBox, GradientLinksClosingAndHelp) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ASSERT_TRUE(app.ChooseControlMenu(kAboutItem));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(app.Pid(), L"PlumboAbout", true)) != nullptr; }));
    Pause(300);
    RECT r = WindowRectOf(box);
    EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1) << "centred";
    // Pure blue at the top-right corner, near black at the bottom.
    RECT c = ClientRectOnScreen(box);
    EXPECT_EQ(GrabScreen({c.right - 3, c.top + 1, c.right - 1, c.top + 3}).At(0, 0), 0x0000FFu);
    uint32_t bottom = GrabScreen({c.right - 3, c.bottom - 3, c.right - 1, c.bottom - 1}).At(0, 0);
    EXPECT_EQ(bottom & 0xFFFF00u, 0u);
    EXPECT_LT(bottom & 0xFFu, 0x20u);

    // Modal: the tray icon takes no notice.
    EXPECT_FALSE(ControlMenuOpens());

    // Hover: a link turns yellow under the mouse and white again over the background.
    POINT http = InLabel(box, 2280, 2160);
    MoveMouse(http.x, http.y);
    Pause(300);
    EXPECT_GT(YellowPixels(box, 2280, 2160), 10);
    EXPECT_EQ(YellowPixels(box, 2280, 2820), 0) << "only the link under the mouse";
    MoveMouse(c.left + 20, c.bottom - 20);
    Pause(300);
    EXPECT_EQ(YellowPixels(box, 2280, 2160), 0);

    // A click on a link keeps the box open; the shell opens it or the program says it cannot.
    // The mail link goes to the shell as "mailto:...": a bare address is no link to Wine's
    // shell or to Windows', which would answer "not found".
    Click(http.x, http.y);
    ExpectMessage(app, !SchemeHasHandler(L"https"), kNoProgram, "https");
    EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box));
    POINT mail = InLabel(box, 2280, 2820);
    Click(mail.x, mail.y);
    ExpectMessage(app, !SchemeHasHandler(L"mailto"), kNoProgram, "mailto");
    EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box));

    // A click off the links closes it.
    POINT ver = InLabel(box, 4320, 1380);
    Click(ver.x, ver.y);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(ControlMenuOpens()) << "the tray reacts again";

    // "ヘルプ" opens the page beside the program. Wine's default prefix has no program for
    // ".html" (the shell answers "no association"); where there is one nothing is said.
    const std::wstring page = app.Dir() + L"\\plHelp.html";
    ASSERT_TRUE(FileExists(page));
    ASSERT_TRUE(app.ChooseControlMenu(kHelpItem));
    ExpectMessage(app, !FileHasHandler(page), kNoProgram, ".html");
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(ControlMenuOpens());

    // Without the page it says so.
    ASSERT_TRUE(DeleteFileW(page.c_str()));
    ASSERT_TRUE(app.ChooseControlMenu(kHelpItem));
    ExpectMessage(app, true, L"ヘルプファイルが見つかりません", "the missing page");
    EXPECT_TRUE(app.Running());
}
