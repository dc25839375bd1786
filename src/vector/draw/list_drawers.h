#pragma once
// The item lists drawn with their content: tab control, list view, header, tree view.
// What each reads of the record's content: a tab control its items (the selected one flagged),
// a header its items, a list view its items (icons flagged as such, level the column), a tree
// view its items (level the depth) with marks[i] the slot of items[i]'s expand box and lines.
#include <string>
#include <string_view>
#include <vector>

#include "vector/draw/control_drawers.h"

namespace plumbo {

// False only when the re-drawing has to be abandoned.
bool DrawListControl(const DrawContext& ctx, DrawerKind kind, const WindowRecord& control, PartList& list);

// Which tree lines a row draws in its slots, from the depths of the rows on show.
struct TreeRowLinks {
    bool fromAbove = false;      // its own line comes down from the row above (parent or sibling)
    bool onBelow = false;        // and goes on down to a later sibling
    std::vector<bool> passing;   // per shallower depth: an ancestor's line passes this row
};
std::vector<TreeRowLinks> LinkTreeRows(const std::vector<ItemRecord>& rows);

}  // namespace plumbo
