#include "vector/read/control_walk_win.h"

#include <algorithm>

#include "vector/draw/accessible_drawers.h"
#include "vector/draw/class_names.h"
#include "vector/read/accessible_reader_win.h"
#include "vector/read/query_win.h"

namespace plumbo {

namespace {

PixelRect OnScreen(HWND hwnd, bool inner) {
    RECT r{};
    if (inner) {
        GetClientRect(hwnd, &r);
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
        GetWindowRect(hwnd, &r);
    }
    return PixelRect{r.left, r.top, r.right, r.bottom};
}

// What a window paints itself and tells assistive technology about, as boxes inside the window's
// box, each element inside its parent element; hidden ones and what they hold are left out.
void AddAccessibleBoxes(HWND hwnd, int32_t windowBox, AccessibleBudget& budget, std::vector<ControlBox>& boxes) {
    std::vector<int32_t> parentAt{windowBox};  // the box an element of each depth lies in
    for (const AccessibleElement& e : budget.Read(hwnd)) {
        if (e.depth < 0 || static_cast<size_t>(e.depth) >= parentAt.size()) continue;
        parentAt.resize(static_cast<size_t>(e.depth) + 1);
        if (HiddenByState(e.state) || e.rect.right <= e.rect.left || e.rect.bottom <= e.rect.top)
            continue;
        const PixelRect r{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom};
        parentAt.push_back(static_cast<int32_t>(boxes.size()));
        boxes.push_back({r, r, parentAt[static_cast<size_t>(e.depth)]});
    }
}

}  // namespace

std::vector<ControlBox> WalkControlBoxes(HWND target) {
    std::vector<HWND> handles{target};
    std::vector<ControlBox> boxes{{OnScreen(target, true), OnScreen(target, true), -1}};
    std::vector<HWND> descendants;
    GetAllDescendants(target, descendants);
    // The re-drawing's budgets, set as it sets them: the accessibility trees' time runs from the
    // start, so a target that stopped answering holds the walk up no longer than a re-drawing.
    AccessibleBudget budget;
    ControlQuery query;
    std::vector<size_t> unlisted;
    for (HWND h : descendants) {
        if (!IsWindowVisible(h)) continue;
        // Parents come before their children in the walk.
        const auto parent = std::find(handles.begin(), handles.end(), GetParent(h));
        if (parent == handles.end()) continue;
        boxes.push_back({OnScreen(h, false), OnScreen(h, true), static_cast<int32_t>(parent - handles.begin())});
        // What a toolkit's control tells assistive technology is not drawn when the re-drawing
        // knows the control: measured as its elements, it would come apart into boxes never drawn.
        const DrawerKind kind = LookupDrawer(DecideControlClass(h, query));
        if (kind == DrawerKind::Unlisted) unlisted.push_back(handles.size());
        handles.push_back(h);
    }
    if (descendants.empty()) AddAccessibleBoxes(target, 0, budget, boxes);
    for (size_t i : unlisted) AddAccessibleBoxes(handles[i], static_cast<int32_t>(i), budget, boxes);
    return boxes;
}

}  // namespace plumbo
