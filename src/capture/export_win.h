#pragma once
// The viewer's "ファイル" menu: the picture to the clipboard and to .bmp, .emf, .wmf, .png and,
// for a re-drawn picture, .svg files.
// The files are written by our own code from the handles; a file is replaced only once its
// new contents are complete on disk. Every question and failure message is modal, so no
// other window of ours takes a command while it is open.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "capture/viewer_win.h"
#include "core/units.h"
#include "platform/picture_win.h"

namespace plumbo {

enum class PictureFileFormat { Bmp, Emf, Wmf, Png, Svg };

// "クリップボードへコピー": the viewer's picture as its mode offers it; a clipboard another
// program holds is reported.
void CopyViewerPicture(const Viewer& viewer);
// "ビットマップ", "エンハンストメタ", "ウインドウズメタ", "PNG", "SVG": asks for a file name (and whether to
// replace an existing file) and saves the viewer's picture; a failure is reported.
void SaveViewerPicture(const Viewer& viewer, PictureFileFormat format);

// A bitmap picture of the picture as it shows: a bitmap is duplicated (palette included), a
// metafile is rendered on white at its HIMETRIC size in screen pixels. Empty for other kinds.
Picture PictureToBitmap(const Picture& picture, TwipsPerPixel tpp);

// The enhanced metafile as a Windows metafile whose extent is the picture's true HIMETRIC
// size. reference: the DC the conversion measures against (the viewer's). Empty for a
// picture that is not an enhanced metafile.
Picture EmfToWmfPicture(HDC reference, const Picture& picture);

// Clears the clipboard and puts the picture on it: in metafile mode an enhanced metafile, a
// Windows metafile picture, then a "PNG" file and a bitmap, both of the picture at 100 %; in
// raster mode those two only. Asks
// nothing and shows nothing. False when the clipboard could not be opened (another program
// holds it); *error, when given, then says why.
bool CopyPictureToClipboard(HWND owner, const Picture& picture, bool metafileMode, TwipsPerPixel tpp,
                            DWORD* error = nullptr);

// Tells the user the clipboard could not be opened, and why.
void ReportClipboardFailure(HWND owner, DWORD error);

// Builds the whole file for one format into bytes. Returns 0, or why there is no file:
// ERROR_INVALID_DATA when the picture cannot be written in the format, ERROR_FILE_TOO_LARGE
// when the file would not fit the format's 32-bit sizes, ERROR_NOT_ENOUGH_MEMORY when memory
// or graphics resources ran out, or for a PNG file the HRESULT the codec failed with. The size
// is checked before anything of that size is made. An SVG file is made of the parts the
// picture was re-drawn from; without them there is none.
DWORD PictureFileBytes(const Picture& picture, PictureFileFormat format, HDC reference, TwipsPerPixel tpp,
                       std::vector<uint8_t>& bytes, const RedrawnParts* parts = nullptr);

// Writes a temporary file beside path and moves it over path only when it is complete.
// Returns 0 or the Win32 error; on an error path is untouched and no temporary file is left.
DWORD WriteFileReplacing(const std::wstring& path, std::span<const uint8_t> bytes);

// Builds and writes the file; a failure is reported in a message box naming the file and the
// reason, and leaves an existing file as it was. True when the file was written.
bool SavePictureToFile(HWND owner, const std::wstring& path, const Picture& picture, PictureFileFormat format,
                       TwipsPerPixel tpp, const RedrawnParts* parts = nullptr);

}  // namespace plumbo
