#pragma once
// SVG documents of part lists, their texts measured in GDI with the fonts the metafile player
// makes; and the parts of a re-drawn picture as the viewer keeps them.
#include <windows.h>

#include <memory>
#include <string>

#include "core/units.h"
#include "state/program_win.h"
#include "vector/parts.h"

namespace plumbo {

// The list as an SVG document in UTF-8, its texts measured on the reference device (nullptr:
// the screen) as PlayPartList measures them, whose device pixels are a list in pixels' units.
// Empty when no metafile could be made of the list either.
std::string PlaySvg(HDC reference, const PartList& list, TwipsPerPixel twipsPerPixel);

// The list kept for the viewer, with the resolution its metafile was played at.
std::unique_ptr<const RedrawnParts> KeepParts(PartList list, TwipsPerPixel twipsPerPixel);

}  // namespace plumbo
