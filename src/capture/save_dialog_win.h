#pragma once
// The save dialog of the five save commands.
#include <windows.h>

#include <string>

#include "capture/file_formats.h"

namespace plumbo {

// Asks for the file to save a picture in format to. The name offered is the last one given,
// with the format's extension, and the name given back always ends in that extension
// (PictureFileName). Empty when the user cancels.
std::wstring AskPictureFileName(HWND owner, PictureFileFormat format);

}  // namespace plumbo
