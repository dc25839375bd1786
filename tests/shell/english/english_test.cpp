// The program as a user sees it whose Windows speaks another language than Japanese. ctest runs
// these under an English locale: Wine takes the UI language from the process's locale variables
// (LC_ALL, LC_MESSAGES, LANG), where Windows takes it from the user's settings. The texts are
// measured with the dialogs' own fonts, which needs GDI: that is why this is not a native test.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/texts.h"
#include "platform/input_box_win.h"
#include "shell/shell_fixture.h"

namespace plumbo {
namespace {

const UiTexts& English() { return TextsOf(UiLanguage::English); }

// Allowances for what a control draws besides its caption, in pixels at 96 DPI: a push button's
// frame and focus rectangle on each side, the gap after a check or option box, a group box's
// frame and indent on each side.
constexpr int kPushButtonEdge = 4;
constexpr int kBoxGap = 4;
constexpr int kGroupIndent = 8;

// Every caption of a window's children that its control cannot show whole, with what it needs
// and what it has (pixels); empty when everything fits.
std::vector<std::wstring> CutCaptions(HWND window) {
    std::vector<std::wstring> cut;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        const std::wstring text = TextOf(c);
        const bool button = _wcsicmp(cls, L"Button") == 0;
        if (text.empty() || (!button && _wcsicmp(cls, L"Static") != 0)) continue;
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        const LONG kind = style & BS_TYPEMASK;
        RECT client{};
        GetClientRect(c, &client);
        int room = client.right;
        UINT flags = DT_CALCRECT | DT_SINGLELINE;
        if (!button) {
            // A static wraps at words: the lines must fit its height as well.
            flags = DT_CALCRECT | DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        } else if (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX || kind == BS_AUTORADIOBUTTON ||
                   kind == BS_RADIOBUTTON) {
            room -= GetSystemMetrics(SM_CXMENUCHECK) + MulDiv(kBoxGap, Dpi(LOGPIXELSX), 96);
        } else {
            room -= 2 * MulDiv(kind == BS_GROUPBOX ? kGroupIndent : kPushButtonEdge, Dpi(LOGPIXELSX), 96);
        }
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        RECT need{0, 0, room, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, flags);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        if (need.right > room || (!button && need.bottom > client.bottom))
            cut.push_back(text + L": " + std::to_wstring(need.right) + L"x" + std::to_wstring(need.bottom) + L" in " +
                          std::to_wstring(room) + L"x" + std::to_wstring(client.bottom));
    }
    return cut;
}

class EnglishShell : public ShellTest {
protected:
    void SetUp() override {
        ASSERT_NE(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_JAPANESE) << "to be run under an English locale";
    }
};

TEST_F(EnglishShell, EveryDialogShowsItsEnglishTextsWhole) {
    Start();
    ASSERT_EQ(&Texts(), &English());
    for (const wchar_t* cls : {L"PlumboSettings", L"PlumboSize"}) {
        HWND dialog = WindowOf(GetCurrentProcessId(), cls);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(CutCaptions(dialog), std::vector<std::wstring>{}) << TextOf(dialog);
    }
    // The input box the viewer asks its zoom with.
    std::vector<std::wstring> cut{L"(no box)"};
    std::thread person([&] {
        HWND box = WaitOurs(L"#32770");
        if (!box) return;
        cut = CutCaptions(box);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    const UiTexts& t = English();
    InputBox(program().mainWindow, t.zoomPrompt, t.zoomTitle, L"100", {t.inputBoxOk, t.inputBoxCancel});
    person.join();
    EXPECT_EQ(cut, std::vector<std::wstring>{});
}

// The file as a Japanese run writes it, with red rulers: read and applied, and written back
// under the same sections and keys.
TEST_F(EnglishShell, ASettingsFileOfAJapaneseRunIsReadAndWrittenTheSameWay) {
    Start(Ini("255", true, false, false));
    EXPECT_EQ(TextOf(WindowOf(GetCurrentProcessId(), L"PlumboSettings")), English().settingsCaption);
    HMENU viewerMenu = GetMenu(WindowOf(GetCurrentProcessId(), L"PlumboViewer"));
    wchar_t first[64] = {};
    GetMenuStringW(viewerMenu, 0, first, 64, MF_BYPOSITION);
    EXPECT_STREQ(first, English().fileMenu);

    e2e::Target target;
    RulersAlong(target);
    EXPECT_EQ(BodyPixel(Horizontal()), 0xFF0000u);
    Choose(CommandId::PlaceInside);
    EXPECT_EQ(IniText(), Ini("255", true, false, true));
}

}  // namespace
}  // namespace plumbo
