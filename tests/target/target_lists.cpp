// The test target's "/lists" contents: a tab control, a list view in each view (the report
// view, with its header, has 1000 rows, so most are scrolled out of sight), a tree view; items long,
// short, Japanese and with "&". Once shown, the target writes each text a person sees there
// and the rectangle its control shows it in, cut to the control's client area (shown_texts.h).
// With "/slow", "/hang" or "/close" also given, the tree view answers each question about its
// items 150 ms late, 3 s late, or by ending the program: a target that hangs or closes
// while it is read.
#include "shown_texts.h"

#include <commctrl.h>

#include <map>
#include <tuple>

namespace {

HWND Make(HWND parent, const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
    HWND c = Child(parent, cls, L"", WS_VISIBLE | WS_BORDER | style, x, y, w, h);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
}

HIMAGELIST Icons(int side) {
    HIMAGELIST list = ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(list, LoadIconW(nullptr, IDI_APPLICATION));
    return list;
}

void AddListItem(HWND list, int index, const std::wstring& text, const wchar_t* size = nullptr,
                 const wchar_t* kind = nullptr) {
    LVITEMW item{LVIF_TEXT | LVIF_IMAGE, index, 0, 0, 0, const_cast<wchar_t*>(text.c_str())};
    ListView_InsertItem(list, &item);
    if (size) ListView_SetItemText(list, index, 1, const_cast<wchar_t*>(size));
    if (kind) ListView_SetItemText(list, index, 2, const_cast<wchar_t*>(kind));
}

// ---- A tree that answers late or never ----

// How many milliseconds late it answers; below 0, it ends the program instead.
int treeLateMs = 0;
WNDPROC treeProc = nullptr;

// What the tree answers with: as Windows may, it points the item's text at text of its own.
std::map<HTREEITEM, std::wstring> ownTexts;

LRESULT CALLBACK LateTree(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != TVM_GETITEMW) return CallWindowProcW(treeProc, h, m, w, l);
    // The item's text is written into memory the asker placed here: an answer given after the
    // asker stopped waiting still writes it, so that memory must outlive the wait.
    if (treeLateMs < 0) ExitProcess(0);
    Sleep(treeLateMs);
    auto* item = reinterpret_cast<TVITEMW*>(l);
    const LRESULT r = CallWindowProcW(treeProc, h, m, w, l);
    if (r && (item->mask & TVIF_TEXT) && item->pszText) {
        std::wstring& own = ownTexts[item->hItem] = item->pszText;
        item->pszText[0] = L'\0';
        item->pszText = own.data();
    }
    return r;
}

struct { HWND tabs, report, tree, views[3]; } lists;

// ---- What a person sees, written out once the window is on show ----

// An item's text through the control's own structure for it.
template <class Item> std::wstring ItemText(HWND control, UINT message, WPARAM index, UINT mask, Item item = {}) {
    wchar_t text[260] = {};
    std::tie(item.mask, item.pszText, item.cchTextMax) = std::tuple(mask, text, 260);
    Ask(control, message, index, &item);
    return text;
}

void TellWhatIsShown(HWND) {
    // Tab controls and headers show "&" as a mnemonic.
    AddItems(lists.tabs, L"item", 0, TabCtrl_GetItemCount(lists.tabs), [](LRESULT i, RECT& r) {
        TabCtrl_GetItemRect(lists.tabs, i, &r);
        return WithoutMnemonics(ItemText<TCITEMW>(lists.tabs, TCM_GETITEMW, i, TCIF_TEXT));
    });
    HWND header = ListView_GetHeader(lists.report);
    AddItems(header, L"item", 0, Header_GetItemCount(header), [&](LRESULT i, RECT& r) {
        Header_GetItemRect(header, i, &r);
        return WithoutMnemonics(ItemText<HDITEMW>(header, HDM_GETITEMW, i, HDI_TEXT));
    });
    // Each row of a list view, and in the report view each of its cells after it.
    for (HWND view : {lists.report, lists.views[0], lists.views[1], lists.views[2]}) {
        const int columns = view == lists.report ? 3 : 1;
        AddItems(view, L"item", 0, ListView_GetItemCount(view) * columns, [&](LRESULT i, RECT& r) {
            const int row = static_cast<int>(i / columns), column = static_cast<int>(i % columns);
            if (column == 0) ListView_GetItemRect(view, row, &r, LVIR_LABEL);
            else ListView_GetSubItemRect(view, row, column, LVIR_BOUNDS, &r);
            return ItemText(view, LVM_GETITEMTEXTW, row, LVIF_TEXT, LVITEMW{.iSubItem = column});
        });
    }
    std::vector<HTREEITEM> rows;  // those on show
    for (HTREEITEM at = TreeView_GetFirstVisible(lists.tree); at; at = TreeView_GetNextVisible(lists.tree, at))
        rows.push_back(at);
    AddItems(lists.tree, L"item", 0, rows.size(), [&](LRESULT i, RECT& r) {
        TreeView_GetItemRect(lists.tree, rows[i], &r, TRUE);
        return ItemText(lists.tree, TVM_GETITEMW, 0, TVIF_TEXT, TVITEMW{.hItem = rows[i]});
    });
    // Late from now on, once our own questions are answered, and with texts of its own.
    treeProc = SubclassWindow(lists.tree, LateTree);
}

}  // namespace

void FillWithLists(HWND w) {
    lists.tabs = Make(w, WC_TABCONTROLW, WS_CLIPSIBLINGS, 8, 8, 420, 90);
    for (int n = 0; const wchar_t* text : {L"&General", L"短い", L"A much longer tab caption", L"日本語のタブ"}) {
        TCITEMW item{TCIF_TEXT, 0, 0, const_cast<wchar_t*>(text), 0, 0, 0};
        TabCtrl_InsertItem(lists.tabs, n++, &item);
    }
    TabCtrl_SetCurSel(lists.tabs, 1);

    // Enough rows that the scroll bar has a long way to go: only the first few are on show.
    lists.report = Make(w, WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS, 8, 110, 420, 200);
    Ask(lists.report, LVM_SETIMAGELIST, LVSIL_SMALL, Icons(16));
    for (int n = 0; auto [text, width] : {std::pair{L"Name", 150}, {L"&Size", 80}, {L"種類", 150}}) {
        LVCOLUMNW c{LVCF_TEXT | LVCF_WIDTH, 0, width, const_cast<wchar_t*>(text), 0, 0, 0, 0, 0, 0, 0};
        ListView_InsertColumn(lists.report, n++, &c);
    }
    AddListItem(lists.report, 0, L"A", L"1 KB", L"テキスト");
    AddListItem(lists.report, 1, L"A very long item text that does not fit in its column", L"123456789 KB",
                L"A long kind of file that is cut");
    AddListItem(lists.report, 2, L"日本語の項目", L"2 KB", L"文書");
    AddListItem(lists.report, 3, L"Save & Load", L"&3 KB", L"&Kind");
    for (int i = 4; i < 1000; ++i) AddListItem(lists.report, i, L"Row " + std::to_wstring(i), L"4 KB", L"Row");
    ListView_SetItemState(lists.report, 2, LVIS_SELECTED, LVIS_SELECTED);

    for (int v = 0; auto [style, left, width] :
                    {std::tuple{LVS_ICON, 8, 240}, {LVS_SMALLICON, 256, 230}, {LVS_LIST, 494, 236}}) {
        HWND view = lists.views[v++] = Make(w, WC_LISTVIEWW, style | LVS_AUTOARRANGE, left, 320, width, 200);
        Ask(view, LVM_SETIMAGELIST, LVSIL_NORMAL, Icons(32));
        Ask(view, LVM_SETIMAGELIST, LVSIL_SMALL, Icons(16));
        for (const wchar_t* text : {L"One", L"日本語の項目", L"Save & Load", L"A long label that has to wrap", L"短"})
            AddListItem(view, ListView_GetItemCount(view), text);
        // The list view's columns run on past its right edge: 40 more after those five.
        if (style == LVS_LIST)
            for (int i = 0; i < 40; ++i) AddListItem(view, 5 + i, L"Item " + std::to_wstring(i));
    }

    lists.tree = Make(w, WC_TREEVIEWW, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 440, 40,
                      290, 270);
    // Each item under the one at its parent's index, or at the root; the first, fourth and fifth
    // open, the fifth chosen.
    const std::pair<int, const wchar_t*> tree[] = {
        {-1, L"ルート"}, {0, L"子の項目"}, {0, L"Child & more"},
        {0, L"A long child item whose text goes on past the tree's edge"}, {3, L"孫"}, {4, L"&Deep"},
        {-1, L"Closed root"}, {6, L"Not shown"}, {-1, L"L"},
    };
    std::vector<HTREEITEM> items;
    for (TVINSERTSTRUCTW insert{nullptr, TVI_LAST, {TVIF_TEXT}}; auto [parent, text] : tree) {
        insert.hParent = parent < 0 ? TVI_ROOT : items[parent];
        insert.item.pszText = const_cast<wchar_t*>(text);
        items.push_back(TreeView_InsertItem(lists.tree, &insert));
    }
    for (int open : {0, 3, 4}) TreeView_Expand(lists.tree, items[open], TVE_EXPAND);
    TreeView_SelectItem(lists.tree, items[4]);
    ReportWhenShown(w, TellWhatIsShown);

    const std::wstring line = GetCommandLineW();
    for (auto [name, lateMs] : {std::pair{L"/slow", 150}, {L"/hang", 3000}, {L"/close", -1}})
        if (line.find(name) != std::wstring::npos) treeLateMs = lateMs;
}
