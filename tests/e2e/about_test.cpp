// The version box and "ヘルプ" from the control menu, driven from outside.
#include <gtest/gtest.h>

#include <string>

#include "driver.h"

#include <shellapi.h>

using namespace e2e;

namespace {

constexpr int kAboutItem = 3;  // ﾊﾞｰｼﾞｮﾝ情報
constexpr int kHelpItem = 4;   // ヘルプ

HWND AboutBox(const Plumbo& app) { return WindowOf(app.Pid(), L"PlumboAbout", true); }

HWND OpenAbout(Plumbo& app) {
    if (!app.ChooseControlMenu(kAboutItem)) return nullptr;
    HWND box = nullptr;
    WaitFor([&] { return (box = AboutBox(app)) != nullptr; });
    Pause(300);
    return box;
}

// A point inside a label of the box, from its place in twips on the box's client area.
POINT InLabel(HWND box, int leftTwips, int topTwips) {
    RECT c = ClientRectOnScreen(box);
    HDC dc = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return {c.left + leftTwips * dpiX / 1440 + 12, c.top + topTwips * dpiY / 1440 + 7};
}

// A message box of the program, and its text.
HWND MessageBoxOf(const Plumbo& app) {
    for (HWND h : WindowsOf(app.Pid(), L"#32770", true))
        if (FindWindowExW(h, nullptr, L"Static", nullptr)) return h;
    return nullptr;
}

std::wstring MessageText(HWND box) {
    std::wstring all;
    HWND s = nullptr;
    while ((s = FindWindowExW(box, s, L"Static", nullptr)) != nullptr) {
        wchar_t buf[256] = {};
        SendMessageW(s, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf));
        all += buf;
    }
    return all;
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
    std::wstring path = std::wstring(scheme) + L"\\shell\\open\\command";
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool FileHasHandler(const std::wstring& file) {
    wchar_t exe[MAX_PATH] = {};
    return reinterpret_cast<INT_PTR>(FindExecutableW(file.c_str(), nullptr, exe)) > 32;
}

// After a shell open: either a message box with this text, or (handler present) none.
void ExpectShellOutcome(const Plumbo& app, bool handled, const wchar_t* what) {
    HWND msg = nullptr;
    bool shown = WaitFor([&] { return (msg = MessageBoxOf(app)) != nullptr; }, handled ? 1500 : 5000);
    if (handled) {
        EXPECT_FALSE(shown) << "a handler is registered for " << what;
    } else {
        ASSERT_TRUE(shown) << "no handler for " << what << ", so the program must say so";
        EXPECT_EQ(MessageText(msg), L"関連づけられた実行ファイルがありません");
    }
    if (shown) {
        PressKey(VK_RETURN);
        WaitFor([&] { return MessageBoxOf(app) == nullptr; });
    }
}

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

TEST(VersionBox, ShowsGradientAndClosesOnTheVersionTextButNotOnALink) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    HWND box = OpenAbout(app);
    ASSERT_TRUE(box);
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
    ExpectShellOutcome(app, SchemeHasHandler(L"https"), L"https");
    EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box));
    POINT mail = InLabel(box, 2280, 2820);
    Click(mail.x, mail.y);
    ExpectShellOutcome(app, SchemeHasHandler(L"mailto"), L"mailto");
    EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box));

    // A busy Wine desktop now and then drops an injected click: a person would click again.
    POINT ver = InLabel(box, 4320, 1380);
    bool closed = false;
    for (int attempt = 0; attempt < 3 && !closed; ++attempt) {
        Click(ver.x, ver.y);
        closed = WaitFor([&] { return !IsWindow(box); }, 3000);
    }
    EXPECT_TRUE(closed);
    EXPECT_TRUE(ControlMenuOpens()) << "the tray reacts again";
}

TEST(Help, OpensThePageBesideTheProgram) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    const std::wstring page = app.Dir() + L"\\plHelp.html";
    ASSERT_TRUE(FileExists(page));
    // Wine's default prefix has no program for ".html" (the shell answers "no association");
    // where there is one the page opens and nothing is said.
    const bool handled = FileHasHandler(page);
    ASSERT_TRUE(app.ChooseControlMenu(kHelpItem));
    ExpectShellOutcome(app, handled, L".html");
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(ControlMenuOpens());
}

TEST(Help, MissingPageShowsTheMessage) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ASSERT_TRUE(DeleteFileW((app.Dir() + L"\\plHelp.html").c_str()));
    ASSERT_TRUE(app.ChooseControlMenu(kHelpItem));
    HWND msg = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (msg = MessageBoxOf(app)) != nullptr; }));
    EXPECT_EQ(MessageText(msg), L"ヘルプファイルが見つかりません");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return MessageBoxOf(app) == nullptr; }));
    EXPECT_TRUE(app.Running());
}
