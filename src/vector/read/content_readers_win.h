#pragma once
// Reads what a common control shows (its items, their texts and places) into the record's
// content, through the control's own messages and within the walk's budget. Item rectangles are
// stored in screen coordinates, as the control places them.
#include <windows.h>

#include "vector/draw/class_names.h"
#include "vector/read/control_query_win.h"
#include "vector/window_record.h"

namespace plumbo {

inline Rect32 ToRect32(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Fills record.content for a class whose drawer shows content; leaves it empty for the others
// and for a control that does not answer in time.
void ReadControlContent(HWND control, DrawerKind kind, WindowRecord& record, ControlQuery& query);

// The item lists: tab control, list view, header, tree view.
void ReadListContent(HWND control, DrawerKind kind, WindowRecord& record, ControlQuery& query);
// The bars and the small controls: status bar, tool bar, rebar, trackbar, progress bar, up-down,
// hot key, date/time picker, month calendar, link, combo boxes, rich edit.
void ReadBarContent(HWND control, DrawerKind kind, WindowRecord& record, ControlQuery& query);

}  // namespace plumbo
