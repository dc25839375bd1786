#pragma once
// The viewer's "ファイル" menu: the picture to the clipboard and to .bmp, .emf and .wmf files.
// The files are written by our own code from the handles; a file is replaced only once its
// new contents are complete on disk.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "capture/picture_win.h"
#include "platform/units.h"

namespace plumbo {

enum class PictureFileFormat { Bmp, Emf, Wmf };

// A bitmap picture of the picture as it shows: a bitmap is duplicated (palette included), a
// metafile is rendered on white at its HIMETRIC size in screen pixels. Empty for other kinds.
Picture PictureToBitmap(const Picture& picture, TwipsPerPixel tpp);

// The enhanced metafile as a Windows metafile whose extent is the picture's true HIMETRIC
// size. reference: the DC the conversion measures against (the viewer's). Empty for a
// picture that is not an enhanced metafile.
Picture EmfToWmfPicture(HDC reference, const Picture& picture);

// Clears the clipboard and puts the picture on it: in metafile mode an enhanced metafile, a
// Windows metafile picture and a bitmap, in that order; in raster mode a bitmap only.
// False when the clipboard could not be opened.
bool CopyPictureToClipboard(HWND owner, const Picture& picture, bool metaMode, TwipsPerPixel tpp);

// The whole file for one format, or none when the picture cannot be written in it.
std::optional<std::vector<uint8_t>> PictureFileBytes(const Picture& picture, PictureFileFormat format,
                                                     HDC reference, TwipsPerPixel tpp);

// Writes a temporary file beside path and moves it over path only when it is complete.
// Returns 0 or the Win32 error; on an error path is untouched and no temporary file is left.
DWORD WriteFileReplacing(const std::wstring& path, std::span<const uint8_t> bytes);

// Builds and writes the file; a failure is reported in a message box naming the file and the
// reason. True when the file was written.
bool SavePictureToFile(HWND owner, const std::wstring& path, const Picture& picture, PictureFileFormat format,
                       TwipsPerPixel tpp);

// The menu commands.
void mFileCopy_Click();
void mFileSaveBMP_Click();
void mFileSaveEMF_Click();
void mFileSaveWMF_Click();

}  // namespace plumbo
