// The test target's "/toolkit" contents: controls registered the way toolkits do it (the base
// class's GetClassInfoExW, a name of their own, the base window procedure), one of each naming
// habit, a group box and a panel the window paints itself, a tool bar holding an edit and two
// labels and a status bar holding a progress bar. "/ownframe" makes a window whose client area
// covers its caption (WM_NCCALCSIZE) with tabs where the caption would be. Once shown, the target
// writes each text a person sees and where (shown_texts.h).
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "shown_texts.h"

namespace {

constexpr const wchar_t* kRows[] = {L"Apples", L"Pears", L"Plums"};
constexpr const wchar_t* kItems[] = {L"Cherries", L"Dates"};
const std::wstring kForms = L"WindowsForms10.BUTTON.app.0.2bf8098_r6_ad1";
const std::wstring kFormsEdit = L"WindowsForms10.EDIT.app.0.2bf8098_r6_ad1";
WNDPROC g_windowProc;
bool g_ownFrame = false;
HWND g_checkList, g_status, g_view, g_group, g_tabs, g_memo;

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
    if (h == g_group) {
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

void CALLBACK WriteReport(HWND w, UINT, UINT_PTR id, DWORD) {
    KillTimer(w, id);
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t text[128] = {};
        RECT r;
        GetWindowTextW(c, text, 128);
        GetWindowRect(c, &r);
        if (c == g_checkList) {
            AddItems(c, L"line", 0, 3, [&](LRESULT i, RECT& row) {
                Ask(c, LB_GETITEMRECT, i, &row);
                row.left += row.bottom - row.top;
                return kRows[i];
            });
        } else if (c == g_status) {
            AddItems(c, L"line", 0, 2, [&](LRESULT i, RECT& part) {
                Ask(c, SB_GETRECT, i, &part);
                return i ? L"Ready" : L"Page 3";
            });
        } else if (c == g_view) {
            AddItems(c, L"item", 0, 2, [&](LRESULT i, RECT& item) {
                ListView_GetItemRect(c, i, &item, LVIR_LABEL);
                return kItems[i];
            });
        } else if (c == g_tabs) {
            AddItems(c, L"item", 0, 2, [&](LRESULT i, RECT& tab) {
                TabCtrl_GetItemRect(c, i, &tab);
                return i ? L"Second tab" : L"First tab";
            });
        } else if (c == g_group) {  // the caption on the top line: its place, not a box it is cut to
            AddShown(L"at", text, {r.left, r.top - 8, r.left + 32, r.top + 8});
        } else if (GetWindow(c, GW_CHILD)) {  // the tool bar's own windows
            for (HWND inner = GetWindow(c, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT)) {
                GetWindowTextW(inner, text, 128);
                GetWindowRect(inner, &r);
                AddShown(L"line", text, r);
            }
        } else if (std::wstring(text) != L"Fake") {  // the button-like window paints nothing; a link no markup
            const std::wstring shown = std::wstring(text).starts_with(L"See <a") ? L"See the help page"
                                       : c == g_memo                            ? L"Memo line one Memo line two"
                                                                                : text;
            AddShown(L"wrap", shown, r);
        }
    }
    WriteShown();
}

}  // namespace

// Positions are client pixels of a window of at least 740 x 360 client pixels.
void FillWithToolkitControls(HWND w) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    // Each a superclass of the base class, as a toolkit registers it, but for the toolkit's group
    // box and panel, painted here, and a name that only looks like a button's.
    const std::pair<const wchar_t*, const wchar_t*> classes[] = {
        {L"Button", L"TFlatButton"},     {L"Static", L"TAppStaticText"}, {L"ListBox", L"TAppCheckListBox"},
        {L"Button", kForms.c_str()},     {L"Edit", kFormsEdit.c_str()},  {L"Button", L"ThunderRT6OptionButton"},
        {STATUSCLASSNAMEW, L"TStatusBar"}, {WC_LISTVIEWW, L"TListView"}, {TOOLBARCLASSNAMEW, L"TToolBar"},
        {L"Edit", L"ATL:0040C0A8"},      {L"ListBox", L"ATL:0040D010"},  {WC_LINK, L"TLinkLabel"},
        {L"Edit", L"TMemo"},             {nullptr, L"TGroupBox"},        {nullptr, L"TPanel"},
        {nullptr, L"TFakeButton"}};
    for (auto [base, name] : classes) {
        WNDCLASSEXW wc{sizeof wc, 0, std::wstring(name) == L"TFakeButton" ? DefWindowProcW : Painted};
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        if (base) GetClassInfoExW(nullptr, base, &wc);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        RegisterClassExW(&wc);
    }
    Child(w, L"TFlatButton", L"Flat push", WS_VISIBLE, 8, 8, 100, 26);
    Child(w, L"TAppStaticText", L"Static label", WS_VISIBLE, 116, 12, 100, 20);
    HWND check = Child(w, kForms.c_str(), L"Forms check", WS_VISIBLE | BS_AUTOCHECKBOX, 224, 8, 120, 24);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    Child(w, kFormsEdit.c_str(), L"Forms edit", WS_VISIBLE | WS_BORDER, 352, 8, 120, 24);
    HWND option = Child(w, L"ThunderRT6OptionButton", L"Option", WS_VISIBLE | BS_AUTORADIOBUTTON, 480, 8, 100, 24);
    SendMessageW(option, BM_SETCHECK, BST_CHECKED, 0);
    Child(w, L"TFakeButton", L"Fake", WS_VISIBLE | WS_BORDER, 588, 8, 100, 24);
    Child(w, L"ATL:0040C0A8", L"Nameless edit", WS_VISIBLE | WS_BORDER, 8, 44, 140, 24);
    g_windowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnPainting)));
    const DWORD ownerDrawn = WS_VISIBLE | WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    g_checkList = Child(w, L"TAppCheckListBox", L"", ownerDrawn, 156, 44, 140, 70);
    g_view = Child(w, L"TListView", L"", WS_VISIBLE | WS_BORDER | LVS_LIST, 304, 44, 200, 70);
    // Only Windows' name for its base class tells this one: its items are not among those shown.
    HWND atlList = Child(w, L"ATL:0040D010", L"", WS_VISIBLE | WS_BORDER, 632, 124, 100, 50);
    for (LVITEMW item{LVIF_TEXT}; item.iItem < 3; ++item.iItem) {
        Ask(g_checkList, LB_ADDSTRING, 0, kRows[item.iItem]);
        Ask(atlList, LB_ADDSTRING, 0, item.iItem ? L"Kiwi" : L"Lime");
        if (item.iItem < 2) {
            item.pszText = const_cast<wchar_t*>(kItems[item.iItem]);
            Ask(g_view, LVM_INSERTITEMW, 0, &item);
        }
    }
    g_group = Child(w, L"TGroupBox", L"Group caption", WS_VISIBLE, 512, 44, 200, 70);
    Child(w, L"TPanel", L"Panel caption", WS_VISIBLE | WS_BORDER, 8, 124, 200, 40);
    Child(w, L"TLinkLabel", L"See <a href=\"https://example.invalid/\">the help</a> page", WS_VISIBLE, 216, 124, 200, 20);
    g_memo = Child(w, L"TMemo", L"Memo line one\r\nMemo line two", WS_VISIBLE | WS_BORDER | ES_MULTILINE, 424, 124, 200, 50);
    const DWORD toolBar = WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_FLAT;
    HWND tools = Child(w, L"TToolBar", L"", toolBar, 8, 184, 400, 28);
    Child(tools, L"Static", L"Page", WS_VISIBLE, 8, 6, 40, 18);
    Child(tools, L"Edit", L"3", WS_VISIBLE | WS_BORDER, 52, 3, 40, 22);
    Child(tools, L"Static", L"of 12", WS_VISIBLE, 98, 6, 50, 18);
    // The status bar's third part holds a progress bar, half full.
    g_status = Child(w, L"TStatusBar", L"", WS_VISIBLE, 0, 0, 0, 0);
    const int edges[] = {120, 240, -1};
    RECT part;
    Ask(g_status, SB_SETPARTS, 3, edges);
    Ask(g_status, SB_SETTEXTW, 0, L"Page 3");
    Ask(g_status, SB_SETTEXTW, 1, L"Ready");
    Ask(g_status, SB_GETRECT, 2, &part);
    const int height = part.bottom - part.top - 4;
    HWND progress = Child(g_status, PROGRESS_CLASSW, L"", WS_VISIBLE, part.left + 2, part.top + 2, 100, height);
    SendMessageW(progress, PBM_SETPOS, 50, 0);
    ForgetEarlierShown();
    SetTimer(w, 1, 0, WriteReport);
}

// No caption of the system's: tabs along the top where it would be, drawn by a tab control.
void FillWithOwnFrame(HWND w) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    g_ownFrame = true;
    g_windowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnPainting)));
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    GetClientRect(w, &r);
    g_tabs = Child(w, WC_TABCONTROLW, L"", WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, r.right - 100, 30);
    for (TCITEMW tab{TCIF_TEXT}; const wchar_t* text : {L"Second tab", L"First tab"}) {
        tab.pszText = const_cast<wchar_t*>(text);
        Ask(g_tabs, TCM_INSERTITEMW, 0, &tab);
    }
    ForgetEarlierShown();
    SetTimer(w, 1, 0, WriteReport);
}
