#pragma once
// "クリップボードへコピー": the viewer's picture on the clipboard.
#include <windows.h>

#include "core/units.h"
#include "platform/picture_win.h"

namespace plumbo {

// Clears the clipboard and puts copies of the picture on it: in metafile mode an enhanced
// metafile, a Windows metafile picture, then a "PNG" file and a bitmap, both of the picture at
// 100 %; in raster mode those two only. Everything is made before the clipboard is opened. A
// clipboard another program holds, or memory that cannot be made for it, is reported in a
// message box with the system's reason, and the clipboard is left as it was: then false.
bool CopyPictureToClipboard(HWND owner, const Picture& picture, bool metafileMode, TwipsPerPixel tpp);

}  // namespace plumbo
