// The test target's "/toolkit" contents: controls registered the way toolkits do it (the base
// class's GetClassInfoExW, a name of their own, the base window procedure), one of each naming
// habit, a group box and a panel the window paints itself, a tool bar holding an edit and two
// labels and a status bar holding a progress bar; the check list tells its rows to assistive
// technology. "/ownframe" makes a window whose client area covers its caption (WM_NCCALCSIZE) with
// tabs where the caption would be. Once shown, the target writes each text a person sees and where
// (shown_texts.h).
#include "shown_texts.h"

#include <commctrl.h>

#include <map>
#include <tuple>

namespace {

constexpr const wchar_t* kRows[] = {L"Apples", L"Pears", L"Plums"};
constexpr const wchar_t* kItems[] = {L"Cherries", L"Dates"};
const std::wstring kForms = L"WindowsForms10.BUTTON.app.0.2bf8098_r6_ad1";
WNDPROC g_windowProc;
bool g_ownFrame = false;
// The controls made, by their own names.
std::map<std::wstring, HWND> g_made;

// A group box and a panel as their toolkit paints them: the caption on the top line, or centred.
LRESULT CALLBACK Painted(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != WM_PAINT) return DefWindowProcW(h, m, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    wchar_t text[64] = {};
    RECT r;
    GetClientRect(h, &r);
    GetWindowTextW(h, text, 64);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    if (h == g_made[L"TGroupBox"]) {
        Rectangle(dc, 0, 8, r.right, r.bottom);
        TextOutW(dc, 16, 0, text, lstrlenW(text));
    } else {
        DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(h, &ps);
    return 0;
}

// The check list's rows: a box as tall as the row at its left end, the text after it. And the
// frame that leaves the whole window to the client area.
LRESULT CALLBACK OwnPainting(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCCALCSIZE && w && g_ownFrame) return 0;
    if (m != WM_DRAWITEM) return CallWindowProcW(g_windowProc, h, m, w, l);
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
    RECT r = item->rcItem;
    const int d = r.bottom - r.top;
    if (item->itemID >= 3) return TRUE;
    Rectangle(item->hDC, r.left + 1, r.top + 1, r.left + d - 1, r.bottom - 1);
    r.left += d + 2;
    DrawTextW(item->hDC, kRows[item->itemID], -1, &r, DT_VCENTER | DT_SINGLELINE);
    return TRUE;
}

// Each window in the order of a walk down the tree: the tool bar's own after it.
BOOL CALLBACK TellOne(HWND c, LPARAM window) {
    wchar_t text[128] = {};
    RECT r;
    GetWindowTextW(c, text, 128);
    GetWindowRect(c, &r);
    if (c == g_made[L"TAppCheckListBox"]) {
        AddItems(c, L"line", 0, 3, [&](LRESULT i, RECT& row) {
            Ask(c, LB_GETITEMRECT, i, &row);
            row.left += row.bottom - row.top;
            return kRows[i];
        });
    } else if (c == g_made[L"TStatusBar"]) {
        AddItemsAt(c, L"line", SB_GETRECT, {L"Page 3", L"Ready"});
    } else if (c == g_made[L"TListView"]) {
        AddItems(c, L"item", 0, 2, [&](LRESULT i, RECT& item) {
            ListView_GetItemRect(c, i, &item, LVIR_LABEL);
            return kItems[i];
        });
    } else if (c == g_made[WC_TABCONTROLW]) {
        AddItemsAt(c, L"item", TCM_GETITEMRECT, {L"First tab", L"Second tab"});
    } else if (c == g_made[L"TGroupBox"]) {  // the caption on the top line: its place, not a box it is cut to
        AddShown(L"at", text, {r.left, r.top - 8, r.left + 32, r.top + 8});
    } else if (GetParent(c) != reinterpret_cast<HWND>(window)) {  // the tool bar's own windows
        AddShown(L"line", text, r);
    } else if (std::wstring(text) != L"Fake") {  // the button-like window paints nothing; a link no markup
        const std::wstring shown = std::wstring(text).starts_with(L"See <a") ? L"See the help page"
                                   : c == g_made[L"TMemo"]                  ? L"Memo line one Memo line two"
                                                                            : text;
        AddShown(L"wrap", shown, r);
    }
    return TRUE;
}

void Tell(HWND w) { EnumChildWindows(w, TellOne, reinterpret_cast<LPARAM>(w)); }

const DWORD kOwnerDrawn = WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
const DWORD kToolBar = CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_FLAT;
const wchar_t* const kLink = L"See <a href=\"https://example.invalid/\">the help</a> page";
// Each control: the class it is made from (none for the toolkit's group box, panel and a name
// that only looks like a button's, painted here), its own name, style, text and place, in client
// pixels of a window of at least 740 x 360 client pixels. The status bar places itself.
const std::tuple<const wchar_t*, const wchar_t*, DWORD, const wchar_t*, int, int, int, int> kToolkitControls[] = {
    {L"Button", L"TFlatButton", 0, L"Flat push", 8, 8, 100, 26},
    {L"Static", L"TAppStaticText", 0, L"Static label", 116, 12, 100, 20},
    {L"Button", kForms.c_str(), BS_AUTOCHECKBOX, L"Forms check", 224, 8, 120, 24},
    {L"Edit", L"WindowsForms10.EDIT.app.0.2bf8098_r6_ad1", WS_BORDER, L"Forms edit", 352, 8, 120, 24},
    {L"Button", L"ThunderRT6OptionButton", BS_AUTORADIOBUTTON, L"Option", 480, 8, 100, 24},
    {nullptr, L"TFakeButton", WS_BORDER, L"Fake", 588, 8, 100, 24},
    {L"Edit", L"ATL:0040C0A8", WS_BORDER, L"Nameless edit", 8, 44, 140, 24},
    {L"ListBox", L"TAppCheckListBox", kOwnerDrawn, L"", 156, 44, 140, 70},
    {WC_LISTVIEWW, L"TListView", WS_BORDER | LVS_LIST, L"", 304, 44, 200, 70},
    // Only Windows' name for its base class tells this one: its items are not among those shown.
    {L"ListBox", L"ATL:0040D010", WS_BORDER, L"", 632, 124, 100, 50},
    {nullptr, L"TGroupBox", 0, L"Group caption", 512, 44, 200, 70},
    {nullptr, L"TPanel", WS_BORDER, L"Panel caption", 8, 124, 200, 40},
    {WC_LINK, L"TLinkLabel", 0, kLink, 216, 124, 200, 20},
    {L"Edit", L"TMemo", WS_BORDER | ES_MULTILINE, L"Memo line one\r\nMemo line two", 424, 124, 200, 50},
    {TOOLBARCLASSNAMEW, L"TToolBar", kToolBar, L"", 8, 184, 400, 28},
    {STATUSCLASSNAMEW, L"TStatusBar", 0, L"", 0, 0, 0, 0},
};

}  // namespace

void FillWithToolkitControls(HWND w) {
    g_windowProc = SubclassWindow(w, OwnPainting);
    for (auto [base, name, style, text, x, y, width, height] : kToolkitControls) {
        // A superclass of the base class, as a toolkit registers it.
        WNDCLASSEXW wc{sizeof wc, 0, std::wstring(name) == L"TFakeButton" ? DefWindowProcW : Painted};
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        if (base) GetClassInfoExW(nullptr, base, &wc);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        RegisterClassExW(&wc);
        g_made[name] = Child(w, name, text, WS_VISIBLE | style, x, y, width, height);
    }
    SendMessageW(g_made[kForms], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(g_made[L"ThunderRT6OptionButton"], BM_SETCHECK, BST_CHECKED, 0);
    for (const wchar_t* row : kRows) Ask(g_made[L"TAppCheckListBox"], LB_ADDSTRING, 0, row);
    for (const wchar_t* s : {L"Lime", L"Kiwi", L"Kiwi"}) Ask(g_made[L"ATL:0040D010"], LB_ADDSTRING, 0, s);
    for (int i = 0; i < 2; ++i) {
        LVITEMW item{LVIF_TEXT, i, 0, 0, 0, const_cast<wchar_t*>(kItems[i])};
        Ask(g_made[L"TListView"], LVM_INSERTITEMW, 0, &item);
    }
    TellRows(g_made[L"TAppCheckListBox"], kRows, 3);
    Child(g_made[L"TToolBar"], L"Static", L"Page", WS_VISIBLE, 8, 6, 40, 18);
    Child(g_made[L"TToolBar"], L"Edit", L"3", WS_VISIBLE | WS_BORDER, 52, 3, 40, 22);
    Child(g_made[L"TToolBar"], L"Static", L"of 12", WS_VISIBLE, 98, 6, 50, 18);
    // The status bar's third part holds a progress bar, half full.
    const int edges[] = {120, 240, -1};
    RECT part;
    HWND status = g_made[L"TStatusBar"];
    Ask(status, SB_SETPARTS, 3, edges);
    for (int i = 0; const wchar_t* text : {L"Page 3", L"Ready"}) Ask(status, SB_SETTEXTW, i++, text);
    Ask(status, SB_GETRECT, 2, &part);
    const int height = part.bottom - part.top - 4;
    HWND progress = Child(status, PROGRESS_CLASSW, L"", WS_VISIBLE, part.left + 2, part.top + 2, 100, height);
    SendMessageW(progress, PBM_SETPOS, 50, 0);
    ReportWhenShown(w, Tell);
}

// No caption of the system's: tabs along the top where it would be, drawn by a tab control.
void FillWithOwnFrame(HWND w) {
    g_ownFrame = true;
    g_windowProc = SubclassWindow(w, OwnPainting);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    GetClientRect(w, &r);
    g_made[WC_TABCONTROLW] = Child(w, WC_TABCONTROLW, L"", WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, r.right - 100, 30);
    for (TCITEMW tab{TCIF_TEXT}; const wchar_t* text : {L"Second tab", L"First tab"}) {
        tab.pszText = const_cast<wchar_t*>(text);
        Ask(g_made[WC_TABCONTROLW], TCM_INSERTITEMW, 0, &tab);
    }
    ReportWhenShown(w, Tell);
}
