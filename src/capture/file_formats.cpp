#include "capture/file_formats.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/file_names.h"
#include "core/numeric.h"

namespace plumbo {

namespace {

// In the order of PictureFileFormat.
constexpr std::wstring_view kPictureExtensions[] = {L".bmp", L".emf", L".wmf", L".png", L".svg"};

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool IsBmpDepth(int32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

std::wstring_view PictureFileExtension(PictureFileFormat format) {
    return kPictureExtensions[static_cast<size_t>(format)];
}

std::wstring PictureFileName(std::wstring_view name, PictureFileFormat format) {
    return NameWithExtension(name, PictureFileExtension(format), kPictureExtensions);
}

int64_t BmpRowSize(int32_t width, int32_t bitsPerPixel) {
    if (width < 0 || !IsBmpDepth(bitsPerPixel)) return 0;
    return (static_cast<int64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

std::optional<uint32_t> BmpFileSize(int32_t width, int32_t height, int32_t bitsPerPixel, size_t colorCount) {
    if (width <= 0 || height <= 0 || !IsBmpDepth(bitsPerPixel)) return std::nullopt;
    constexpr uint64_t kLimit = std::numeric_limits<uint32_t>::max();
    const uint64_t headers = kBmpFileHeaderSize + kBmpInfoHeaderSize;
    if (colorCount > (kLimit - headers) / 4) return std::nullopt;
    const uint64_t offBits = headers + 4 * static_cast<uint64_t>(colorCount);
    // Row size times height can pass what a signed 64-bit product holds: compare by dividing.
    const uint64_t rowSize = static_cast<uint64_t>(BmpRowSize(width, bitsPerPixel));
    if (rowSize > (kLimit - offBits) / static_cast<uint64_t>(height)) return std::nullopt;
    return static_cast<uint32_t>(offBits + rowSize * static_cast<uint64_t>(height));
}

std::optional<std::vector<uint8_t>> BuildBmpFile(const BmpSource& s) {
    if (s.width <= 0 || s.height <= 0 || !IsBmpDepth(s.bitsPerPixel)) return std::nullopt;

    const size_t colors = s.colorTable.size();
    if (s.bitsPerPixel <= 8) {
        if (colors == 0 || colors > (size_t{1} << s.bitsPerPixel)) return std::nullopt;
    } else if (colors != 0) {
        return std::nullopt;
    }

    const int64_t rowSize = BmpRowSize(s.width, s.bitsPerPixel);
    // Only the bytes that hold pixels are copied; the padding is ours and always zero.
    const int64_t usedBytes = (static_cast<int64_t>(s.width) * s.bitsPerPixel + 7) / 8;
    const int64_t srcRow = s.sourceRowSize == 0 ? rowSize : s.sourceRowSize;
    if (srcRow < usedBytes) return std::nullopt;
    const int64_t needed = srcRow * (s.height - 1) + usedBytes;
    if (static_cast<int64_t>(s.pixels.size()) < needed) return std::nullopt;

    const std::optional<uint32_t> size = BmpFileSize(s.width, s.height, s.bitsPerPixel, colors);
    if (!size) return std::nullopt;
    const int64_t offBits = static_cast<int64_t>(kBmpFileHeaderSize + kBmpInfoHeaderSize + 4 * colors);
    const int64_t imageSize = rowSize * s.height;
    const int64_t fileSize = *size;

    std::vector<uint8_t> out(static_cast<size_t>(fileSize), 0);
    uint8_t* p = out.data();

    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<uint32_t>(fileSize));
    // bytes 6..9: two reserved words, zero
    Put32(p + 10, static_cast<uint32_t>(offBits));

    uint8_t* info = p + kBmpFileHeaderSize;
    Put32(info + 0, static_cast<uint32_t>(kBmpInfoHeaderSize));
    Put32(info + 4, static_cast<uint32_t>(s.width));
    Put32(info + 8, static_cast<uint32_t>(s.height));  // positive: rows stored bottom-up
    Put16(info + 12, 1);                                // planes
    Put16(info + 14, static_cast<uint16_t>(s.bitsPerPixel));
    Put32(info + 16, 0);  // BI_RGB
    Put32(info + 20, static_cast<uint32_t>(imageSize));
    Put32(info + 24, static_cast<uint32_t>(s.xPelsPerMeter));
    Put32(info + 28, static_cast<uint32_t>(s.yPelsPerMeter));
    // A full table is written as 0 ("all 2^bits colours"), as Windows itself does.
    const bool fullTable = s.bitsPerPixel <= 8 && colors == (size_t{1} << s.bitsPerPixel);
    Put32(info + 32, fullTable ? 0u : static_cast<uint32_t>(colors));
    Put32(info + 36, 0);  // all colours important

    uint8_t* table = info + kBmpInfoHeaderSize;
    for (size_t i = 0; i < colors; ++i) Put32(table + 4 * i, s.colorTable[i] & 0x00FFFFFFu);

    uint8_t* bits = p + offBits;
    for (int32_t fileRow = 0; fileRow < s.height; ++fileRow) {
        // File row 0 is the bottom row of the picture.
        const int32_t srcIndex = s.topDown ? s.height - 1 - fileRow : fileRow;
        const uint8_t* src = s.pixels.data() + static_cast<int64_t>(srcIndex) * srcRow;
        std::memcpy(bits + static_cast<int64_t>(fileRow) * rowSize, src, static_cast<size_t>(usedBytes));
    }
    return out;
}

namespace {

constexpr int32_t kMaxBox = 32767;
// Divisors of 2540 (= 2 * 2 * 5 * 127) in ascending order: the coarser units that keep a
// whole number of units per inch.
constexpr std::array<int32_t, 12> kHimetricUnitSteps = {1, 2, 4, 5, 10, 20, 127, 254, 508, 635, 1270, 2540};

}  // namespace

std::optional<PlaceableBounds> PlaceableBoundsForHimetric(int32_t himetricWidth, int32_t himetricHeight) {
    if (himetricWidth < 0 || himetricHeight < 0) return std::nullopt;
    const int32_t largest = std::max(himetricWidth, himetricHeight);

    auto make = [&](int32_t k, bool exact) {
        PlaceableBounds b;
        b.right = static_cast<int16_t>(RoundHalfEven(static_cast<double>(himetricWidth) / k));
        b.bottom = static_cast<int16_t>(RoundHalfEven(static_cast<double>(himetricHeight) / k));
        b.unitsPerInch = static_cast<uint16_t>(kHimetricPerInch / k);
        b.exact = exact;
        return b;
    };

    for (int32_t k : kHimetricUnitSteps)
        if (largest / k <= kMaxBox && himetricWidth % k == 0 && himetricHeight % k == 0) return make(k, true);
    for (int32_t k : kHimetricUnitSteps)
        if (RoundHalfEvenD(static_cast<double>(largest) / k) <= kMaxBox) return make(k, false);
    return std::nullopt;
}

double DeclaredHimetricWidth(const PlaceableBounds& b) {
    if (b.unitsPerInch == 0) return 0.0;
    return (static_cast<double>(b.right) - b.left) * kHimetricPerInch / b.unitsPerInch;
}

double DeclaredHimetricHeight(const PlaceableBounds& b) {
    if (b.unitsPerInch == 0) return 0.0;
    return (static_cast<double>(b.bottom) - b.top) * kHimetricPerInch / b.unitsPerInch;
}

uint16_t PlaceableChecksum(std::span<const uint8_t, kPlaceableHeaderSize> header) {
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(header[i] | (header[i + 1] << 8));
    return sum;
}

std::array<uint8_t, kPlaceableHeaderSize> BuildPlaceableHeader(const PlaceableBounds& b) {
    std::array<uint8_t, kPlaceableHeaderSize> h{};
    Put32(&h[0], kPlaceableKey);
    Put16(&h[4], 0);  // handle, meaningful only in memory
    Put16(&h[6], static_cast<uint16_t>(b.left));
    Put16(&h[8], static_cast<uint16_t>(b.top));
    Put16(&h[10], static_cast<uint16_t>(b.right));
    Put16(&h[12], static_cast<uint16_t>(b.bottom));
    Put16(&h[14], b.unitsPerInch);
    Put32(&h[16], 0);  // reserved
    Put16(&h[20], PlaceableChecksum(h));
    return h;
}

std::vector<uint8_t> BuildPlaceableWmfFile(const PlaceableBounds& b, std::span<const uint8_t> metafileBits) {
    auto header = BuildPlaceableHeader(b);
    std::vector<uint8_t> out(header.size() + metafileBits.size());
    std::copy(header.begin(), header.end(), out.begin());
    std::copy(metafileBits.begin(), metafileBits.end(), out.begin() + static_cast<std::ptrdiff_t>(header.size()));
    return out;
}

std::optional<RenderedBitmapSize> MetafileBitmapSize(int32_t himetricWidth, int32_t himetricHeight,
                                                     TwipsPerPixel tpp) {
    auto w = TryRoundToInt32(static_cast<double>(himetricWidth) * kTwipsPerHimetric / tpp.x);
    auto h = TryRoundToInt32(static_cast<double>(himetricHeight) * kTwipsPerHimetric / tpp.y);
    if (!w || !h || *w < 0 || *h < 0) return std::nullopt;
    return RenderedBitmapSize{*w, *h};
}

}  // namespace plumbo
