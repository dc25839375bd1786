#pragma once
// Reads the target window and its controls into plain records for the drawers: class, style,
// rectangles, texts, menu bar and metrics. Only what a control's drawer uses is read.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vector/read/accessible_reader_win.h"
#include "vector/read/control_query_win.h"
#include "vector/window_record.h"

namespace plumbo {

// Every descendant of parent (not only the direct children), in the order the system
// enumerates them. False, leaving handles untouched, when parent is no window.
bool GetAllDescendants(HWND parent, std::vector<HWND>& handles);

// The normalised class name (NormaliseClassName of what the system reports).
std::wstring GetControlClass(HWND hwnd);

// The class a control is drawn as: its own normalised name where the drawers know it, else the
// one DecideClass tells from the system's name for its base class, the toolkits' naming habits
// and its answer to WM_GETDLGCODE. Its own name when nothing tells.
std::wstring DecideControlClass(HWND hwnd, ControlQuery& query);

// True when any bit of mask is set in the window's style.
bool HasStyle(HWND hwnd, uint32_t mask);

// The text a window shows, at most 79 UTF-16 units, never split inside a character. Asked
// with a short time-out so a hung program cannot stall us; empty when it does not answer.
std::wstring ReadWindowText(HWND hwnd);

// How a target is read when it is not in the screen's pixels: the invisible borders of its frame
// in its own pixels (left, top, right and bottom, inward).
struct OwnPixels {
    RECT borders{};
};

// The target and everything its drawers need. nullopt when the target is gone or vanishes
// while it is read. It is read in the pixels and at the DPI of the TargetPixelsScope in force;
// ownPixels says they are not the screen's. With pictures, a control whose content nothing
// tells keeps the screen's pixels of it. The accessibility trees of all its windows are read
// within accessibleBudget.
std::optional<TargetRecord> QueryTarget(HWND target, const std::optional<OwnPixels>& ownPixels = std::nullopt,
                                        bool pictures = false,
                                        std::chrono::milliseconds accessibleBudget = kAccessibleBudget);

}  // namespace plumbo
