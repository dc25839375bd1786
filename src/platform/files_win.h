#pragma once
// Files on disk: whether one is there, and a file's contents replaced safely. Paths may be
// longer than MAX_PATH: the calls are given them in their extended form.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace plumbo {

// Whether path names a file (a folder is none).
bool FileExists(const std::wstring& path);

// Writes bytes to a new file beside path and puts it in path's place only once it is complete
// on disk. A file another program holds is waited for a moment without stopping the main loop:
// the calls are tried again from it. done runs once, with 0 when path holds the bytes, or with
// the Win32 error when path is as it was and nothing is left beside it; it runs before this
// returns when nothing had to be waited for.
void ReplaceFileContents(const std::wstring& path, std::span<const uint8_t> bytes,
                         std::function<void(DWORD error)> done);

}  // namespace plumbo
