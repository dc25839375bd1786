// The settings dialog "設定": where it opens, what the rulers do meanwhile, the colour
// dialog's OK and Cancel, and what "Ｏ．Ｋ" stores and applies; driven from outside.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "driver/driver.h"

using namespace e2e;

namespace {

constexpr int kSettingsItem = 2;  // 設定 in the control menu
const std::string kDefaultIni =
    "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n"
    "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n";

// The colour dialog's value boxes, as the standard dialog numbers them.
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;

HWND OpenSettings(Plumbo& app) {
    HWND dlg = nullptr;
    if (app.ChooseControlMenu(kSettingsItem))
        WaitFor([&] { return (dlg = WindowOf(app.Pid(), L"PlumboSettings", true)) != nullptr; });
    Pause(300);
    return dlg;
}

// A control of the dialog found by its caption, as a person finds it.
HWND Control(HWND dlg, const wchar_t* caption) { return FindWindowExW(dlg, nullptr, L"Button", caption); }

// Clicks a control of a dialog once it takes input again, and waits for the outcome.
bool ClickWhenEnabled(HWND control, const std::function<bool()>& done, int waitMs = 3000) {
    // A dialog under a modal one takes no clicks: wait until it is ours again.
    WaitFor([&] { return IsWindowEnabled(GetAncestor(control, GA_ROOT)) != FALSE; });
    RECT r = WindowRectOf(control);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return WaitFor(done, waitMs);
}

HWND PreviewOf(HWND dlg) { return FindWindowExW(dlg, nullptr, L"PlumboSettingsPreview", nullptr); }

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

// Types a colour into the value boxes the way a person does: click, select, type, each box
// once it has the focus.
void TypeColor(HWND cd, int red, int green, int blue) {
    for (auto [id, value] : {std::pair{kRedEdit, red}, {kGreenEdit, green}, {kBlueEdit, blue}}) {
        HWND edit = GetDlgItem(cd, id);
        const std::wstring text = std::to_wstring(value);
        RECT r = WindowRectOf(edit);
        Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        WaitFor([&] {
            GUITHREADINFO gi{sizeof gi};
            return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &gi) && gi.hwndFocus == edit;
        });
        SendMessageW(edit, EM_SETSEL, 0, -1);
        TypeText(text);
        WaitFor([&] { return EditText(edit) == text; });
    }
}

// Opens the colour dialog of a button, checks the colour it opens on (unless null), types a
// colour (unless red < 0), closes it with the key and waits until the settings dialog takes
// input again.
bool PickColor(const Plumbo& app, HWND dlg, const wchar_t* button, const wchar_t* opensOn, int red, int green,
               int blue, WORD key) {
    HWND cd = nullptr;
    // The first colour dialog of a run may be slow to come; a second click meanwhile would
    // open another one later.
    ClickWhenEnabled(Control(dlg, button), [&] {
        for (HWND h : WindowsOf(app.Pid(), L"#32770", true))
            if (GetDlgItem(h, kRedEdit)) return (cd = h) != nullptr;
        return false;
    }, 8000);
    if (!cd) return false;
    Pause(300);
    if (opensOn) EXPECT_EQ(ShownColor(cd), opensOn) << "the colour dialog opens on the edited colour";
    if (red >= 0) {
        TypeColor(cd, red, green, blue);
        EXPECT_EQ(ShownColor(cd),
                  std::to_wstring(red) + L"," + std::to_wstring(green) + L"," + std::to_wstring(blue));
    }
    PressKey(key);
    bool closed = WaitFor([&] {
        return (!IsWindow(cd) || !IsWindowVisible(cd)) && IsWindowEnabled(dlg) &&
               WindowsOf(app.Pid(), L"#32770", true).empty();
    });
    Pause(300);
    return closed;
}

// Ticks or unticks a check box of the dialog.
bool Toggle(HWND dlg, const wchar_t* caption) {
    HWND box = Control(dlg, caption);
    const LRESULT was = SendMessageW(box, BM_GETCHECK, 0, 0);
    return ClickWhenEnabled(box, [&] { return SendMessageW(box, BM_GETCHECK, 0, 0) != was; });
}

// Presses "Ｏ．Ｋ" or "キャンセル" and waits for the dialog to go.
bool CloseWith(HWND dlg, const wchar_t* caption) {
    return ClickWhenEnabled(Control(dlg, caption), [&] { return !IsWindowVisible(dlg); });
}

// A pixel of a ruler's or the preview's body, away from ticks and numbers: the far end, near
// the outer edge.
uint32_t BodyPixel(HWND ruler) {
    RECT c = ClientRectOnScreen(ruler);
    return GrabScreen({c.right - 3, c.top + 1, c.right - 1, c.top + 3}).At(0, 0);
}

// Runs of pixels in one row of the preview that are the tick colour.
int TicksInRow(const Image& img, int y, uint32_t color) {
    int runs = 0;
    for (int x = 0; x < img.width; ++x)
        if (img.At(x, y) == color && (x == 0 || img.At(x - 1, y) != color)) ++runs;
    return runs;
}

bool RulersVisible(const Plumbo& app) {
    return IsWindowVisible(app.HorizontalRuler()) && IsWindowVisible(app.VerticalRuler());
}

// Rulers shown and laid along a target window at (300, 250).
bool ShowRulersAlongTarget(Plumbo& app, Target& target) {
    if (!target.Start(300, 250, 400, 300)) return false;
    app.ShowRulersByDoubleClick();
    if (!WaitFor([&] { return RulersVisible(app); })) return false;
    target.Activate();
    if (!WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 300; })) return false;
    Pause(400);
    return true;
}

}  // namespace

TEST(SettingsDialog, OpensCentredWithThePreviewAndOkStoresEveryKeyAndRecoloursTheRulers) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    RECT r = WindowRectOf(dlg);
    // With the rulers hidden: centred in whole twips, so within a pixel of the centred pixels.
    EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1);
    EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 1);

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

    // A pick cancelled in the colour dialog leaves the preview alone.
    ASSERT_TRUE(PickColor(app, dlg, L"メモリ線の色", L"0,0,255", -1, 0, 0, VK_ESCAPE));
    ASSERT_TRUE(PickColor(app, dlg, L"定規の色", L"255,255,255", 200, 10, 10, VK_ESCAPE));
    EXPECT_EQ(BodyPixel(preview), 0xFFFFFFu) << "a cancelled pick must not colour the preview";
    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
    Pause(500);
    EXPECT_FALSE(IsWindowVisible(app.HorizontalRuler()));
    EXPECT_FALSE(IsWindowVisible(app.VerticalRuler()));
    EXPECT_EQ(ReadFileBytes(app.IniPath()), kDefaultIni);

    // "Ｏ．Ｋ" stores every key and recolours both rulers.
    Target target;
    ASSERT_TRUE(ShowRulersAlongTarget(app, target));
    ASSERT_TRUE(dlg = OpenSettings(app));
    ASSERT_TRUE(PickColor(app, dlg, L"定規の色", nullptr, 0, 128, 0, VK_RETURN));
    ASSERT_TRUE(PickColor(app, dlg, L"メモリの色", L"0,0,0", 1, 2, 3, VK_RETURN));
    ASSERT_TRUE(Toggle(dlg, L"ｳｲﾝﾄﾞｳの内側に表示"));
    ASSERT_TRUE(CloseWith(dlg, L"Ｏ．Ｋ"));
    // MEJ = RGB(0, 128, 0); LINE untouched; NO = RGB(1, 2, 3) = 0x030201.
    EXPECT_EQ(ReadFileBytes(app.IniPath()),
              "[COLOR]\r\nMEJ=32768\r\nLINE=16711680\r\nNO=197121\r\n"
              "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\n");
    ASSERT_TRUE(WaitFor([&] { return RulersVisible(app); }));
    Pause(500);
    EXPECT_EQ(BodyPixel(app.HorizontalRuler()), 0x008000u);
    EXPECT_EQ(BodyPixel(app.VerticalRuler()), 0x008000u);
}

TEST(SettingsDialog, RulersShownOpensAtTheirCornerCancelDropsAPickAndTransparentTakesEffect) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(ShowRulersAlongTarget(app, target));
    const RECT hrz = WindowRectOf(app.HorizontalRuler()), ver = WindowRectOf(app.VerticalRuler());
    ASSERT_EQ(BodyPixel(app.HorizontalRuler()), 0xFFFFFFu);
    HWND dlg = OpenSettings(app);
    ASSERT_TRUE(dlg);
    RECT r = WindowRectOf(dlg);
    EXPECT_NEAR(r.left, hrz.left, 1);
    EXPECT_NEAR(r.top, ver.top, 1);
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

    // A pick shows in the preview; "キャンセル" drops it and the placement.
    ASSERT_TRUE(PickColor(app, dlg, L"定規の色", nullptr, 0, 128, 0, VK_RETURN));
    EXPECT_EQ(BodyPixel(PreviewOf(dlg)), 0x008000u) << "the preview shows the pick";
    ASSERT_TRUE(Toggle(dlg, L"ｳｲﾝﾄﾞｳの内側に表示"));
    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
    ASSERT_TRUE(WaitFor([&] { return RulersVisible(app); }));
    Pause(600);
    EXPECT_EQ(ReadFileBytes(app.IniPath()), kDefaultIni);
    EXPECT_EQ(BodyPixel(app.HorizontalRuler()), 0xFFFFFFu);
    EXPECT_EQ(WindowRectOf(app.HorizontalRuler()).left, hrz.left) << "still outside the target";
    // And the tray reacts again.
    ClickTrayIcon(true);
    EXPECT_TRUE(WaitPopupMenu());
    PressKey(VK_ESCAPE);
    WaitNoPopupMenu();

    // The next opening shows the stored colour again.
    ASSERT_TRUE(dlg = OpenSettings(app));
    EXPECT_EQ(BodyPixel(PreviewOf(dlg)), 0xFFFFFFu);
    ASSERT_TRUE(CloseWith(dlg, L"キャンセル"));
    EXPECT_EQ(ReadFileBytes(app.IniPath()), kDefaultIni);
}
