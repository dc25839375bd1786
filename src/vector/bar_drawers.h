#pragma once
// The bars and small common controls drawn with their content: status bar, rebar, trackbar,
// progress bar, up-down, hot key, date/time picker, month calendar, link, extended combo box,
// rich edit.
#include "vector/control_drawers.h"

namespace plumbo {

// False only when the re-drawing has to be abandoned.
bool DrawBarControl(const DrawContext& ctx, DrawerKind kind, const WindowRecord& control, PartList& list);

}  // namespace plumbo
