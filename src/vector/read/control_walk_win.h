#pragma once
// A window's controls as boxes on the screen, read as the re-drawing reads them: its visible
// child windows, and what a window no drawer knows tells assistive technology. The measuring
// mode measures them.
#include <windows.h>

#include <vector>

#include "core/measurement.h"

namespace plumbo {

// The target's client area first, with no parent; each visible child window whose parent is
// listed, parents before children; then the accessible elements, each inside its parent element,
// of the target when it has no child windows and of each control no drawer knows, all within one
// accessibility budget. Hidden elements and what they hold are left out. A control's class is
// decided as the re-drawing decides it, within the re-drawing's budget for messages.
std::vector<ControlBox> WalkControlBoxes(HWND target);

}  // namespace plumbo
