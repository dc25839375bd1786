#include "capture/file_formats.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace plumbo {
namespace {

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

// Little-endian fields, each given as {value, bytes}.
std::vector<uint8_t> Le(std::initializer_list<std::pair<uint32_t, int>> fields) {
    std::vector<uint8_t> out;
    for (auto [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return out;
}

BmpSource Source(int32_t width, int32_t height, int32_t bits, std::span<const uint8_t> pixels) {
    BmpSource s;
    s.width = width;
    s.height = height;
    s.bitsPerPixel = bits;
    s.pixels = pixels;
    return s;
}

TEST(BmpRowSize, PadsEachRowToWholeDwords) {
    struct Case { int32_t width, bits; int64_t bytes; };
    const Case cases[] = {
        {1, 24, 4},  {2, 24, 8},  {3, 24, 12}, {4, 24, 12},  // 3, 6, 9, 12 bytes of pixels
        {1, 32, 4},  {2, 32, 8},  {3, 32, 12}, {4, 32, 16},
        {32, 1, 4},  {33, 1, 8},  {9, 4, 8},   {5, 8, 8},   {3, 16, 8},
        {0, 24, 0},  {1, 2, 0},   {-1, 24, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(BmpRowSize(c.width, c.bits), c.bytes) << c.width << " px at " << c.bits;
}

TEST(BmpFileSize, CountsHeadersTableAndRowsUpToThe32BitLimit) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case { int32_t width, height, bits; size_t colors; std::optional<uint32_t> bytes; };
    const Case cases[] = {
        {1, 1, 24, 0, 58u},                            // 54 + one padded row of 4
        {2, 2, 24, 0, 70u},
        {5, 3, 8, 256, 1102u},                         // 54 + 1024 of table + 3 rows of 8
        {1, 1, 1, 2, 66u},
        {107374181, 10, 32, 0, 4294967294u},           // the largest such file, one byte short of 4 GiB
        {107374182, 10, 32, 0, std::nullopt},          // 40 bytes more
        {65536, 16383, 32, 0, 4294705206u},
        {65536, 16384, 32, 0, std::nullopt},           // exactly 4 GiB of pixels
        {200000, 200000, 1, 2, std::nullopt},          // even at one bit per pixel
        {kMax, kMax, 32, 0, std::nullopt},             // row x height would overflow a signed 64-bit product
        {1, 1, 8, std::numeric_limits<size_t>::max() / 4, std::nullopt},
        {0, 1, 24, 0, std::nullopt},  {1, 0, 24, 0, std::nullopt},  {-1, 1, 24, 0, std::nullopt},
        {1, 1, 2, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BmpFileSize(c.width, c.height, c.bits, c.colors), c.bytes)
            << c.width << " x " << c.height << " at " << c.bits << " bits, " << c.colors << " colours";
}

TEST(BuildBmpFile, TrueColourHeadersAndPaddedBottomUpRows) {
    for (int32_t bits : {24, 32}) {
        for (int32_t width = 1; width <= 4; ++width) {
            SCOPED_TRACE(testing::Message() << width << " px at " << bits << " bits");
            const int64_t used = width * bits / 8;
            const int64_t stride = BmpRowSize(width, bits);
            // Two rows, top-down, every byte distinct: row r, byte i holds 0x10 * (r + 1) + i.
            std::vector<uint8_t> src;
            for (int r = 0; r < 2; ++r)
                for (int64_t i = 0; i < stride; ++i) src.push_back(static_cast<uint8_t>(0x10 * (r + 1) + i));
            BmpSource s = Source(width, 2, bits, src);
            s.topDown = true;
            s.xPelsPerMeter = 3780;
            s.yPelsPerMeter = 3779;
            auto file = BuildBmpFile(s);
            ASSERT_TRUE(file.has_value());
            const std::vector<uint8_t>& f = *file;

            const auto size = static_cast<uint32_t>(54 + 2 * stride), bpp = static_cast<uint32_t>(bits);
            ASSERT_EQ(f.size(), size);
            // "BM", size, reserved, offset (no colour table); header size, width, height (positive:
            // bottom-up), planes, depth, BI_RGB, image size, resolution, colours used and important.
            EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 54),
                      Le({{0x4D42, 2}, {size, 4}, {0, 4}, {54, 4}, {40, 4}, {static_cast<uint32_t>(width), 4}, {2, 4},
                          {1, 2}, {bpp, 2}, {0, 4}, {size - 54, 4}, {3780, 4}, {3779, 4}, {0, 4}, {0, 4}}));

            // First stored row is the source's bottom row (row 1), then row 0; padding is zero.
            for (int fileRow = 0; fileRow < 2; ++fileRow)
                for (int64_t i = 0; i < stride; ++i)
                    EXPECT_EQ(f[54 + fileRow * stride + i], i < used ? 0x10 * (2 - fileRow) + i : 0)
                        << "row " << fileRow << " byte " << i;
        }
    }
}

TEST(BuildBmpFile, BottomUpSourceKeepsItsOrderAndItsPaddingIsNotCopied) {
    // 1 px at 24 bits from rows 8 bytes apart whose tails hold 0xEE.
    const std::vector<uint8_t> src = {1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 4, 5, 6, 0xEE};
    BmpSource s = Source(1, 2, 24, src);
    s.sourceRowSize = 8;
    auto file = BuildBmpFile(s);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(std::vector<uint8_t>(file->begin() + 54, file->end()), (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));
}

TEST(BuildBmpFile, PalettedDepthsCarryTheirColourTable) {
    struct Case { int32_t bits; int32_t width; size_t colors; uint32_t offBits; uint32_t clrUsed; int64_t stride; };
    const Case cases[] = {
        {1, 3, 2, 54 + 8, 0, 4},        // full two-colour table
        {4, 3, 3, 54 + 12, 3, 4},       // partial table: count written
        {8, 5, 256, 54 + 1024, 0, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.colors << " colours");
        const std::vector<uint8_t> src(static_cast<size_t>(c.stride), 0xA5);
        BmpSource s = Source(c.width, 1, c.bits, src);
        for (size_t i = 0; i < c.colors; ++i) s.colorTable.push_back(0x00112233u + static_cast<uint32_t>(i));
        auto file = BuildBmpFile(s);
        ASSERT_TRUE(file.has_value());
        const std::vector<uint8_t>& f = *file;
        EXPECT_EQ(f.size(), c.offBits + c.stride);
        EXPECT_EQ(Get32(f, 10), c.offBits);
        EXPECT_EQ(f[28], c.bits);
        EXPECT_EQ(Get32(f, 46), c.clrUsed);
        // RGBQUAD: blue, green, red, reserved.
        EXPECT_EQ(Get32(f, 54), 0x00112233u);
        EXPECT_EQ(Get32(f, 54 + 4 * (c.colors - 1)), 0x00112233u + c.colors - 1);
        // Only the bytes holding pixels come from the source.
        const int64_t used = (static_cast<int64_t>(c.width) * c.bits + 7) / 8;
        for (int64_t i = 0; i < c.stride; ++i) EXPECT_EQ(f[c.offBits + i], i < used ? 0xA5 : 0) << "byte " << i;
    }
}

TEST(BuildBmpFile, RefusesInconsistentSources) {
    const std::vector<uint8_t> px(64, 0);
    auto base = [&] { return Source(2, 2, 24, px); };
    ASSERT_TRUE(BuildBmpFile(base()).has_value());

    BmpSource s = base(); s.bitsPerPixel = 2;                 EXPECT_FALSE(BuildBmpFile(s)) << "2 bits";
    s = base(); s.width = 0;                                   EXPECT_FALSE(BuildBmpFile(s)) << "no width";
    s = base(); s.height = 0;                                  EXPECT_FALSE(BuildBmpFile(s)) << "no height";
    s = base(); s.colorTable = {0};                            EXPECT_FALSE(BuildBmpFile(s)) << "table at 24 bits";
    s = base(); s.bitsPerPixel = 8;                            EXPECT_FALSE(BuildBmpFile(s)) << "8 bits, no table";
    s = base(); s.bitsPerPixel = 1; s.colorTable = {0, 1, 2};  EXPECT_FALSE(BuildBmpFile(s)) << "3 colours at 1 bit";
    s = base(); s.pixels = std::span<const uint8_t>(px.data(), 13);
    EXPECT_FALSE(BuildBmpFile(s)) << "too few bytes (needs 8 + 6)";
    s = base(); s.pixels = std::span<const uint8_t>(px.data(), 14);
    EXPECT_TRUE(BuildBmpFile(s)) << "last row needs only its pixel bytes";
    s = base(); s.sourceRowSize = 5;                           EXPECT_FALSE(BuildBmpFile(s)) << "rows overlap";
}

TEST(PlaceableHeader, BytesForTenThousandByFiveThousandHimetric) {
    auto b = PlaceableBoundsForHimetric(10000, 5000);
    ASSERT_TRUE(b.has_value());
    // Checksum worked by hand: CDD7 ^ 9AC6 ^ 0 ^ 0 ^ 0 ^ 2710 ^ 1388 ^ 09EC ^ 0 ^ 0 = 6A65.
    const std::array<uint8_t, 22> expect = {0xD7, 0xCD, 0xC6, 0x9A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10,
                                            0x27, 0x88, 0x13, 0xEC, 0x09, 0x00, 0x00, 0x00, 0x00, 0x65, 0x6A};
    EXPECT_EQ(BuildPlaceableHeader(*b), expect);

    // The whole file is the header, then the metafile's bytes.
    const std::vector<uint8_t> bits = {1, 0, 9, 0, 0, 3};
    std::vector<uint8_t> file = BuildPlaceableWmfFile(*b, bits);
    ASSERT_EQ(file.size(), 28u);
    EXPECT_TRUE(std::equal(expect.begin(), expect.end(), file.begin()));
    EXPECT_TRUE(std::equal(bits.begin(), bits.end(), file.begin() + 22));
}

TEST(PlaceableHeader, ChecksumIsTheXorOfTheTenWordsBeforeIt) {
    // Word k holds bit k, so each word shows in the sum on its own; the checksum field itself
    // (set to FFFF here) must not count.
    std::array<uint8_t, 22> h{};
    for (int k = 0; k < 10; ++k) {
        h[2 * k] = static_cast<uint8_t>((1u << k) & 0xFF);
        h[2 * k + 1] = static_cast<uint8_t>((1u << k) >> 8);
    }
    h[20] = h[21] = 0xFF;
    EXPECT_EQ(PlaceableChecksum(h), 0x03FF);
}

TEST(PlaceableBoundsForHimetric, DeclaresTheExtentInTheFinestUnitThatFits) {
    struct Case { int32_t w, h; int16_t right, bottom; uint16_t upi; bool exact; };
    const Case cases[] = {
        {10000, 5000, 10000, 5000, 2540, true},
        {32767, 1, 32767, 1, 2540, true},
        {32768, 100, 16384, 50, 1270, true},        // 2 HIMETRIC units
        {100000, 50000, 25000, 12500, 635, true},   // 4 HIMETRIC units
        {40000, 5, 8000, 1, 508, true},             // 2 and 4 would round the 5
        {40001, 10, 20000, 5, 1270, false},         // nothing divides both: 20000.5 -> 20000
        {1, 83228180, 0, 32767, 1, false},          // 32767 inches tall
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        auto b = PlaceableBoundsForHimetric(c.w, c.h);
        ASSERT_TRUE(b.has_value());
        EXPECT_EQ(b->left, 0);
        EXPECT_EQ(b->top, 0);
        EXPECT_EQ(b->right, c.right);
        EXPECT_EQ(b->bottom, c.bottom);
        EXPECT_EQ(b->unitsPerInch, c.upi);
        EXPECT_EQ(b->exact, c.exact);
        if (c.exact) {
            // The file declares the picture's own HIMETRIC size, not its size in twips.
            EXPECT_DOUBLE_EQ(DeclaredHimetricWidth(*b), c.w);
            EXPECT_DOUBLE_EQ(DeclaredHimetricHeight(*b), c.h);
        }
    }
    EXPECT_FALSE(PlaceableBoundsForHimetric(-1, 10).has_value());
    EXPECT_FALSE(PlaceableBoundsForHimetric(10, -1).has_value());
    EXPECT_FALSE(PlaceableBoundsForHimetric(83229451, 10).has_value());  // 32767.5004 in
    EXPECT_FALSE(PlaceableBoundsForHimetric(std::numeric_limits<int32_t>::max(), 1).has_value());
}

TEST(MetafileBitmapSize, RendersHimetricAtTheScreenResolution) {
    struct Case { int32_t w, h; TwipsPerPixel tpp; int32_t pxW, pxH; };
    const Case cases[] = {
        {10000, 5000, {15.0, 15.0}, 378, 189},  // 377.95 and 188.98
        {10000, 5000, {15.0, 12.0}, 378, 236},  // 236.22
        {0, 0, {15.0, 15.0}, 0, 0},
    };
    for (const Case& c : cases) {
        auto s = MetafileBitmapSize(c.w, c.h, c.tpp);
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(s->width, c.pxW) << c.w << " x " << c.h;
        EXPECT_EQ(s->height, c.pxH) << c.w << " x " << c.h;
    }
    EXPECT_FALSE(MetafileBitmapSize(10000, 5000, {0.0, 15.0}).has_value());
    EXPECT_FALSE(MetafileBitmapSize(-10000, 5000, {15.0, 15.0}).has_value());
}

}  // namespace
}  // namespace plumbo
