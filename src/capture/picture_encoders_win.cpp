#include "capture/picture_encoders_win.h"

#include <new>
#include <optional>

#include "capture/file_formats.h"
#include "core/numeric.h"
#include "platform/gdi_win.h"
#include "platform/png_win.h"

namespace plumbo {

namespace {

// Copies the caller owns: the viewer keeps its picture.
HBITMAP CopyBitmap(HBITMAP bmp) {
    return static_cast<HBITMAP>(CopyImage(bmp, IMAGE_BITMAP, 0, 0, 0));
}

HPALETTE CopyPalette(HPALETTE pal) {
    if (!pal) return nullptr;
    UINT count = GetPaletteEntries(pal, 0, 0, nullptr);
    if (count == 0) return nullptr;
    std::vector<uint8_t> buf(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(pal, 0, count, lp->palPalEntry);
    return CreatePalette(lp);
}

// The metafile drawn on white into a new screen-compatible bitmap of w x h pixels.
HBITMAP RenderMetafile(const Picture& picture, TwipsPerPixel tpp) {
    auto size = MetafileBitmapSize(picture.HimetricWidth(), picture.HimetricHeight(), tpp);
    if (!size) return nullptr;
    const int w = size->width;
    const int h = size->height;

    WindowDc screen(GetDesktopWindow());
    MemoryDc mem(screen.Get());
    HBITMAP bmp = CreateCompatibleBitmap(screen.Get(), w, h);
    if (!bmp) return nullptr;
    {
        SelectGuard selBmp(mem.Get(), bmp);
        {
            // The default pen's outline falls just outside the bitmap.
            SelectGuard selBrush(mem.Get(), GetStockObject(WHITE_BRUSH));
            Rectangle(mem.Get(), -1, -1, w + 1, h + 1);
        }
        if (HENHMETAFILE emf = picture.EnhMetafile()) {
            RECT r{0, 0, w, h};
            PlayEnhMetaFile(mem.Get(), emf, &r);
        } else if (HMETAFILE wmf = picture.Metafile()) {
            SetMapMode(mem.Get(), MM_ANISOTROPIC);
            SetViewportRect(mem.Get(), 0, 0, w, h);
            PlayMetaFile(mem.Get(), wmf);
        }
    }
    return bmp;
}

std::vector<uint8_t> WinMetafileBits(HDC reference, HENHMETAFILE emf) {
    UINT n = GetWinMetaFileBits(emf, 0, nullptr, MM_ANISOTROPIC, reference);
    if (n == 0) return {};
    std::vector<uint8_t> bits(n);
    if (GetWinMetaFileBits(emf, n, bits.data(), MM_ANISOTROPIC, reference) == 0) return {};
    return bits;
}

// The depth a bitmap of bitsPerPixel is stored at: its own when a .bmp file can hold it.
int BmpDepthFor(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return bitsPerPixel;
    default:
        return 24;
    }
}

// Paletted depths always carry the full colour table.
size_t BmpColorCount(int bits) { return bits <= 8 ? size_t{1} << bits : 0; }

// The bitmap's pixels in the layout info asks for, all `height` rows of them; a paletted
// bitmap takes its colours from the palette in the context.
bool ReadDibBits(HBITMAP bmp, HPALETTE palette, BITMAPINFO* info, int height, std::vector<uint8_t>& pixels) {
    WindowDc screen(nullptr);
    MemoryDc mem(screen.Get());
    PaletteGuard selected(mem.Get(), palette);
    return GetDIBits(mem.Get(), bmp, 0, static_cast<UINT>(height), pixels.data(), info, DIB_RGB_COLORS) == height;
}

// The bitmap's own bits at its own depth, bottom-up as GetDIBits gives them. The file's size
// is checked before the pixels are fetched, so a picture too large for the format costs no
// memory; running out of memory on the way throws std::bad_alloc.
DWORD BmpFileOf(HBITMAP bmp, HPALETTE palette, TwipsPerPixel tpp, std::vector<uint8_t>& file) {
    BITMAP bm{};
    if (!GetObjectW(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return ERROR_INVALID_DATA;
    const int bits = BmpDepthFor(bm.bmBitsPixel * bm.bmPlanes);
    if (!BmpFileSize(bm.bmWidth, bm.bmHeight, bits, BmpColorCount(bits))) return ERROR_FILE_TOO_LARGE;

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = bm.bmWidth;
    info.header.biHeight = bm.bmHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;

    const int64_t rowSize = BmpRowSize(bm.bmWidth, bits);
    std::vector<uint8_t> pixels(static_cast<size_t>(rowSize * bm.bmHeight));
    if (!ReadDibBits(bmp, palette, reinterpret_cast<BITMAPINFO*>(&info), bm.bmHeight, pixels))
        return ERROR_INVALID_DATA;

    BmpSource source;
    source.width = bm.bmWidth;
    source.height = bm.bmHeight;
    source.bitsPerPixel = bits;
    for (size_t i = 0; i < BmpColorCount(bits); ++i) {
        const RGBQUAD& c = info.colors[i];
        source.colorTable.push_back((uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue);
    }
    source.pixels = pixels;
    // The resolution of the monitor the picture is shown on.
    source.xPelsPerMeter = RoundHalfEven(kTwipsPerInch / tpp.x * 10000.0 / 254.0);
    source.yPelsPerMeter = RoundHalfEven(kTwipsPerInch / tpp.y * 10000.0 / 254.0);
    std::optional<std::vector<uint8_t>> built = BuildBmpFile(source);
    if (!built) return ERROR_INVALID_DATA;
    file = std::move(*built);
    return 0;
}

// The size in pixels a metafile renders to, or why it cannot be rendered.
DWORD RenderedSize(const Picture& picture, TwipsPerPixel tpp, RenderedBitmapSize& size) {
    if (picture.HimetricWidth() <= 0 || picture.HimetricHeight() <= 0) return ERROR_INVALID_DATA;
    std::optional<RenderedBitmapSize> rendered =
        MetafileBitmapSize(picture.HimetricWidth(), picture.HimetricHeight(), tpp);
    if (!rendered) return ERROR_FILE_TOO_LARGE;
    if (rendered->width <= 0 || rendered->height <= 0) return ERROR_INVALID_DATA;
    size = *rendered;
    return 0;
}

// A metafile is saved as the bitmap it renders to: screen depth, its HIMETRIC size in pixels.
DWORD RenderedBmpFileOf(const Picture& picture, TwipsPerPixel tpp, std::vector<uint8_t>& file) {
    RenderedBitmapSize size{};
    if (DWORD error = RenderedSize(picture, tpp, size)) return error;
    int screenBits = 0;
    {
        WindowDc screen(nullptr);
        screenBits = GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
    }
    const int bits = BmpDepthFor(screenBits);
    if (!BmpFileSize(size.width, size.height, bits, BmpColorCount(bits))) return ERROR_FILE_TOO_LARGE;
    Picture rendered = PictureToBitmap(picture, tpp);
    // The size fits the format, so the system could not give us a bitmap of it.
    if (rendered.Empty()) return ERROR_NOT_ENOUGH_MEMORY;
    return BmpFileOf(rendered.Bitmap(), rendered.Palette(), tpp, file);
}

// The picture as the viewer shows it at 100 %, in full colour: a bitmap as it is, a metafile
// rendered as for a .bmp file.
DWORD PngFileOf(const Picture& picture, TwipsPerPixel tpp, std::vector<uint8_t>& file) {
    Picture rendered;
    const Picture* shown = &picture;
    if (picture.Kind() == PictureKind::EnhMetafile || picture.Kind() == PictureKind::Metafile) {
        RenderedBitmapSize size{};
        if (DWORD error = RenderedSize(picture, tpp, size)) return error;
        if (BmpRowSize(size.width, 24) * size.height > MAXUINT) return ERROR_FILE_TOO_LARGE;
        rendered = PictureToBitmap(picture, tpp);
        if (rendered.Empty()) return ERROR_NOT_ENOUGH_MEMORY;
        shown = &rendered;
    } else if (picture.Kind() != PictureKind::Bitmap) {
        return ERROR_INVALID_DATA;
    }
    BITMAP bm{};
    if (!GetObjectW(shown->Bitmap(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return ERROR_INVALID_DATA;
    // The encoder takes the pixels as one buffer whose size is a 32-bit number.
    const int64_t stride = BmpRowSize(bm.bmWidth, 24);
    if (stride * bm.bmHeight > MAXUINT) return ERROR_FILE_TOO_LARGE;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};  // top-down
    std::vector<uint8_t> pixels(static_cast<size_t>(stride * bm.bmHeight));
    if (!ReadDibBits(shown->Bitmap(), shown->Palette(), &info, bm.bmHeight, pixels)) return ERROR_INVALID_DATA;
    // The resolution of the monitor the picture is shown on.
    const HRESULT hr = EncodePng(bm.bmWidth, bm.bmHeight, static_cast<size_t>(stride), pixels,
                                 kTwipsPerInch / tpp.x, kTwipsPerInch / tpp.y, file);
    if (hr == E_OUTOFMEMORY) return ERROR_NOT_ENOUGH_MEMORY;
    // FormatMessage names most of the codec's failures by their HRESULT.
    return SUCCEEDED(hr) ? 0 : static_cast<DWORD>(hr);
}

}  // namespace

Picture PictureToBitmap(const Picture& picture, TwipsPerPixel tpp) {
    HBITMAP bmp = nullptr;
    HPALETTE palette = nullptr;
    switch (picture.Kind()) {
    case PictureKind::Bitmap:
        bmp = CopyBitmap(picture.Bitmap());
        palette = CopyPalette(picture.Palette());
        break;
    case PictureKind::EnhMetafile:
    case PictureKind::Metafile:
        bmp = RenderMetafile(picture, tpp);
        break;
    default:
        return {};
    }
    PictureKind kind = PictureKind::None;
    Picture out = PictureFromHandle(bmp, kind, palette, 0, 0);
    if (out.Empty()) {
        if (bmp) DeleteObject(bmp);
        if (palette) DeleteObject(palette);
    }
    return out;
}

Picture EmfToWmfPicture(HDC reference, const Picture& picture) {
    HENHMETAFILE emf = picture.EnhMetafile();
    if (!emf) return {};
    std::vector<uint8_t> bits = WinMetafileBits(reference, emf);
    if (bits.empty()) return {};
    HMETAFILE wmf = SetMetaFileBitsEx(static_cast<UINT>(bits.size()), bits.data());
    if (!wmf) return {};
    // The true HIMETRIC extent: other programs size the picture by it.
    PictureKind kind = PictureKind::Metafile;
    return PictureFromHandle(wmf, kind, nullptr, picture.HimetricWidth(), picture.HimetricHeight());
}

DWORD PictureFileBytes(const Picture& picture, PictureFileFormat format, HDC reference, TwipsPerPixel tpp,
                       std::vector<uint8_t>& bytes, const RedrawnParts* parts) {
    bytes.clear();
    try {
        switch (format) {
        case PictureFileFormat::Bmp:
            if (picture.Kind() == PictureKind::Bitmap)
                return BmpFileOf(picture.Bitmap(), picture.Palette(), tpp, bytes);
            if (picture.Kind() == PictureKind::EnhMetafile || picture.Kind() == PictureKind::Metafile)
                return RenderedBmpFileOf(picture, tpp, bytes);
            return ERROR_INVALID_DATA;
        case PictureFileFormat::Emf: {
            HENHMETAFILE emf = picture.EnhMetafile();
            if (!emf) return ERROR_INVALID_DATA;
            UINT n = GetEnhMetaFileBits(emf, 0, nullptr);
            if (n == 0) return ERROR_INVALID_DATA;
            bytes.resize(n);
            if (GetEnhMetaFileBits(emf, n, bytes.data()) != n) {
                bytes.clear();
                return ERROR_INVALID_DATA;
            }
            return 0;
        }
        case PictureFileFormat::Wmf: {
            HENHMETAFILE emf = picture.EnhMetafile();
            if (!emf) return ERROR_INVALID_DATA;
            std::vector<uint8_t> bits = WinMetafileBits(reference, emf);
            auto bounds = PlaceableBoundsForHimetric(picture.HimetricWidth(), picture.HimetricHeight());
            if (bits.empty() || !bounds) return ERROR_INVALID_DATA;
            bytes = BuildPlaceableWmfFile(*bounds, bits);
            return 0;
        }
        case PictureFileFormat::Png:
            return PngFileOf(picture, tpp, bytes);
        case PictureFileFormat::Svg: {
            const std::string svg = parts ? parts->Svg(reference) : std::string();
            bytes.assign(svg.begin(), svg.end());
            return svg.empty() ? ERROR_INVALID_DATA : 0;
        }
        }
    } catch (const std::bad_alloc&) {
        // A picture too large for the memory left is a failed save like any other.
        bytes.clear();
        bytes.shrink_to_fit();
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return ERROR_INVALID_DATA;
}

}  // namespace plumbo
