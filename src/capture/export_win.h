#pragma once
// The viewer's "ファイル" menu: the picture to the clipboard and to .bmp, .emf, .wmf, .png and,
// for a re-drawn picture, .svg files.
#include <windows.h>

#include <functional>
#include <string>

#include "capture/file_formats.h"
#include "capture/viewer_win.h"
#include "core/units.h"
#include "platform/picture_win.h"

namespace plumbo {

// "クリップボードへコピー": the viewer's picture as its mode offers it (CopyPictureToClipboard).
void CopyViewerPicture(const Viewer& viewer);
// "ビットマップ", "エンハンストメタ", "ウインドウズメタ", "PNG", "SVG": asks for a file name (and whether to
// replace an existing file) and saves the viewer's picture.
void SaveViewerPicture(const Viewer& viewer, PictureFileFormat format);

// Builds the file and writes it in path's place (ReplaceFileContents). A failure is reported
// in a message box naming the file and the reason, and leaves an existing file as it was.
// done, when given, learns whether the file was written, once the write is over: a file
// another program holds is waited for from the main loop.
void SavePictureToFile(HWND owner, const std::wstring& path, const Picture& picture, PictureFileFormat format,
                       TwipsPerPixel tpp, const RedrawnParts* parts = nullptr,
                       std::function<void(bool saved)> done = nullptr);

}  // namespace plumbo
