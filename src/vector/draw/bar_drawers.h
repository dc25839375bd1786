#pragma once
// The bars and small common controls drawn with their content: status bar, rebar, trackbar,
// progress bar, up-down, hot key, date/time picker, month calendar, link, extended combo box,
// rich edit.
#include <string>
#include <string_view>

#include "vector/draw/control_drawers.h"

namespace plumbo {

// A link's text without its anchor tags ("<a>", "<a href=...>", "</a>", any case).
std::wstring WithoutLinkMarkup(std::wstring_view text);

// False only when the re-drawing has to be abandoned.
bool DrawBarControl(const DrawContext& ctx, DrawerKind kind, const WindowRecord& control, PartList& list);

// A multi-line edit or rich edit: its box and the lines it shows, each at its place; without
// lines read, the whole text in the box.
bool DrawEditLines(const DrawContext& ctx, const WindowRecord& control, PartList& list);

}  // namespace plumbo
