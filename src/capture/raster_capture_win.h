#pragma once
// "画面キャプチャ": what the screen shows of the target window, frame included, as a bitmap
// picture in the viewer.
#include <windows.h>

#include "capture/picture_win.h"

namespace plumbo {

// Where the viewer opens: this many pixels right of and below the target's top-left corner.
inline constexpr int kViewerOffsetPx = 48;

// Copies width x height screen pixels of a window from (srcLeft, srcTop): of its client area
// when clientOnly, else of the whole window from its outer top-left corner. On a 256-colour
// palette screen the picture carries a copy of the system palette.
Picture GrabWindowBitmap(HWND hwnd, bool clientOnly, int srcLeft, int srcTop, int width, int height);

// A picture owning the bitmap and the palette (null for none). On failure both are deleted.
Picture PictureFromBitmap(HBITMAP bitmap, HPALETTE palette);

void mMenuCopy_Click();

}  // namespace plumbo
