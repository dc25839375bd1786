#pragma once
// The viewer's picture in the forms it is passed on in: a bitmap of it, a Windows metafile of
// it, and the whole file for each format it is saved in. The files are built by our own code
// from the handles.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "capture/file_formats.h"
#include "core/units.h"
#include "platform/picture_win.h"
#include "state/program_win.h"

namespace plumbo {

// A bitmap picture of the picture as it shows: a bitmap is duplicated (palette included), a
// metafile is rendered on white at its HIMETRIC size in screen pixels. Empty for other kinds.
Picture PictureToBitmap(const Picture& picture, TwipsPerPixel tpp);

// The enhanced metafile as a Windows metafile whose extent is the picture's true HIMETRIC
// size. reference: the DC the conversion measures against (the viewer's). Empty for a
// picture that is not an enhanced metafile.
Picture EmfToWmfPicture(HDC reference, const Picture& picture);

// Builds the whole file for one format into bytes. Returns 0, or why there is no file:
// ERROR_INVALID_DATA when the picture cannot be written in the format, ERROR_FILE_TOO_LARGE
// when the file would not fit the format's 32-bit sizes, ERROR_NOT_ENOUGH_MEMORY when memory
// or graphics resources ran out, or for a PNG file the HRESULT the codec failed with. The size
// is checked before anything of that size is made. An SVG file is made of the parts the
// picture was re-drawn from; without them there is none.
DWORD PictureFileBytes(const Picture& picture, PictureFileFormat format, HDC reference, TwipsPerPixel tpp,
                       std::vector<uint8_t>& bytes, const RedrawnParts* parts = nullptr);

}  // namespace plumbo
