#pragma once
// The item lists drawn with their content: tab control, list view, header, tree view.
#include "vector/control_drawers.h"

namespace plumbo {

// False only when the re-drawing has to be abandoned.
bool DrawListControl(const DrawContext& ctx, DrawerKind kind, const WindowRecord& control, PartList& list);

}  // namespace plumbo
