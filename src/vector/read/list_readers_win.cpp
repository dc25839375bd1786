// The item lists of another program: each control is asked through its own messages, with one
// buffer in the target's memory per control for the structures and texts those messages answer
// through a pointer. Structures are written in the target's own layout, as the bar readers write
// theirs: each is a template on the target's pointer type, so a 32-bit program on 64-bit Windows
// gets its 4-byte pointers and the paddings that follow from them.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstddef>
#include <cstring>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/remote_memory_win.h"
#include "platform/window_reports_win.h"
#include "vector/read/content_readers_win.h"

namespace plumbo {

namespace {

// Where things lie in the control's buffer: the rectangle first, then the item structure, then
// the text the control copies, so one copy each way carries a whole item. Each copy and each
// message is a trip to the other process (under Wine, through the wineserver), which is what a
// read costs; the readers below save trips wherever the control's geometry allows.
constexpr size_t kRectAt = 0;
constexpr size_t kItemAt = 16;
constexpr size_t kItemBytes = 96;  // the largest structure's size, rounded up
constexpr size_t kTextAt = kItemAt + kItemBytes;
constexpr size_t kTextUnits = kMaxItemTextUnits + 1;
constexpr size_t kBufferBytes = kTextAt + kTextUnits * sizeof(wchar_t);

// The item structures up to the last field we read, P the target's pointer type.
template <typename P> struct TabItem {  // TCITEMW
    uint32_t mask, state, stateMask;
    P text;
    int32_t textMax;
};
template <typename P> struct HeaderItem {  // HDITEMW
    uint32_t mask;
    int32_t cxy;
    P text, bitmap;
    int32_t textMax;
};
template <typename P> struct ListItem {  // LVITEMW
    uint32_t mask;
    int32_t item, subItem;
    uint32_t state, stateMask;
    P text;
    int32_t textMax;
};
template <typename P> struct TreeItem {  // TVITEMW
    uint32_t mask;
    P item;
    uint32_t state, stateMask;
    P text;
    int32_t textMax, image, selectedImage, children;
};
static_assert(sizeof(void*) != 8 || (offsetof(TCITEMW, cchTextMax) == offsetof(TabItem<uint64_t>, textMax) &&
                                     offsetof(HDITEMW, cchTextMax) == offsetof(HeaderItem<uint64_t>, textMax) &&
                                     offsetof(LVITEMW, cchTextMax) == offsetof(ListItem<uint64_t>, textMax) &&
                                     offsetof(TVITEMW, cChildren) == offsetof(TreeItem<uint64_t>, children)));
static_assert(sizeof(ListItem<uint64_t>) <= kItemBytes && sizeof(TreeItem<uint64_t>) <= kItemBytes);

// The part of r inside the control's client area on the screen; nullopt when none of it is.
std::optional<Rect32> Visible(const RECT& r, const RECT& client) {
    RECT cut{};
    if (!IntersectRect(&cut, &r, &client)) return std::nullopt;
    return ToRect32(cut);
}

class ControlReader {
public:
    ControlReader(HWND control, ControlQuery& query) : control_(control), query_(query), buffer_(control, query, kBufferBytes) {
        client_ = TargetClientOnScreen(control);
    }
    // The client rectangle's top-left on the screen: where the control's own coordinates start.
    LONG OriginX() const { return client_.left; }
    LONG OriginY() const { return client_.top; }
    explicit operator bool() const { return static_cast<bool>(buffer_); }
    bool Is32Bit() const { return buffer_.TargetIs32Bit(); }
    const RECT& Client() const { return client_; }

    bool Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
        return query_.Send(control_, message, wParam, lParam, result);
    }
    // The answer, or otherwise when there is none in time.
    LRESULT Ask(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT otherwise = 0) {
        LRESULT r = 0;
        return Send(message, wParam, lParam, &r) ? r : otherwise;
    }

    // A rectangle the control writes through lParam, given in: what the message reads from the
    // rectangle it is handed (a sub-item, a code, a tree item's handle). On the screen.
    std::optional<RECT> AskRect(UINT message, WPARAM wParam, const void* in = nullptr, size_t inBytes = 0) {
        RECT r{};
        if (in) std::memcpy(&r, in, std::min(inBytes, sizeof r));
        LRESULT ok = 0;
        if (!buffer_.Write(r, kRectAt) || !Send(message, wParam, buffer_.Address(kRectAt), &ok) || !ok ||
            !buffer_.Read(r, kRectAt))
            return std::nullopt;
        OffsetRect(&r, OriginX(), OriginY());
        return r;
    }

    // Calls read with a zero of the target's pointer type, for the structures' templates.
    template <typename Read>
    auto InTargetLayout(Read&& read) {
        return Is32Bit() ? read(uint32_t{}) : read(uint64_t{});
    }
    // Sends the item, its text pointing into the buffer; its text and the item as the control
    // filled it in.
    template <typename Item>
    bool AskItem(UINT message, WPARAM wParam, Item& item, std::wstring& text) {
        item.text = static_cast<decltype(item.text)>(buffer_.Address(kTextAt));
        item.textMax = static_cast<int32_t>(kTextUnits);
        struct {
            unsigned char item[kItemBytes];
            wchar_t text[kTextUnits];
        } block{};
        std::memcpy(block.item, &item, sizeof item);
        // The text's first unit cleared too, so a control that copies nothing reads as empty.
        LRESULT ok = 0;
        if (!buffer_.Write(&block, kItemBytes + sizeof(wchar_t), kItemAt) ||
            !Send(message, wParam, buffer_.Address(kItemAt), &ok) || !buffer_.Read(&block, sizeof block, kItemAt))
            return false;
        std::memcpy(&item, block.item, sizeof item);
        block.text[kTextUnits - 1] = 0;
        std::wstring_view answer(block.text, wcsnlen(block.text, kTextUnits));
        // Windows may point the item's text at text of the control's own rather than copy it
        // (tree and tab items whose parent supplies their texts): it is read where it points.
        std::wstring elsewhere;
        if (item.text && static_cast<uintptr_t>(item.text) != buffer_.Address(kTextAt)) {
            elsewhere = buffer_.ReadTextAt(static_cast<uintptr_t>(item.text), kTextUnits);
            answer = elsewhere;
        }
        text = CutAtCharBoundary(answer, kMaxItemTextUnits);
        return true;
    }

private:
    HWND control_;
    ControlQuery& query_;
    TargetBuffer buffer_;
    RECT client_{};
};

// A tab control's or a header's items, each at the rectangle the control gives for it, with the
// text its item structure carries; those scrolled out of the control's client area are left out.
// The selected one (selectedMessage 0: none) is marked.
template <template <typename> class Item>
void ReadLabelledItems(ControlReader& reader, ControlContent& content, UINT countMessage, UINT selectedMessage,
                       UINT rectMessage, UINT itemMessage, UINT textMask) {
    const LRESULT count = reader.Ask(countMessage);
    const LRESULT selected = selectedMessage ? reader.Ask(selectedMessage) : -1;
    for (LRESULT i = 0; i < count; ++i) {
        auto rect = reader.AskRect(rectMessage, static_cast<WPARAM>(i));
        if (!rect) return;
        auto shown = Visible(*rect, reader.Client());
        if (!shown) continue;
        std::wstring text;
        if (!reader.InTargetLayout([&]<typename P>(P) {
                Item<P> item{};
                item.mask = textMask;
                return reader.AskItem(itemMessage, static_cast<WPARAM>(i), item, text);
            }))
            return;
        content.items.push_back({*shown, std::move(text), i == selected ? item_flags::kSelected : 0u, 0});
    }
}

void ReadTabs(ControlReader& reader, ControlContent& content) {
    ReadLabelledItems<TabItem>(reader, content, TCM_GETITEMCOUNT, TCM_GETCURSEL, TCM_GETITEMRECT, TCM_GETITEMW,
                               TCIF_TEXT);
}

void ReadHeader(ControlReader& reader, ControlContent& content) {
    ReadLabelledItems<HeaderItem>(reader, content, HDM_GETITEMCOUNT, 0, HDM_GETITEMRECT, HDM_GETITEMW, HDI_TEXT);
}

// One cell's text: the item's label for column 0, a sub-item's for the others.
bool ReadListText(ControlReader& reader, LRESULT index, int32_t column, std::wstring& text) {
    return reader.InTargetLayout([&]<typename P>(P) {
        ListItem<P> item{};
        std::tie(item.mask, item.subItem) = std::tuple(LVIF_TEXT, column);
        return reader.AskItem(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), item, text);
    });
}

// The list view's items from its first visible one on, only while they are on show: in report
// view the rows go down, in list view the columns go right; icons may lie anywhere, so each
// one's place is asked and only the texts of those on show are read. What the geometry gives
// is not asked again: an icon keeps its place beside (in icon view: above) its label, the rows
// of a report are evenly spaced, and its cells lie in the columns of the first row.
void ReadListView(HWND control, ControlReader& reader, ControlContent& content, ControlQuery& query) {
    const uint32_t view = static_cast<uint32_t>(GetWindowLongW(control, GWL_STYLE)) & LVS_TYPEMASK;
    const bool report = view == LVS_REPORT;
    const LRESULT count = reader.Ask(LVM_GETITEMCOUNT);
    const LRESULT first = (report || view == LVS_LIST) ? reader.Ask(LVM_GETTOPINDEX) : 0;
    int32_t columns = 1;
    if (report) {
        HWND header = reinterpret_cast<HWND>(reader.Ask(LVM_GETHEADER));
        LRESULT n = 0;
        if (header && query.Send(header, HDM_GETITEMCOUNT, 0, 0, &n)) columns = static_cast<int32_t>(std::max<LRESULT>(n, 1));
    }
    const RECT& client = reader.Client();
    auto centre = [](const RECT& r) { return (r.left + r.right) / 2; };
    std::optional<RECT> firstLabel, iconFromLabel;  // the icon as an offset from its label
    LONG rowStep = 0;
    std::vector<std::pair<LONG, LONG>> cells;  // each column's left and right on the screen
    std::vector<size_t> labelOf;  // index in content.items of each label read, by list index - first
    LRESULT last = first - 1;
    for (LRESULT i = first; i < count; ++i) {
        std::optional<RECT> label;
        if (report && firstLabel && rowStep > 0) {
            label = *firstLabel;
            OffsetRect(&*label, 0, static_cast<LONG>(rowStep * (i - first)));
        } else {
            LONG code = LVIR_LABEL;
            label = reader.AskRect(LVM_GETITEMRECT, static_cast<WPARAM>(i), &code, sizeof code);
            if (!label) break;
            if (!firstLabel) firstLabel = label;
            else if (report) rowStep = label->top - firstLabel->top;
        }
        if ((report && label->top >= client.bottom) || (view == LVS_LIST && label->left >= client.right)) break;
        last = i;
        auto shown = Visible(*label, client);
        if (!shown) continue;
        if (!iconFromLabel) {
            LONG code = LVIR_ICON;
            auto icon = reader.AskRect(LVM_GETITEMRECT, static_cast<WPARAM>(i), &code, sizeof code);
            if (!icon) break;
            const LONG anchor = view == LVS_ICON ? centre(*label) : label->left;
            iconFromLabel = RECT{icon->left - anchor, icon->top - label->top, icon->right - anchor, icon->bottom - label->top};
        }
        // No image list: the control gives the icon no width.
        if (iconFromLabel->right - iconFromLabel->left > 1) {
            RECT icon = *iconFromLabel;
            OffsetRect(&icon, view == LVS_ICON ? centre(*label) : label->left, label->top);
            if (auto iconShown = Visible(icon, client)) content.items.push_back({*iconShown, {}, item_flags::kIcon, 0});
        }
        std::wstring text;
        if (!ReadListText(reader, i, 0, text)) break;
        labelOf.resize(static_cast<size_t>(i - first) + 1, SIZE_MAX);
        labelOf.back() = content.items.size();
        content.items.push_back({*shown, std::move(text), 0, 0});
        for (int32_t column = 1; column < columns; ++column) {
            if (cells.size() < static_cast<size_t>(column)) {
                const LONG cell[2] = {LVIR_BOUNDS, column};  // left: the code, top: the sub-item
                auto rect = reader.AskRect(LVM_GETSUBITEMRECT, static_cast<WPARAM>(i), cell, sizeof cell);
                if (!rect) return;
                cells.emplace_back(rect->left, rect->right);
            }
            const RECT rect{cells[column - 1].first, label->top, cells[column - 1].second, label->bottom};
            auto cellShown = Visible(rect, client);
            if (!cellShown) continue;
            if (!ReadListText(reader, i, column, text)) return;
            content.items.push_back({*cellShown, std::move(text), 0, column});
        }
    }
    // The selected ones among those read: one question for each, and one more.
    auto nextSelected = [&](LRESULT after) {
        const LRESULT at = reader.Ask(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED, -1);
        return at > after ? at : -1;
    };
    for (LRESULT at = nextSelected(first - 1); at >= first && at <= last; at = nextSelected(at)) {
        const size_t k = static_cast<size_t>(at - first);
        if (k < labelOf.size() && labelOf[k] != SIZE_MAX) content.items[labelOf[k]].flags |= item_flags::kSelected;
    }
}

// The visible tree items top down, each with its depth; marks[i] is the slot of items[i]'s
// expand box and lines: a square as wide as the tree's indent, left of the item's icon.
void ReadTree(ControlReader& reader, ControlContent& content) {
    const LONG indent = static_cast<LONG>(reader.Ask(TVM_GETINDENT));
    // The icon between the slot and the text is as wide as a row is high, when there are icons.
    const bool icons = reader.Ask(TVM_GETIMAGELIST, TVSIL_NORMAL) != 0;
    const RECT& client = reader.Client();
    std::unordered_map<LRESULT, int32_t> depth;  // the items met so far and their parents'
    auto depthOf = [&](LRESULT item) {
        // Up to an item already met, or to the root; ancestors scrolled away are met here.
        std::vector<LRESULT> chain;
        int32_t d = -1;
        for (LRESULT at = item; at;) {
            if (auto known = depth.find(at); known != depth.end()) {
                d = known->second;
                break;
            }
            chain.push_back(at);
            at = reader.Ask(TVM_GETNEXTITEM, TVGN_PARENT, at);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) depth[*it] = ++d;
        return depth[item];
    };
    for (LRESULT at = reader.Ask(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0); at;
         at = reader.Ask(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, at)) {
        // The handle goes in where the rectangle comes out.
        uint64_t handle = static_cast<uint64_t>(at);
        auto rect = reader.AskRect(TVM_GETITEMRECT, TRUE, &handle, reader.Is32Bit() ? 4 : 8);
        if (!rect || rect->top >= client.bottom) break;
        auto shown = Visible(*rect, client);
        if (!shown) continue;
        std::wstring text;
        uint32_t state = 0;
        int32_t children = 0;
        if (!reader.InTargetLayout([&]<typename P>(P) {
                TreeItem<P> item{};
                std::tie(item.mask, item.item, item.stateMask) =
                    std::tuple(TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN, static_cast<P>(handle), TVIS_SELECTED | TVIS_EXPANDED);
                const bool read = reader.AskItem(TVM_GETITEMW, 0, item, text);
                std::tie(state, children) = std::tuple(item.state, item.children);
                return read;
            }))
            return;
        uint32_t flags = 0;
        if (state & TVIS_SELECTED) flags |= item_flags::kSelected;
        if (state & TVIS_EXPANDED) flags |= item_flags::kExpanded;
        if (children != 0) flags |= item_flags::kHasChildren;
        const int32_t level = depthOf(at);
        const LONG slotRight = rect->left - (icons ? rect->bottom - rect->top : 0);
        content.items.push_back({*shown, std::move(text), flags, level});
        content.marks.push_back({slotRight - indent, rect->top, slotRight, rect->bottom});
    }
}

}  // namespace

void ReadListContent(HWND control, DrawerKind kind, WindowRecord& record, ControlQuery& query) {
    ControlReader reader(control, query);
    if (!reader) return;
    switch (kind) {
    case DrawerKind::TabControl: ReadTabs(reader, record.content); break;
    case DrawerKind::Header: ReadHeader(reader, record.content); break;
    case DrawerKind::ListView: ReadListView(control, reader, record.content, query); break;
    case DrawerKind::TreeView: ReadTree(reader, record.content); break;
    default: break;
    }
}

}  // namespace plumbo
