#pragma once
// Rules for the names of the files we write. Plain C++, no Win32.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plumbo {

// name ending in extension (".png"): Windows' trailing dots and spaces left off, a name that
// ends in one of `replaced` (in any case) has that ending replaced, any other has extension
// appended ("v1.2" -> "v1.2.png").
std::wstring NameWithExtension(std::wstring_view name, std::wstring_view extension,
                               std::span<const std::wstring_view> replaced);

// A full path ("C:\a\b", "\\server\share\b") in the form the file functions take beyond
// MAX_PATH ("\\?\C:\a\b", "\\?\UNC\server\share\b"). A path already in that form, or not a
// full path, comes back as it is.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

// The names a save uses beside its target, in the target's own folder so that every rename
// stays on one volume: the new contents are written to `temporary`, and the file there before
// is renamed to `previous` while the new one takes its place. number makes them unique.
struct SideNames {
    std::wstring temporary;
    std::wstring previous;
};
SideNames SideNamesFor(std::wstring_view fullPath, uint32_t number);

}  // namespace plumbo
