#include "vector/read/record_bounds.h"

#include <algorithm>

#include "vector/draw/class_names.h"

namespace plumbo {

namespace {

bool Empty(const Rect32& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect32 Clamped(const Rect32& r, const Rect32& w) {
    const auto x = [&](int32_t v) { return std::clamp(v, w.left, std::max(w.left, w.right)); };
    const auto y = [&](int32_t v) { return std::clamp(v, w.top, std::max(w.top, w.bottom)); };
    return {x(r.left), y(r.top), x(r.right), y(r.bottom)};
}

void Cut(std::wstring& text) {
    if (text.size() > kMaxWrappedTextUnits) text = CutAtCharBoundary(text, kMaxWrappedTextUnits);
}

// Items clamped and cut; those that had room and have none left inside are dropped.
template <class Item>
void BoundItems(std::vector<Item>& items, const Rect32& window) {
    std::vector<Item> kept;
    kept.reserve(items.size());
    for (Item& item : items) {
        const bool had = !Empty(item.rect);
        item.rect = Clamped(item.rect, window);
        Cut(item.text);
        if (!had || !Empty(item.rect)) kept.push_back(std::move(item));
    }
    items = std::move(kept);
}

void BoundWindow(WindowRecord& record) {
    const Rect32& window = record.window;
    Cut(record.text);
    Cut(record.firstDescendantText);
    ControlContent& c = record.content;
    BoundItems(c.items, window);
    BoundItems(c.headers, window);
    for (Rect32& mark : c.marks) mark = Clamped(mark, window);
    c.channel = Clamped(c.channel, window);
    c.thumb = Clamped(c.thumb, window);
    for (AccessibleElement& e : record.accessible) {
        e.rect = Clamped(e.rect, window);
        Cut(e.name);
        Cut(e.value);
    }
    for (WindowRecord& child : record.children) BoundWindow(child);
}

}  // namespace

void BoundTargetRecord(TargetRecord& target) {
    BoundWindow(target.window);
    BoundItems(target.menuItems, target.window.window);
}

}  // namespace plumbo
