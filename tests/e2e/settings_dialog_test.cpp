// The settings dialog "設定": where it opens, what the rulers do meanwhile, the colour
// dialog's OK and Cancel, and what "Ｏ．Ｋ" stores and applies; driven from outside.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "driver.h"

using namespace e2e;

namespace {

constexpr int kSettingsItem = 2;  // 設定 in the control menu
const std::string kDefaultIni =
    "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
    "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n";

// The colour dialog's value boxes, as the standard dialog numbers them.
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;

HWND SettingsDialog(const Plumbo& app) { return WindowOf(app.Pid(), L"PlumboSettings", true); }

HWND OpenSettings(Plumbo& app) {
    if (!app.ChooseControlMenu(kSettingsItem)) return nullptr;
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = SettingsDialog(app)) != nullptr; });
    Pause(300);
    return dlg;
}

// A control of the dialog found by its caption, as a person finds it.
HWND Control(HWND dlg, const wchar_t* caption) { return FindWindowExW(dlg, nullptr, L"Button", caption); }

void ClickControl(HWND control) {
    // A dialog under a modal one takes no clicks: wait until it is ours again.
    WaitFor([&] { return IsWindowEnabled(GetAncestor(control, GA_ROOT)) != FALSE; });
    RECT r = WindowRectOf(control);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pause(150);
}

// On a busy machine the Wine desktop now and then drops an injected click; a person would
// click again. A program that never reacts still fails after the last try.
bool ClickUntil(HWND control, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        ClickControl(control);
        if (WaitFor(done, 3000)) return true;
    }
    return false;
}

HWND PreviewOf(HWND dlg) { return FindWindowExW(dlg, nullptr, L"PlumboSettingsPreview", nullptr); }

// The standard colour dialog opened by one of the colour buttons.
HWND OpenColorDialog(const Plumbo& app, HWND dlg, const wchar_t* button) {
    HWND cd = nullptr;
    ClickUntil(Control(dlg, button), [&] {
        for (HWND h : WindowsOf(app.Pid(), L"#32770", true))
            if (GetDlgItem(h, kRedEdit)) return (cd = h) != nullptr;
        return false;
    });
    Pause(300);
    return cd;
}

std::wstring EditText(HWND edit) {
    wchar_t buf[64] = {};
    SendMessageW(edit, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf));
    return buf;
}

// What the value boxes show: "R,G,B".
std::wstring ShownColor(HWND cd) {
    return EditText(GetDlgItem(cd, kRedEdit)) + L"," + EditText(GetDlgItem(cd, kGreenEdit)) + L"," +
           EditText(GetDlgItem(cd, kBlueEdit));
}

// Types a colour into the value boxes the way a person does: click, select, type. Wine's
// dialog now and then drops keys typed the moment a box takes the focus, so a box that does
// not show its value is typed again.
void TypeColor(HWND cd, int red, int green, int blue) {
    const std::wstring wanted = std::to_wstring(red) + L"," + std::to_wstring(green) + L"," + std::to_wstring(blue);
    for (int round = 0; round < 3 && ShownColor(cd) != wanted; ++round)
    for (auto [id, value] : {std::pair{kRedEdit, red}, {kGreenEdit, green}, {kBlueEdit, blue}}) {
        HWND edit = GetDlgItem(cd, id);
        const std::wstring text = std::to_wstring(value);
        for (int attempt = 0; attempt < 3 && EditText(edit) != text; ++attempt) {
            RECT r = WindowRectOf(edit);
            Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            WaitFor([&] {
                GUITHREADINFO gi{sizeof gi};
                return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &gi) && gi.hwndFocus == edit;
            }, 2000);
            Pause(100);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            TypeText(text);
            Pause(150);
        }
    }
}

// Closed, and the settings dialog under it takes input again.
bool ClosedColorDialog(HWND cd, HWND dlg) {
    DWORD pid = 0;
    GetWindowThreadProcessId(dlg, &pid);
    return WaitFor([&] {
        return (!IsWindow(cd) || !IsWindowVisible(cd)) && IsWindowEnabled(dlg) &&
               WindowsOf(pid, L"#32770", true).empty();
    });
}

// Presses "Ｏ．Ｋ" or "キャンセル" and waits for the dialog to go.
bool CloseWith(HWND dlg, const wchar_t* caption) {
    return ClickUntil(Control(dlg, caption), [&] { return !IsWindowVisible(dlg); });
}

// A pixel of the ruler's body, away from ticks and numbers: the far end, near the outer edge.
uint32_t RulerBodyPixel(HWND ruler) {
    RECT c = ClientRectOnScreen(ruler);
    return GrabScreen({c.right - 3, c.top + 1, c.right - 1, c.top + 3}).At(0, 0);
}

uint32_t PreviewBodyPixel(HWND dlg) {
    RECT c = ClientRectOnScreen(PreviewOf(dlg));
    return GrabScreen({c.right - 3, c.top + 1, c.right - 1, c.top + 3}).At(0, 0);
}

// Runs of pixels in one row of the preview that are the tick colour.
int TicksInRow(const Image& img, int y, uint32_t color) {
    int runs = 0;
    for (int x = 0; x < img.width; ++x)
        if (img.At(x, y) == color && (x == 0 || img.At(x - 1, y) != color)) ++runs;
    return runs;
}

struct ShownRulers {
    Target target;
    RECT hrz{}, ver{};
};

// Rulers shown and laid along a target window.
bool ShowRulersAlongTarget(Plumbo& app, ShownRulers& s) {
    if (!s.target.Start(300, 250, 400, 300)) return false;
    app.ShowRulersByDoubleClick();
    if (!WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()) && IsWindowVisible(app.VerticalRuler()); }))
        return false;
    s.target.Activate();
    if (!WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 300; })) return false;
    Pause(400);
    s.hrz = WindowRectOf(app.HorizontalRuler());
    s.ver = WindowRectOf(app.VerticalRuler());
    return true;
}

}  // namespace

TEST(SettingsDialog, RulersHiddenOpensCentredWithThePreviewAndStaysHidden) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    RECT r = WindowRectOf(dlg);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    // Centred in whole twips, so within a pixel of the centred pixel position.
    EXPECT_NEAR(r.left, (sw - (r.right - r.left)) / 2, 1);
    EXPECT_NEAR(r.top, (sh - (r.bottom - r.top)) / 2, 1);

    // The preview: white body, 88 blue ticks along its bottom, 9 of them long.
    HWND preview = PreviewOf(dlg);
    ASSERT_TRUE(preview);
    Image img = GrabScreen(ClientRectOnScreen(preview));
    EXPECT_EQ(img.At(img.width - 2, 1), 0xFFFFFFu);
    const uint32_t blue = 0x0000FF;
    EXPECT_EQ(TicksInRow(img, img.height - 2, blue), 88);
    HDC dc = GetDC(nullptr);
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    // 175 twips above the bottom only the 200-twip ticks reach.
    EXPECT_EQ(TicksInRow(img, img.height - 1 - 175 * dpiY / 1440, blue), 9);
    // Numbers (black) stand above the ticks, in the middle of the box.
    int dark = 0;
    for (int y = 0; y < img.height - 200 * dpiY / 1440; ++y)
        for (int x = 0; x < img.width; ++x) dark += img.At(x, y) == 0;
    EXPECT_GT(dark, 20) << "numbers 0 to 7";

    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
    Pause(500);
    EXPECT_FALSE(IsWindowVisible(app.HorizontalRuler()));
    EXPECT_FALSE(IsWindowVisible(app.VerticalRuler()));
    EXPECT_EQ(ReadFileBytes(app.IniPath()), kDefaultIni);
}

TEST(SettingsDialog, RulersShownOpensAtTheirCornerHidesThemAndBringsThemBack) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ShownRulers s;
    ASSERT_TRUE(ShowRulersAlongTarget(app, s));
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    RECT r = WindowRectOf(dlg);
    EXPECT_NEAR(r.left, s.hrz.left, 1);
    EXPECT_NEAR(r.top, s.ver.top, 1);
    EXPECT_FALSE(IsWindowVisible(app.HorizontalRuler()));
    EXPECT_FALSE(IsWindowVisible(app.VerticalRuler()));

    // The tray icon takes no notice meanwhile.
    ClickTrayIcon(true);
    EXPECT_FALSE(WaitPopupMenu(1500)) << "the control menu opened while the dialog was open";
    if (OpenPopupMenu()) {
        PressKey(VK_ESCAPE);
        WaitNoPopupMenu();
    }
    EXPECT_TRUE(IsWindowVisible(dlg));

    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()) && IsWindowVisible(app.VerticalRuler()); }));
    // And the tray reacts again.
    ClickTrayIcon(true);
    EXPECT_TRUE(WaitPopupMenu());
    PressKey(VK_ESCAPE);
    WaitNoPopupMenu();
}

TEST(SettingsDialog, ColourDialogOpensOnTheEditedColourAndItsCancelChangesNothing) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);

    HWND cd = OpenColorDialog(app, dlg, L"メモリ線の色");
    ASSERT_TRUE(cd);
    EXPECT_EQ(ShownColor(cd), L"0,0,255");
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(ClosedColorDialog(cd, dlg));

    cd = OpenColorDialog(app, dlg, L"定規の色");
    ASSERT_TRUE(cd);
    EXPECT_EQ(ShownColor(cd), L"255,255,255");
    TypeColor(cd, 200, 10, 10);
    EXPECT_EQ(ShownColor(cd), L"200,10,10");
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(ClosedColorDialog(cd, dlg));
    Pause(300);
    EXPECT_EQ(PreviewBodyPixel(dlg), 0xFFFFFFu) << "a cancelled pick must not colour the preview";
    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
}

TEST(SettingsDialog, PickedColourThenCancelLeavesFileAndRulersAlone) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ShownRulers s;
    ASSERT_TRUE(ShowRulersAlongTarget(app, s));
    ASSERT_EQ(RulerBodyPixel(app.HorizontalRuler()), 0xFFFFFFu);
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    HWND cd = OpenColorDialog(app, dlg, L"定規の色");
    ASSERT_TRUE(cd);
    TypeColor(cd, 0, 128, 0);
    PressKey(VK_RETURN);
    ASSERT_TRUE(ClosedColorDialog(cd, dlg));
    Pause(300);
    EXPECT_EQ(PreviewBodyPixel(dlg), 0x008000u) << "the preview shows the pick";
    ClickControl(Control(dlg, L"ｳｲﾝﾄﾞｳの内側に表示"));
    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()); }));
    Pause(600);
    EXPECT_EQ(ReadFileBytes(app.IniPath()), kDefaultIni);
    EXPECT_EQ(RulerBodyPixel(app.HorizontalRuler()), 0xFFFFFFu);
    EXPECT_EQ(WindowRectOf(app.HorizontalRuler()).left, s.hrz.left) << "still outside the target";

    // The next opening shows the stored colour again, not the dropped pick.
    dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(PreviewBodyPixel(dlg), 0xFFFFFFu);
    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
}

TEST(SettingsDialog, OkStoresEveryKeyAndRecoloursBothRulers) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ShownRulers s;
    ASSERT_TRUE(ShowRulersAlongTarget(app, s));
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    HWND cd = OpenColorDialog(app, dlg, L"定規の色");
    ASSERT_TRUE(cd);
    TypeColor(cd, 0, 128, 0);
    PressKey(VK_RETURN);
    ASSERT_TRUE(ClosedColorDialog(cd, dlg));
    cd = OpenColorDialog(app, dlg, L"メモリの色");
    ASSERT_TRUE(cd);
    EXPECT_EQ(ShownColor(cd), L"0,0,0");
    TypeColor(cd, 1, 2, 3);
    PressKey(VK_RETURN);
    ASSERT_TRUE(ClosedColorDialog(cd, dlg));
    ClickControl(Control(dlg, L"ｳｲﾝﾄﾞｳの内側に表示"));
    ASSERT_TRUE(CloseWith(dlg, L"Ｏ．Ｋ"));

    // MEJ = RGB(0, 128, 0); LINE untouched; NO = RGB(1, 2, 3) = 0x030201.
    EXPECT_EQ(ReadFileBytes(app.IniPath()),
              "[COLOR]\r\nMEJ=32768\r\nLINE=16711680\r\nNO=197121\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\n");
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()) && IsWindowVisible(app.VerticalRuler()); }));
    Pause(500);
    EXPECT_EQ(RulerBodyPixel(app.HorizontalRuler()), 0x008000u);
    EXPECT_EQ(RulerBodyPixel(app.VerticalRuler()), 0x008000u);
}

TEST(SettingsDialog, OkWithTransparentTickedStoresItAndTakesEffect) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    ShownRulers s;
    ASSERT_TRUE(ShowRulersAlongTarget(app, s));
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    ClickControl(Control(dlg, L"透明定規"));
    ASSERT_TRUE(CloseWith(dlg, L"Ｏ．Ｋ"));
    EXPECT_EQ(ReadFileBytes(app.IniPath()),
              "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=TRUE\r\nINSIDE=FALSE\r\n");
    // The rulers come back showing the screen behind them instead of their white body.
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()); }));
    EXPECT_TRUE(WaitFor([&] { return RulerBodyPixel(app.HorizontalRuler()) != 0xFFFFFFu; }, 3000));

    // Unticked again: the ruler colour is back at once.
    dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    ClickControl(Control(dlg, L"透明定規"));
    ASSERT_TRUE(CloseWith(dlg, L"Ｏ．Ｋ"));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.HorizontalRuler()); }));
    EXPECT_TRUE(WaitFor([&] { return RulerBodyPixel(app.HorizontalRuler()) == 0xFFFFFFu; }, 3000));
    EXPECT_EQ(ReadFileBytes(app.IniPath()), kDefaultIni);
}
