// The test target's "/bars" contents: every bar and small common control, filled with long,
// short and Japanese items and with '&' mnemonics. Once shown, the target writes each text a
// person sees in it and the rectangle its control gives for it (shown_texts.h).
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <tuple>
#include <vector>

#include "shown_texts.h"

namespace {

constexpr UINT_PTR kReportTimer = 0xBA25;
constexpr const wchar_t* kShort = L"S";
constexpr const wchar_t* kLong = L"A long item that does not fit in the box at all";
constexpr const wchar_t* kJapanese = L"日本語の項目";
constexpr const wchar_t* kMnemonic = L"&Mnemonic";

std::vector<HWND> g_controls;  // in the order the report walks them

// A control the report walks, on show.
HWND Control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
    return g_controls.emplace_back(Child(parent, cls, text, WS_VISIBLE | style, x, y, w, h));
}

HWND Combo(HWND w, DWORD type, int x, int select) {
    HWND c = Control(w, L"ComboBox", L"", type | WS_VSCROLL, x, 100, 150, type == CBS_SIMPLE ? 110 : 200);
    for (const wchar_t* s : {kShort, kLong, kJapanese, kMnemonic}) Ask(c, CB_ADDSTRING, 0, s);
    SendMessageW(c, CB_SETCURSEL, select, 0);
    return c;
}

HWND ToolBar(HWND parent, DWORD style, int x, int y, int w, int h, std::initializer_list<const wchar_t*> texts) {
    HWND t = Control(parent, TOOLBARCLASSNAMEW, L"", style | TBSTYLE_LIST | TBSTYLE_FLAT | CCS_NODIVIDER, x, y, w, h);
    SendMessageW(t, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    int id = 100;
    for (const wchar_t* text : texts) {
        const BYTE kind = text ? BTNS_AUTOSIZE | BTNS_SHOWTEXT : BTNS_SEP;
        TBBUTTON b{I_IMAGENONE, id++, TBSTATE_ENABLED, kind, {}, 0, reinterpret_cast<INT_PTR>(text)};
        Ask(t, TB_ADDBUTTONSW, 1, &b);
    }
    SendMessageW(t, TB_AUTOSIZE, 0, 0);
    return t;
}

// ---- The report ----

std::wstring TextOf(HWND c, UINT message, WPARAM w) {
    wchar_t text[300] = {};
    Ask(c, message, w, text);
    return text;
}

// The lines a multi-line edit shows, each from its first character's place: its row runs from its
// top to the edit's bottom, as the next line may not be there, and none below the bottom shows.
void ReportEditLines(HWND e, bool rich) {
    RECT format{};
    Ask(e, EM_GETRECT, 0, &format);
    const LRESULT first = SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), count = SendMessageW(e, EM_GETLINECOUNT, 0, 0);
    AddItems(e, L"line", first, count, [&](LRESULT line, RECT& row) {
        const LRESULT index = SendMessageW(e, EM_LINEINDEX, line, 0);
        POINTL at{};
        const LRESULT p = rich ? SendMessageW(e, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), index)
                               : SendMessageW(e, EM_POSFROMCHAR, index, 0);
        if (!rich) at = {static_cast<short>(LOWORD(p)), static_cast<short>(HIWORD(p))};
        row = {at.x, at.y, format.right, format.bottom};
        wchar_t buffer[300] = {};
        buffer[0] = 298;
        std::wstring text(buffer, Ask(e, EM_GETLINE, line, buffer));
        while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
        return text;
    });
}

void CALLBACK WriteReport(HWND w, UINT, UINT_PTR id, DWORD) {
    KillTimer(w, id);
    for (HWND c : g_controls) {
        wchar_t cls[64] = {}, text[512] = {};
        GetClassNameW(c, cls, 64);
        GetWindowTextW(c, text, 512);
        const std::wstring name = cls;
        RECT r{};
        GetWindowRect(c, &r);
        const DWORD style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
        if (name == STATUSCLASSNAMEW) {  // a status bar shows '&' as it is
            AddItems(c, L"line", 0, SendMessageW(c, SB_GETPARTS, 0, 0), [&](LRESULT i, RECT& part) {
                Ask(c, SB_GETRECT, i, &part);
                return TextOf(c, SB_GETTEXTW, i);
            });
        } else if (name == TOOLBARCLASSNAMEW) {
            AddItems(c, L"line", 0, SendMessageW(c, TB_BUTTONCOUNT, 0, 0), [&](LRESULT i, RECT& button) {
                TBBUTTON b{};
                Ask(c, TB_GETBUTTON, i, &b), Ask(c, TB_GETITEMRECT, i, &button);
                return b.fsStyle & BTNS_SEP ? L"" : WithoutMnemonics(TextOf(c, TB_GETBUTTONTEXTW, b.idCommand));
            });
        } else if (name == REBARCLASSNAMEW) {
            AddItems(c, L"line", 0, SendMessageW(c, RB_GETBANDCOUNT, 0, 0), [&](LRESULT i, RECT& band) {
                wchar_t bandText[300] = {};
                REBARBANDINFOW info{};
                std::tie(info.cbSize, info.fMask, info.lpText, info.cch) = std::tuple(sizeof info, RBBIM_TEXT, bandText, 300);
                Ask(c, RB_GETBANDINFOW, i, &info), Ask(c, RB_GETRECT, i, &band);
                return WithoutMnemonics(bandText);
            });
        } else if (name == L"ComboBox" && (style & 3) == CBS_SIMPLE) {  // its edit field, then its list
            HWND list = FindWindowExW(c, nullptr, L"ComboLBox", nullptr);
            GetWindowRect(FindWindowExW(c, nullptr, L"Edit", nullptr), &r);
            AddShown(L"line", text, r);
            AddItems(list, L"line", SendMessageW(list, LB_GETTOPINDEX, 0, 0), SendMessageW(list, LB_GETCOUNT, 0, 0),
                     [&](LRESULT i, RECT& item) { return Ask(list, LB_GETITEMRECT, i, &item), TextOf(list, LB_GETTEXT, i); });
        } else if (name == WC_COMBOBOXEXW) {
            COMBOBOXEXITEMW item{};
            std::tie(item.mask, item.iItem, item.pszText, item.cchTextMax) =
                std::tuple(CBEIF_TEXT, SendMessageW(c, CB_GETCURSEL, 0, 0), text, 512);
            Ask(c, CBEM_GETITEMW, 0, &item);
            AddShown(L"line", text, r);
        } else if ((name == L"Edit" || name == RICHEDIT_CLASSW) && (style & ES_MULTILINE)) {
            ReportEditLines(c, name != L"Edit");
        } else if (name == HOTKEY_CLASSW) {
            // The control spells the keys with the keyboard's own names.
            const LRESULT key = SendMessageW(c, HKM_GETHOTKEY, 0, 0);
            std::wstring keys;
            for (auto [flag, vk] : {std::pair{HOTKEYF_CONTROL, VK_CONTROL}, {HOTKEYF_SHIFT, VK_SHIFT}, {LOBYTE(0), LOBYTE(key)}}) {
                wchar_t keyName[64] = {};
                if (flag && !(HIBYTE(LOWORD(key)) & flag)) continue;
                GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16, keyName, 64);
                keys += (keys.empty() ? L"" : L" + ") + std::wstring(keyName);
            }
            AddShown(L"line", keys, r);
        } else if (name == L"Static") {
            AddShown(L"wrap", WithoutMnemonics(text), r);
        } else if (name == WC_LINK) {
            AddShown(L"wrap", L"Read the manual and 日本語のリンク & more", r);
        } else if (name == DATETIMEPICK_CLASSW || name == MONTHCAL_CLASSW) {
            SYSTEMTIME t{};
            Ask(c, name == MONTHCAL_CLASSW ? MCM_GETCURSEL : DTM_GETSYSTEMTIME, 0, &t);
            wchar_t date[64] = {};
            GetDateFormatW(LOCALE_USER_DEFAULT, name == MONTHCAL_CLASSW ? DATE_YEARMONTH : DATE_SHORTDATE, &t, nullptr, date, 64);
            AddShown(L"line", date, r);
        } else {  // other combo boxes, showing '&' as it is, and one-line edits; the rest show no text
            AddShown(L"line", text, r);
        }
    }
    WriteShown();
}

}  // namespace

// Positions are client pixels of a window of at least 740 x 580 client pixels.
void FillWithBars(HWND w) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_USEREX_CLASSES | ICC_DATE_CLASSES |
                                             ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS | ICC_PROGRESS_CLASS | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    LoadLibraryW(L"riched20.dll");

    HWND rebar = Control(w, REBARCLASSNAMEW, L"", WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT | CCS_NODIVIDER, 0, 0, 0, 0);
    // Two bands: a tool bar, then a combo box.
    REBARBANDINFOW band{};
    std::tie(band.cbSize, band.fMask, band.fStyle, band.lpText, band.cyMinChild, band.cxMinChild, band.cx) =
        std::tuple(sizeof band, RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE,
                   RBBS_CHILDEDGE | RBBS_BREAK, const_cast<wchar_t*>(L"帯&1"), 26, 200, 360);
    band.hwndChild = ToolBar(w, CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 300, 26, {L"&Cut", L"Copy"});
    Ask(rebar, RB_INSERTBANDW, -1, &band);
    std::tie(band.fStyle, band.lpText, band.cyMinChild, band.cxMinChild) =
        std::tuple(RBBS_CHILDEDGE, const_cast<wchar_t*>(L"Font"), 24, 150);
    band.hwndChild = Combo(w, CBS_DROPDOWNLIST, 0, 2);
    Ask(rebar, RB_INSERTBANDW, -1, &band);

    ToolBar(w, CCS_NORESIZE | CCS_NOPARENTALIGN, 8, 64, 600, 28, {L"&Open", kLong, nullptr, kJapanese, kShort});

    Combo(w, CBS_SIMPLE, 8, 2);
    Combo(w, CBS_DROPDOWN, 170, 1);
    Combo(w, CBS_DROPDOWNLIST, 330, 3);
    HWND ex = Control(w, WC_COMBOBOXEXW, L"", CBS_DROPDOWNLIST, 490, 100, 160, 200);
    for (const wchar_t* s : {L"Ex short", kJapanese}) {
        COMBOBOXEXITEMW item{};
        std::tie(item.mask, item.iItem, item.pszText) = std::tuple(CBEIF_TEXT, -1, const_cast<wchar_t*>(s));
        Ask(ex, CBEM_INSERTITEMW, 0, &item);
    }
    SendMessageW(ex, CB_SETCURSEL, 1, 0);

    const wchar_t* lines = L"First line\r\nA second line long enough to be wrapped by the edit control itself\r\n"
                           L"日本語の行\r\nFourth & last but one\r\nFifth\r\nSixth\r\nSeventh\r\nEighth\r\nNinth";
    HWND edit = Control(w, L"Edit", lines, WS_BORDER | WS_VSCROLL | ES_MULTILINE, 8, 220, 250, 90);
    SendMessageW(edit, EM_LINESCROLL, 0, 1);
    HWND rich = Control(w, RICHEDIT_CLASSW, L"", WS_BORDER | WS_VSCROLL | ES_MULTILINE, 270, 220, 250, 90);
    SetWindowTextW(rich, lines);

    Control(w, L"Static", L"This static text is long enough to be broken at words within its rectangle; 日本語の文も折り返す。",
          0, 530, 220, 200, 70);
    Control(w, L"Static", L"Label with &mnemonic", 0, 530, 296, 200, 20);

    HWND track = Control(w, TRACKBAR_CLASSW, L"", TBS_AUTOTICKS, 8, 320, 200, 32);
    SendMessageW(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageW(track, TBM_SETPOS, TRUE, 3);
    SendMessageW(Control(w, PROGRESS_CLASSW, L"", 0, 220, 326, 150, 20), PBM_SETPOS, 40, 0);
    HWND buddy = Control(w, L"Edit", L"5", WS_BORDER, 380, 326, 50, 22);
    HWND upDown = Control(w, UPDOWN_CLASSW, L"", UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 0, 0);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    HWND hotKey = Control(w, HOTKEY_CLASSW, L"", 0, 450, 326, 120, 22);
    SendMessageW(hotKey, HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);

    SYSTEMTIME day{2024, 3, 5, 15, 12, 0, 0, 0};
    Ask(Control(w, DATETIMEPICK_CLASSW, L"", 0, 8, 364, 150, 24), DTM_SETSYSTEMTIME, GDT_VALID, &day);
    HWND month = Control(w, MONTHCAL_CLASSW, L"", 0, 170, 364, 0, 0);
    RECT need{};
    Ask(month, MCM_GETMINREQRECT, 0, &need);
    SetWindowPos(month, nullptr, 0, 0, need.right, need.bottom, SWP_NOMOVE | SWP_NOZORDER);
    Ask(month, MCM_SETCURSEL, 0, &day);
    Control(w, WC_LINK, L"Read the <a href=\"https://example.invalid/\">manual</a> and 日本語のリンク & more", 0, 450, 364,
          250, 40);

    HWND status = Control(w, STATUSCLASSNAMEW, L"", 0, 0, 0, 0, 0);
    const int edges[] = {120, 220, -1};
    Ask(status, SB_SETPARTS, 3, edges);
    for (int i = 0; i < 3; ++i) Ask(status, SB_SETTEXTW, i, i == 0 ? L"準備完了" : i == 1 ? L"&File" : kLong);

    // Written once the message loop runs: the window is shown and laid out by then.
    ForgetEarlierShown();
    SetTimer(w, kReportTimer, 0, WriteReport);
}
