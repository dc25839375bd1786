#pragma once
// Plays a part list into an in-memory enhanced metafile and wraps it as the viewer's picture.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/picture_win.h"
#include "core/units.h"
#include "vector/parts.h"

namespace plumbo {

// What a text part asks of its font.
struct FontRequest {
    HDC dc = nullptr;   // where the width percent is measured
    std::wstring face;  // empty: the system's default face
    float size = 0;     // points
    int16_t widthPercent = 0;  // of the face's average character width; 0 leaves it natural
};

// The LOGFONT a text part's font is made from, at twipsPerPixel: the same for the same request
// whatever was made before.
LOGFONTW TextFont(const FontRequest& request, TwipsPerPixel twipsPerPixel);

// The list played into a new enhanced metafile whose frame is the list's size in HIMETRIC.
// referenceDc is the metafile's reference device (nullptr: the screen) and where fonts are
// measured; it is left as it was. An empty picture when the size does not fit 32 bits.
Picture PlayPartList(HDC referenceDc, const PartList& list, TwipsPerPixel twipsPerPixel);

}  // namespace plumbo
