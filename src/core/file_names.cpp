#include "core/file_names.h"

#include <algorithm>
#include <cwchar>

namespace plumbo {

namespace {

// Extensions are compared as the file system does for the ASCII letters they are made of.
bool EndsWithIgnoringCase(std::wstring_view s, std::wstring_view end) {
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return s.size() >= end.size() &&
           std::equal(end.begin(), end.end(), s.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); });
}

}  // namespace

std::wstring NameWithExtension(std::wstring_view name, std::wstring_view extension,
                               std::span<const std::wstring_view> replaced) {
    // Windows drops them from the last part of a path: "shot.bmp. " is the file "shot.bmp".
    const size_t kept = name.find_last_not_of(L". ");
    name = kept == std::wstring_view::npos ? std::wstring_view() : name.substr(0, kept + 1);
    for (std::wstring_view old : replaced)
        if (EndsWithIgnoringCase(name, old)) {
            name.remove_suffix(old.size());
            break;
        }
    return std::wstring(name) + std::wstring(extension);
}

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
    const bool drive = fullPath.size() >= 3 && fullPath[1] == L':' && fullPath[2] == L'\\';
    const bool share = fullPath.size() > 2 && fullPath.substr(0, 2) == L"\\\\" && fullPath[2] != L'?' &&
                       fullPath[2] != L'.';
    if (drive) return L"\\\\?\\" + std::wstring(fullPath);
    if (share) return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
    return std::wstring(fullPath);
}

SideNames SideNamesFor(std::wstring_view fullPath, uint32_t number) {
    const std::wstring folder(fullPath.substr(0, fullPath.find_last_of(L'\\') + 1));
    wchar_t stem[16];
    std::swprintf(stem, 16, L"~plb%x", number);
    return {folder + stem + L".tmp", folder + stem + L".old"};
}

}  // namespace plumbo
