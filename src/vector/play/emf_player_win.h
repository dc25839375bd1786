#pragma once
// Plays a part list into an in-memory enhanced metafile and wraps it as the viewer's picture;
// and the whole re-drawing of a window: query, lay out, play.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/picture_win.h"
#include "core/units.h"
#include "state/program_win.h"
#include "vector/read/accessible_reader_win.h"
#include "vector/parts.h"

namespace plumbo {

// What a text part asks of its font.
struct FontRequest {
    HDC dc = nullptr;   // where the width percent is measured
    std::wstring face;  // empty: keep the face already in the LOGFONT
    float size = 0;     // points
    int16_t widthPercent = 0;  // of the face's average character width; 0 leaves it natural
};

// Fills lf from the request and creates the font; the caller selects and deletes it. factor is
// pixels per point; 0 is replaced by 20 / twips per pixel across. lf is the caller's, kept
// between calls: a named face replaces the previous one whole, an empty one keeps it.
HFONT MakeFont(const FontRequest& request, LOGFONTW& lf, float& factor, TwipsPerPixel twipsPerPixel);

// The list played into a new enhanced metafile whose frame is the list's size in HIMETRIC.
// referenceDc is the metafile's reference device (nullptr: the screen) and where fonts are
// measured; it is left as it was. An empty picture when the size does not fit 32 bits.
Picture PlayPartList(HDC referenceDc, const PartList& list, TwipsPerPixel twipsPerPixel);

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
