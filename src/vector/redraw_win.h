#pragma once
// The whole re-drawing of a window: read its controls, draw them as parts, play the parts.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/picture_win.h"
#include "core/units.h"
#include "state/program_win.h"
#include "vector/read/accessible_reader_win.h"

namespace plumbo {

struct RedrawResult {
    Picture picture;
    int32_t naturalWidth = 0;   // the re-drawn window's outer size in pixels: the viewer's 100 %
    int32_t naturalHeight = 0;
    std::unique_ptr<const RedrawnParts> parts;  // what the picture was played from
};

// The target and its visible controls as a vector picture, measured in twipsPerPixel, those of
// the target's monitor. An older program that the compositor stretches on that monitor (not per-
// monitor DPI aware, at 125 % and more) answers the rectangles of its items in its own pixels:
// it is read in them, and measured at its own DPI, so that the picture keeps the size the screen
// shows. nullopt when the command is to be abandoned (no target, the target vanished, a
// difference beyond 32 bits); the viewer then keeps its previous picture. With pictures, what
// nothing tells of a control is put in as the screen's pixels of it, under what could be read.
// Accessibility trees are read within accessibleBudget, so a program that stops answering
// cannot hold the command up.
std::optional<RedrawResult> RedrawWindowAsMeta(HWND target, HDC referenceDc, TwipsPerPixel twipsPerPixel,
                                               bool pictures = false,
                                               std::chrono::milliseconds accessibleBudget = kAccessibleBudget);

}  // namespace plumbo
