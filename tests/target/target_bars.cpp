// The test target's "/bars" contents: every bar and small common control, filled with long,
// short and Japanese items and with '&' mnemonics, and texts longer than any buffer a reader could
// guess or that grow while they are read. Once shown, the target writes each text a person sees
// in it and the rectangle its control gives for it (shown_texts.h). Any access violation ends it.
#include "shown_texts.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cwchar>

namespace {

constexpr const wchar_t* kShort = L"S";
constexpr const wchar_t* kLong = L"A long item that does not fit in the box at all";
constexpr const wchar_t* kJapanese = L"日本語の項目";
const std::vector<std::wstring> kItems = {kShort, kLong, kJapanese, L"&Mnemonic"};  // a combo box's
const std::vector<std::wstring> kParts = {L"準備完了", L"&File", kLong};           // the status bar's

std::vector<HWND> g_controls;  // in the order the report walks them

// Read as a status bar: the re-drawing drops a leading "RT" and its version digit from a class.
constexpr const wchar_t* kOwnStatusBarClass = L"RT6msctls_statusbar32";
// Part 0 of the status bar of our own, item 0 of the second simple combo box's list and the tool
// bar's button "Grows" grow once their length has been asked, before they are copied; part and
// item 1 are longer than any buffer a reader could guess. The third part, at the first one's
// place and shown by no one, is longer than 16 bits can tell: its length's upper bits go into
// the word of its type.
const std::wstring kThousands(3000, L'長'), kGrown = L"Grows" + std::wstring(3000, L'x');
std::wstring g_parts[3] = {L"Grows", kThousands, std::wstring(70000, L'x')};
HWND g_long[2];  // the status bar of our own, the list; the report does not walk them
WNDPROC g_procs[2];  // the tool bar's and the list's own

// As the contract allows, SB_GETTEXTW copies the part's whole text with no limit.
LRESULT CALLBACK OwnStatusBar(HWND h, UINT m, WPARAM w, LPARAM l) {
    std::wstring& text = g_parts[std::min<WPARAM>(w, 2)];
    const size_t length = text.size();
    if (m == SB_GETPARTS) return 3;
    if (m == SB_GETRECT) return SetRect(reinterpret_cast<RECT*>(l), (w & 1) * 190, 0, (w & 1) * 190 + 190, 24);
    if (m == SB_GETTEXTW) return std::wmemcpy(reinterpret_cast<wchar_t*>(l), text.c_str(), length + 1), length;
    if (m == SB_GETTEXTLENGTHW && w == 0) text = kGrown;
    return m == SB_GETTEXTLENGTHW ? length : DefWindowProcW(h, m, w, l);
}

// The tool bar's and the list's own answer, after which their growing text grows.
LRESULT CALLBACK Growing(HWND h, UINT m, WPARAM w, LPARAM l) {
    const bool list = h == g_long[1];
    const LRESULT r = CallWindowProcW(g_procs[list], h, m, w, l);
    const TBBUTTONINFOW info{sizeof info, TBIF_TEXT, 0, 0, 0, 0, 0, 0, const_cast<wchar_t*>(kGrown.c_str()), 0};
    if (!list && m == TB_GETBUTTONTEXTW && w == 105 && !l) Ask(h, TB_SETBUTTONINFOW, w, &info);
    if (list && m == LB_GETTEXTLEN && w == 0 && r < 3000) {
        Ask(h, LB_DELETESTRING, 0, nullptr);
        Ask(h, LB_INSERTSTRING, 0, kGrown.c_str());
    }
    return r;
}

// A control the report walks, on show.
HWND Control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
    return g_controls.emplace_back(Child(parent, cls, text, WS_VISIBLE | style, x, y, w, h));
}

HWND Combo(HWND w, DWORD type, int x, int select) {
    HWND c = Control(w, L"ComboBox", L"", type | WS_VSCROLL, x, 100, 150, type == CBS_SIMPLE ? 110 : 200);
    for (const std::wstring& s : kItems) Ask(c, CB_ADDSTRING, 0, s.c_str());
    SendMessageW(c, CB_SETCURSEL, select, 0);
    return c;
}

// Pooled texts are added to the tool bar's strings and the buttons given their index, as older
// programs do; the others point at their own.
HWND ToolBar(HWND parent, DWORD style, int x, int y, int w, int h, std::initializer_list<const wchar_t*> texts,
             bool pooled = false) {
    HWND t = Control(parent, TOOLBARCLASSNAMEW, L"", style | TBSTYLE_LIST | TBSTYLE_FLAT | CCS_NODIVIDER, x, y, w, h);
    SendMessageW(t, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    for (int id = 100; const wchar_t* text : texts) {
        const BYTE kind = text ? BTNS_AUTOSIZE | BTNS_SHOWTEXT : BTNS_SEP;
        const INT_PTR string = pooled && text ? Ask(t, TB_ADDSTRINGW, 0, (std::wstring(text) + L'\0').c_str()) : reinterpret_cast<INT_PTR>(text);
        TBBUTTON b{I_IMAGENONE, id++, TBSTATE_ENABLED, kind, {}, 0, string};
        Ask(t, TB_ADDBUTTONSW, 1, &b);
    }
    SendMessageW(t, TB_AUTOSIZE, 0, 0);
    return t;
}

// ---- The report ----

// The lines a multi-line edit shows, each from its first character's place: its row runs from its
// top to the edit's bottom, as the next line may not be there, and none below the bottom shows.
void ReportEditLines(HWND e) {
    RECT format{};
    Ask(e, EM_GETRECT, 0, &format);
    const LRESULT first = SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), count = SendMessageW(e, EM_GETLINECOUNT, 0, 0);
    AddItems(e, L"line", first, count, [&](LRESULT line, RECT& row) {
        // A rich edit takes an edit's form of the question too.
        const LRESULT at = SendMessageW(e, EM_POSFROMCHAR, SendMessageW(e, EM_LINEINDEX, line, 0), 0);
        row = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)), format.right, format.bottom};
        wchar_t buffer[300] = {298};  // the room, in the first unit
        std::wstring text(buffer, Ask(e, EM_GETLINE, line, buffer));
        while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
        return text;
    });
}

void Tell(HWND) {
    for (HWND c : g_controls) {
        wchar_t cls[64] = {}, text[512] = {};
        GetClassNameW(c, cls, 64);
        GetWindowTextW(c, text, 512);
        const std::wstring name = cls;
        RECT r{};
        GetWindowRect(c, &r);
        const DWORD style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
        if (name == STATUSCLASSNAMEW) {  // the parts set below; a status bar shows '&' as it is
            AddItemsAt(c, L"line", SB_GETRECT, kParts);
        } else if (name == TOOLBARCLASSNAMEW) {
            AddItems(c, L"line", 0, SendMessageW(c, TB_BUTTONCOUNT, 0, 0), [&](LRESULT i, RECT& button) {
                TBBUTTON b{};
                Ask(c, TB_GETBUTTON, i, &b);
                Ask(c, TB_GETITEMRECT, i, &button);
                Ask(c, TB_GETBUTTONTEXTW, b.idCommand, text);
                return b.fsStyle & BTNS_SEP ? L"" : WithoutMnemonics(text);
            });
        } else if (name == REBARCLASSNAMEW) {  // the bands' texts set below
            AddItemsAt(c, L"line", RB_GETRECT, {L"帯1", L"Font"});
        } else if (name == L"ComboBox" && (style & 3) == CBS_SIMPLE) {  // its edit field, then its list
            GetWindowRect(FindWindowExW(c, nullptr, L"Edit", nullptr), &r);
            AddShown(L"line", text, r);
            AddItemsAt(FindWindowExW(c, nullptr, L"ComboLBox", nullptr), L"line", LB_GETITEMRECT, kItems);
        } else if (name == WC_COMBOBOXEXW) {  // the item chosen below
            AddShown(L"line", kJapanese, r);
        } else if ((name == L"Edit" || name == RICHEDIT_CLASSW) && (style & ES_MULTILINE)) {
            ReportEditLines(c);
        } else if (name == L"Static") {
            AddShown(L"wrap", WithoutMnemonics(text), r);
        } else if (name == WC_LINK) {
            AddShown(L"wrap", L"Read the manual and 日本語のリンク & more", r);
        } else if (name == HOTKEY_CLASSW || name == DATETIMEPICK_CLASSW || name == MONTHCAL_CLASSW) {
            // The keys and the day set below, as Wine shows them: it names Ctrl "Control", and its
            // Japanese locale writes the short date so (Windows: "Ctrl", 2024/03/15).
            AddShown(L"line", name == HOTKEY_CLASSW ? L"Control + Shift + K" : name == MONTHCAL_CLASSW ? L"2024年3月" : L"2024/3/15", r);
        } else {  // other combo boxes, showing '&' as it is, and one-line edits; the rest show no text
            AddShown(L"line", text, r);
        }
    }
    // The long and growing texts, drawn from their start as they were or as they grew.
    for (auto [c, message] : {std::pair{g_long[0], SB_GETRECT}, {g_long[1], LB_GETITEMRECT}})
        AddItemsAt(c, L"cut", message, {kGrown, kThousands});
}

LONG CALLBACK EndOnAccessViolation(EXCEPTION_POINTERS* e) {
    if (e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

// Positions are client pixels of a window of at least 740 x 580 client pixels.
void FillWithBars(HWND w) {
    // A fault in a window procedure may end a program on Windows; Wine's dispatcher of window
    // procedures carries on, and lstrcpyW catches its own. Here any access violation ends the
    // program, so a reader that lets a control write past the memory it gave is seen outside.
    AddVectoredExceptionHandler(1, EndOnAccessViolation);
    LoadLibraryW(L"riched20.dll");

    HWND rebar = Control(w, REBARCLASSNAMEW, L"", WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT | CCS_NODIVIDER, 0, 0, 0, 0);
    // Two bands: a tool bar, then a combo box.
    const UINT fields = RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE;
    REBARBANDINFOW band{.cbSize = sizeof band, .fMask = fields, .fStyle = RBBS_CHILDEDGE | RBBS_BREAK,
        .lpText = const_cast<wchar_t*>(L"帯&1"), .cxMinChild = 200, .cyMinChild = 26, .cx = 360};
    band.hwndChild = ToolBar(w, CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 300, 26, {L"&Cut", L"Copy"}, true);
    Ask(rebar, RB_INSERTBANDW, -1, &band);
    band = {.cbSize = sizeof band, .fMask = fields, .fStyle = RBBS_CHILDEDGE, .lpText = const_cast<wchar_t*>(L"Font"),
        .cxMinChild = 150, .cyMinChild = 24, .cx = 360};
    band.hwndChild = Combo(w, CBS_DROPDOWNLIST, 0, 2);
    Ask(rebar, RB_INSERTBANDW, -1, &band);

    HWND tools = ToolBar(w, CCS_NORESIZE | CCS_NOPARENTALIGN, 8, 64, 600, 28, {L"&Open", kLong, nullptr, kJapanese, kShort, L"Grows"});

    Combo(w, CBS_SIMPLE, 8, 2);
    Combo(w, CBS_DROPDOWN, 170, 1);
    Combo(w, CBS_DROPDOWNLIST, 330, 3);
    HWND ex = Control(w, WC_COMBOBOXEXW, L"", CBS_DROPDOWNLIST, 490, 100, 160, 200);
    for (const wchar_t* s : {L"Ex short", kJapanese}) {
        const COMBOBOXEXITEMW item{CBEIF_TEXT, -1, const_cast<wchar_t*>(s), 0, 0, 0, 0, 0, 0};
        Ask(ex, CBEM_INSERTITEMW, 0, &item);
    }
    SendMessageW(ex, CB_SETCURSEL, 1, 0);

    const wchar_t* lines = L"First line\r\nA second line long enough to be wrapped by the edit control itself\r\n"
                           L"日本語の行\r\nFourth & last but one\r\nFifth\r\nSixth\r\nSeventh\r\nEighth\r\nNinth";
    SendMessageW(Control(w, L"Edit", lines, WS_BORDER | WS_VSCROLL | ES_MULTILINE, 8, 220, 250, 90), EM_LINESCROLL, 0, 1);
    Control(w, RICHEDIT_CLASSW, lines, WS_BORDER | WS_VSCROLL | ES_MULTILINE, 270, 220, 250, 90);

    Control(w, L"Static", L"This static text is long enough to be broken at words within its rectangle; 日本語の文も折り返す。",
          0, 530, 220, 200, 70);
    Control(w, L"Static", L"Label with &mnemonic", 0, 530, 296, 200, 20);

    HWND track = Control(w, TRACKBAR_CLASSW, L"", TBS_AUTOTICKS, 8, 320, 200, 32);
    SendMessageW(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageW(track, TBM_SETPOS, TRUE, 3);
    SendMessageW(Control(w, PROGRESS_CLASSW, L"", 0, 220, 326, 150, 20), PBM_SETPOS, 40, 0);
    HWND buddy = Control(w, L"Edit", L"5", WS_BORDER, 380, 326, 50, 22);
    SendMessageW(Control(w, UPDOWN_CLASSW, L"", UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 0, 0), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageW(Control(w, HOTKEY_CLASSW, L"", 0, 450, 326, 120, 22), HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);

    SYSTEMTIME day{2024, 3, 5, 15, 12, 0, 0, 0};  // Friday 15 March 2024, noon
    Ask(Control(w, DATETIMEPICK_CLASSW, L"", 0, 8, 364, 150, 24), DTM_SETSYSTEMTIME, GDT_VALID, &day);
    HWND month = Control(w, MONTHCAL_CLASSW, L"", 0, 170, 364, 0, 0);
    RECT need{};
    Ask(month, MCM_GETMINREQRECT, 0, &need);
    SetWindowPos(month, nullptr, 0, 0, need.right, need.bottom, SWP_NOMOVE | SWP_NOZORDER);
    Ask(month, MCM_SETCURSEL, 0, &day);
    Control(w, WC_LINK, L"Read the <a href=\"https://example.invalid/\">manual</a> and 日本語のリンク & more", 0, 450, 364,
          250, 40);

    Register(kOwnStatusBarClass, OwnStatusBar, nullptr);
    g_long[0] = Child(w, kOwnStatusBarClass, L"", WS_VISIBLE, 360, 420, 380, 24);
    HWND longCombo = Child(w, L"ComboBox", L"", WS_VISIBLE | CBS_SIMPLE, 360, 450, 150, 110);
    for (const std::wstring& text : {std::wstring(L"Grows"), kThousands}) Ask(longCombo, CB_ADDSTRING, 0, text.c_str());
    g_long[1] = FindWindowExW(longCombo, nullptr, L"ComboLBox", nullptr);
    // Owner-drawn without strings: its item is the program's data ("ABCD" read as UTF-16), no text.
    HWND data = Child(w, L"ComboBox", L"", WS_VISIBLE | CBS_SIMPLE | CBS_OWNERDRAWFIXED, 520, 450, 150, 110);
    Ask(data, CB_ADDSTRING, 0, reinterpret_cast<const void*>(static_cast<uintptr_t>(0x0044004300420041ull)));
    g_procs[0] = SubclassWindow(tools, Growing);
    g_procs[1] = SubclassWindow(g_long[1], Growing);

    HWND status = Control(w, STATUSCLASSNAMEW, L"", 0, 0, 0, 0, 0);
    const int edges[] = {120, 220, -1};
    Ask(status, SB_SETPARTS, 3, edges);
    for (int i = 0; i < 3; ++i) Ask(status, SB_SETTEXTW, i, kParts[i].c_str());
    ReportWhenShown(w, Tell);
}

