// "アクティブウインドのサイズ" driven from outside: the dialog "直接指定" opens at the target's
// corner in the rulers' unit, OK resizes the target, and a bad value changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "driver.h"

using namespace e2e;

namespace {

// The dialog's controls, by the ids plumbo gives them.
constexpr int kTxtWidth = 201, kTxtHeight = 202, kOptTani0 = 210;

int Dpi(bool horizontal) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, horizontal ? LOGPIXELSX : LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

std::wstring TextOf(HWND h) {
    wchar_t buf[256] = {};
    SendMessageW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf));
    return buf;
}

void SetText(HWND h, const std::wstring& text) {
    SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int CheckedOption(HWND dlg) {
    for (int i = 0; i < 3; ++i)
        if (SendMessageW(GetDlgItem(dlg, kOptTani0 + i), BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
    return -1;
}

void ClickControl(HWND control) {
    RECT r = WindowRectOf(control);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

struct Session {
    Plumbo app;
    Target target;
    HWND dialog = nullptr;

    // Rulers along a target at (100, 50) sized 300 x 200; rulerMenuUnit: item of 設定 to choose
    // first (-1: keep millimetres).
    void Open(int rulerMenuUnit = -1) {
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.WaitResident());
        ASSERT_TRUE(target.Start(100, 50, 300, 200));
        app.ShowRulersByDoubleClick();
        target.Activate();
        ASSERT_TRUE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 100; }));
        if (rulerMenuUnit >= 0) {
            ASSERT_TRUE(app.ChooseRulerMenu(app.HorizontalRuler(), {0, rulerMenuUnit}));
            Pause(static_cast<int>(GetDoubleClickTime()) + 200);
            target.Activate();
            Pause(400);
        }
        ASSERT_TRUE(app.ChooseRulerMenu(app.HorizontalRuler(), {3}));
        ASSERT_TRUE(WaitFor([&] { return (dialog = WindowOf(app.Pid(), L"PlumboSize", true)) != nullptr; }));
        Pause(300);
    }
    HWND MessageBox() const { return WindowOf(app.Pid(), L"#32770", true); }
};

}  // namespace

TEST(SizeDialog, OpensAtTheTargetsCornerInMillimetresAndOkSetsTheSize) {
    Session s;
    s.Open();
    HWND dlg = s.dialog;
    RECT d = WindowRectOf(dlg);
    EXPECT_EQ(d.left, 100);
    EXPECT_EQ(d.top, 50);
    EXPECT_EQ(CheckedOption(dlg), 0) << "ミリ";
    // 300 x 200 pixels in whole millimetres, floored.
    EXPECT_EQ(TextOf(GetDlgItem(dlg, kTxtWidth)), std::to_wstring(static_cast<int>(std::floor(300 * 25.4 / Dpi(true)))));
    EXPECT_EQ(TextOf(GetDlgItem(dlg, kTxtHeight)), std::to_wstring(static_cast<int>(std::floor(200 * 25.4 / Dpi(false)))));

    // Choosing a unit re-reads the target's size in it.
    ClickControl(GetDlgItem(dlg, kOptTani0 + 2));
    ASSERT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(dlg, kTxtWidth)) == L"300"; }));
    EXPECT_EQ(TextOf(GetDlgItem(dlg, kTxtHeight)), L"200");
    ClickControl(GetDlgItem(dlg, kOptTani0));
    ASSERT_TRUE(WaitFor([&] { return CheckedOption(dlg) == 0; }));

    // 100 x 50 mm: at 96 pixels per inch 377.95 and 188.98, so 378 x 189.
    SetText(GetDlgItem(dlg, kTxtWidth), L"100");
    SetText(GetDlgItem(dlg, kTxtHeight), L"50");
    ClickControl(GetDlgItem(dlg, IDOK));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dlg); }));
    RECT t = WindowRectOf(s.target.Hwnd());
    EXPECT_EQ(t.left, 100);
    EXPECT_EQ(t.top, 50);
    EXPECT_EQ(t.right - t.left, static_cast<int>(std::nearbyint(100 / 25.4 * Dpi(true))));
    EXPECT_EQ(t.bottom - t.top, static_cast<int>(std::nearbyint(50 / 25.4 * Dpi(false))));
    // The horizontal ruler is as wide as the new width at once.
    RECT h = WindowRectOf(s.app.HorizontalRuler());
    EXPECT_EQ(h.right - h.left, t.right - t.left);
    // The rulers are on top again.
    EXPECT_TRUE(GetWindowLongW(s.app.HorizontalRuler(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(SizeDialog, OpensInPixelsWhenTheRulersShowPixels) {
    Session s;
    s.Open(3);  // 設定 > ピクセル表示
    EXPECT_EQ(CheckedOption(s.dialog), 2);
    EXPECT_EQ(TextOf(GetDlgItem(s.dialog, kTxtWidth)), L"300");
    EXPECT_EQ(TextOf(GetDlgItem(s.dialog, kTxtHeight)), L"200");
    SetText(GetDlgItem(s.dialog, kTxtWidth), L"420");
    SetText(GetDlgItem(s.dialog, kTxtHeight), L"260");
    ClickControl(GetDlgItem(s.dialog, IDOK));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(s.dialog); }));
    RECT t = WindowRectOf(s.target.Hwnd());
    EXPECT_EQ(t.left, 100);
    EXPECT_EQ(t.top, 50);
    EXPECT_EQ(t.right - t.left, 420);
    EXPECT_EQ(t.bottom - t.top, 260);
}

TEST(SizeDialog, ABadValueKeepsTheDialogOpenWithAMessageNamingTheBox) {
    Session s;
    s.Open();  // millimetres
    struct Case {
        const wchar_t* width;
        const wchar_t* height;
        const wchar_t* boxNamed;
    };
    const Case cases[] = {
        {L"abc", L"200", L"幅(W)"},
        {L"0", L"200", L"幅(W)"},
        {L"79", L"99999", L"高さ(H)"},
        {L"79", L"", L"高さ(H)"},
        {L"-5", L"52", L"幅(W)"},
    };
    for (const Case& c : cases) {
        SetText(GetDlgItem(s.dialog, kTxtWidth), c.width);
        SetText(GetDlgItem(s.dialog, kTxtHeight), c.height);
        ClickControl(GetDlgItem(s.dialog, IDOK));
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = s.MessageBox()) != nullptr; })) << c.width << " x " << c.height;
        // The message box's text is its static control.
        std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
        EXPECT_NE(text.find(c.boxNamed), std::wstring::npos) << c.width << " x " << c.height;
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return s.MessageBox() == nullptr; }));
        EXPECT_TRUE(IsWindowVisible(s.dialog));
        RECT t = WindowRectOf(s.target.Hwnd());
        EXPECT_EQ(t.right - t.left, 300);
        EXPECT_EQ(t.bottom - t.top, 200);
    }
    // Cancel closes it with nothing changed.
    SetText(GetDlgItem(s.dialog, kTxtWidth), L"500");
    ClickControl(GetDlgItem(s.dialog, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(s.dialog); }));
    RECT t = WindowRectOf(s.target.Hwnd());
    EXPECT_EQ(t.right - t.left, 300);
}
