#pragma once
// "画面キャプチャ": what the screen shows of the target window, frame included, as a bitmap
// picture in the viewer.
#include <windows.h>

#include "platform/gdi_win.h"
#include "platform/picture_win.h"
#include "state/program_win.h"

namespace plumbo {

// Where the viewer opens: this many pixels right of and below the target's top-left corner.
inline constexpr int kViewerOffsetPx = 48;

// How long the windows our rulers and viewer uncovered are given to repaint before the copy.
inline constexpr UINT kScreenSettleMs = 200;

// Hides the rulers and the viewer, asks the target to repaint and returns; about
// kScreenSettleMs later the target's outer rectangle is copied from the screen and shown in
// the viewer in bitmap mode, at the target's corner plus kViewerOffsetPx. Tracking is
// suspended meanwhile and the rulers come back as they were. A target gone by then, or one that
// gives no picture, leaves the viewer on the picture it held, and the user is told why; a second
// capture while one waits is ignored.
void CaptureTargetAsBitmap(Program& program);

// The window as the screen shows it now, cut to the frame a person sees: what a capture holds,
// taken at once, for a caller with no windows of its own in the way. Empty when the window has
// gone or has no size.
Picture CaptureWindowNow(HWND target);

// Copies width x height screen pixels of a window from (srcLeft, srcTop): of its client area
// when clientOnly, else of the whole window from its outer top-left corner. On a 256-colour
// palette screen the picture carries a copy of the system palette.
Picture GrabWindowBitmap(HWND hwnd, bool clientOnly, int srcLeft, int srcTop, int width, int height);

// A picture owning the bitmap and the palette (null for none), its HIMETRIC size that of its
// pixels on a monitor of tpp. On failure both are deleted with their owners.
Picture PictureFromBitmap(Bitmap bitmap, Palette palette, TwipsPerPixel tpp);

}  // namespace plumbo
