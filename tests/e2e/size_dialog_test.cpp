// "アクティブウインドのサイズ" driven from outside: the dialog "直接指定" opens at the target's
// corner in the rulers' unit, OK resizes the target, and a bad value changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "driver/driver.h"

using namespace e2e;

namespace {

// The dialog's controls, by the ids plumbo gives them.
constexpr int kWidthBox = 201, kHeightBox = 202, kFirstUnitOption = 210;

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

int CheckedOption(HWND dlg) {
    for (int i = 0; i < 3; ++i)
        if (SendMessageW(GetDlgItem(dlg, kFirstUnitOption + i), BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
    return -1;
}


// The classes of a process's visible windows, for a failure message.
std::string VisibleClasses(DWORD pid) {
    std::string out;
    for (HWND h : WindowsOf(pid, nullptr, true)) {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        out += std::string(cls) + " ";
    }
    return out;
}

}  // namespace

TEST(SizeDialog, OpensAtTheTargetsCornerInTheRulersUnitRefusesBadValuesAndOkSetsTheSize) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(100, 50, 300, 200));
    app.ShowRulersByDoubleClick();
    HWND dlg = nullptr;
    // "アクティブウインドのサイズ" on the target brought to the front.
    auto open = [&] {
        target.Activate();
        ASSERT_TRUE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 100; }));
        Pause(400);
        ASSERT_TRUE(app.ChooseRulerMenu(app.HorizontalRuler(), {3}));
        ASSERT_TRUE(WaitFor([&] { return (dlg = WindowOf(app.Pid(), L"PlumboSize", true)) != nullptr; }))
            << "shown instead: " << VisibleClasses(app.Pid());
        Pause(300);
    };
    auto text = [&](int id) { return TextOf(GetDlgItem(dlg, id)); };
    auto type = [&](const wchar_t* width, const wchar_t* height) {
        SendMessageW(GetDlgItem(dlg, kWidthBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(width));
        SendMessageW(GetDlgItem(dlg, kHeightBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(height));
    };
    auto press = [&](int id) { return ClickAndWait(GetDlgItem(dlg, id), [&] { return !IsWindowVisible(dlg); }); };
    auto messageBox = [&] { return WindowOf(app.Pid(), L"#32770", true); };
    auto targetRect = [&] { return WindowRectOf(target.Hwnd()); };

    ASSERT_NO_FATAL_FAILURE(open());
    RECT d = WindowRectOf(dlg);
    EXPECT_EQ(d.left, 100);
    EXPECT_EQ(d.top, 50);
    EXPECT_EQ(CheckedOption(dlg), 0) << "ミリ";
    // 300 x 200 pixels in whole millimetres, floored.
    EXPECT_EQ(text(kWidthBox), std::to_wstring(static_cast<int>(std::floor(300 * 25.4 / Dpi(true)))));
    EXPECT_EQ(text(kHeightBox), std::to_wstring(static_cast<int>(std::floor(200 * 25.4 / Dpi(false)))));
    // Choosing a unit re-reads the target's size in it.
    ASSERT_TRUE(ClickAndWait(GetDlgItem(dlg, kFirstUnitOption + 2), [&] { return text(kWidthBox) == L"300"; }));
    EXPECT_EQ(text(kHeightBox), L"200");
    ASSERT_TRUE(ClickAndWait(GetDlgItem(dlg, kFirstUnitOption), [&] { return CheckedOption(dlg) == 0; }));

    // A bad value: a message naming the box, the dialog stays open, nothing changes.
    struct Bad {
        const wchar_t *width, *height, *named;
    };
    for (auto [width, height, named] : {Bad{L"abc", L"200", L"幅(W)"}, Bad{L"0", L"200", L"幅(W)"},
                                        Bad{L"79", L"99999", L"高さ(H)"}, Bad{L"79", L"", L"高さ(H)"},
                                        Bad{L"-5", L"52", L"幅(W)"}}) {
        type(width, height);
        HWND box = nullptr;
        ASSERT_TRUE(ClickAndWait(GetDlgItem(dlg, IDOK), [&] { return (box = messageBox()) != nullptr; }))
            << width << " x " << height;
        // The message box's text is its static control.
        EXPECT_NE(TextOf(GetDlgItem(box, 0xFFFF)).find(named), std::wstring::npos) << width << " x " << height;
        // Its own OK, clicked: a key could reach the dialog behind and press the dialog's OK.
        ASSERT_TRUE(ClickAndWait(GetDlgItem(box, IDOK), [&] { return messageBox() == nullptr; }));
        EXPECT_TRUE(IsWindowVisible(dlg));
        EXPECT_EQ(targetRect().right - targetRect().left, 300);
        EXPECT_EQ(targetRect().bottom - targetRect().top, 200);
    }
    // Cancel closes it with nothing changed.
    type(L"500", L"200");
    ASSERT_TRUE(press(IDCANCEL));
    EXPECT_EQ(targetRect().right - targetRect().left, 300);

    // 100 x 50 mm: at 96 pixels per inch 377.95 and 188.98, so 378 x 189.
    ASSERT_NO_FATAL_FAILURE(open());
    type(L"100", L"50");
    ASSERT_TRUE(press(IDOK));
    RECT t = targetRect();
    EXPECT_EQ(t.left, 100);
    EXPECT_EQ(t.top, 50);
    EXPECT_EQ(t.right - t.left, static_cast<int>(std::nearbyint(100 / 25.4 * Dpi(true))));
    EXPECT_EQ(t.bottom - t.top, static_cast<int>(std::nearbyint(50 / 25.4 * Dpi(false))));
    // The horizontal ruler is as wide as the new width at once, and on top again.
    RECT h = WindowRectOf(app.HorizontalRuler());
    EXPECT_EQ(h.right - h.left, t.right - t.left);
    EXPECT_TRUE(GetWindowLongW(app.HorizontalRuler(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // With the rulers in pixels it opens in pixels.
    ASSERT_TRUE(app.ChooseRulerMenu(app.HorizontalRuler(), {0, 3}));  // 設定 > ピクセル表示
    Pause(static_cast<int>(GetDoubleClickTime()) + 200);
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(CheckedOption(dlg), 2);
    EXPECT_EQ(text(kWidthBox), std::to_wstring(t.right - t.left));
    EXPECT_EQ(text(kHeightBox), std::to_wstring(t.bottom - t.top));
    type(L"420", L"260");
    ASSERT_TRUE(press(IDOK));
    t = targetRect();
    EXPECT_EQ(t.left, 100);
    EXPECT_EQ(t.top, 50);
    EXPECT_EQ(t.right - t.left, 420);
    EXPECT_EQ(t.bottom - t.top, 260);
}
