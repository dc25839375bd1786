#pragma once
// The picture files we write: their names, and byte-exact pieces of those we write ourselves
// (the Windows bitmap file and the placeable Windows metafile header), plus the pixel size a
// metafile is rendered at for "ビットマップ". All multi-byte fields are little-endian. Plain
// C++, no Win32.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/units.h"

namespace plumbo {

enum class PictureFileFormat { Bmp, Emf, Wmf, Png, Svg };

// The format's extension: ".bmp", ".emf", ".wmf", ".png" or ".svg".
std::wstring_view PictureFileExtension(PictureFileFormat format);

// The name a picture in format is saved under: a name ending in one of the five extensions
// (in any case) has it replaced by the format's, any other has the format's appended.
std::wstring PictureFileName(std::wstring_view name, PictureFileFormat format);

// ---- Windows bitmap (.bmp) ----

inline constexpr size_t kBmpFileHeaderSize = 14;  // BITMAPFILEHEADER
inline constexpr size_t kBmpInfoHeaderSize = 40;  // BITMAPINFOHEADER

// Bytes of one stored row: width * bits, rounded up to whole 32-bit words. 0 for a bad depth
// or a negative width.
int64_t BmpRowSize(int32_t width, int32_t bitsPerPixel);

// Bytes of the whole file for a width x height picture at a depth with a colour table of
// colorCount entries: headers, table and padded rows. None for a size or depth no file can
// have, or when the file would not fit the format's 32-bit size fields (4 GiB - 1). Asked
// before anything of that size is allocated.
std::optional<uint32_t> BmpFileSize(int32_t width, int32_t height, int32_t bitsPerPixel, size_t colorCount);

struct BmpSource {
    int32_t width = 0;         // > 0
    int32_t height = 0;        // > 0
    int32_t bitsPerPixel = 0;  // 1, 4, 8, 16 (5-5-5), 24 or 32; always stored uncompressed (BI_RGB)
    // RGBQUAD entries (0x00RRGGBB as a little-endian uint32 gives the bytes B, G, R, 0).
    // Needed, 1 to 2^bits entries, for 1, 4 and 8 bits; must be empty for the other depths.
    std::vector<uint32_t> colorTable;
    bool topDown = false;      // row 0 of `pixels` is the top row
    int64_t sourceRowSize = 0; // bytes from one source row to the next; 0 means BmpRowSize
    std::span<const uint8_t> pixels;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
};

// The whole file: file header "BM", BITMAPINFOHEADER, colour table, rows bottom-up, each
// padded with zeros to BmpRowSize. None if the source is inconsistent (bad depth or size,
// missing or surplus colour table, too few pixel bytes) or the file would pass 4 GiB.
std::optional<std::vector<uint8_t>> BuildBmpFile(const BmpSource& source);

// ---- Placeable Windows metafile (.wmf) ----

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
inline constexpr size_t kPlaceableHeaderSize = 22;

struct PlaceableBounds {
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
    uint16_t unitsPerInch = 0;
    bool exact = false;  // whether the bounds declare the extent without rounding
};

// Bounds (0, 0, x, y) and units per inch that declare an extent of x by y HIMETRIC. Up to
// 32767 the box is in HIMETRIC itself (2540 per inch). Larger extents use a coarser unit of
// k HIMETRIC, 2540 / k per inch, k the smallest divisor of 2540 that brings both sides within
// 16 bits; a k that also divides both sides is preferred so the extent stays exact, and
// otherwise the sides are rounded (halves to even). None for a negative extent or one beyond
// 32767 inches.
std::optional<PlaceableBounds> PlaceableBoundsForHimetric(int32_t himetricWidth, int32_t himetricHeight);

// The extent, in HIMETRIC, a header with these bounds declares.
double DeclaredHimetricWidth(const PlaceableBounds& b);
double DeclaredHimetricHeight(const PlaceableBounds& b);

// XOR of the ten 16-bit words before the checksum field.
uint16_t PlaceableChecksum(std::span<const uint8_t, kPlaceableHeaderSize> header);

// Key, handle 0, bounds, units per inch, reserved 0, checksum.
std::array<uint8_t, kPlaceableHeaderSize> BuildPlaceableHeader(const PlaceableBounds& b);

// Header followed by the metafile's own bytes.
std::vector<uint8_t> BuildPlaceableWmfFile(const PlaceableBounds& b, std::span<const uint8_t> metafileBits);

// ---- Metafile rendered to a bitmap ----

struct RenderedBitmapSize {
    int32_t width = 0;
    int32_t height = 0;
};

// w = HIMETRIC width in twips / horizontal twips per pixel, h likewise, each rounded halves to
// even. None when a result is negative or not a finite size that fits in 32 bits.
std::optional<RenderedBitmapSize> MetafileBitmapSize(int32_t himetricWidth, int32_t himetricHeight,
                                                     TwipsPerPixel tpp);

}  // namespace plumbo
