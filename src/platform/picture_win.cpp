#include "platform/picture_win.h"

#include <cmath>

#include "core/units.h"

namespace plumbo {

void Picture::Reset() {
    switch (kind_) {
    case PictureKind::Bitmap:
        DeleteObject(static_cast<HBITMAP>(handle_));
        break;
    case PictureKind::Metafile:
        DeleteMetaFile(static_cast<HMETAFILE>(handle_));
        break;
    case PictureKind::Icon:
        DestroyIcon(static_cast<HICON>(handle_));
        break;
    case PictureKind::EnhMetafile:
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle_));
        break;
    case PictureKind::None:
        break;
    }
    if (palette_) DeleteObject(palette_);
    kind_ = PictureKind::None;
    handle_ = nullptr;
    palette_ = nullptr;
    himetricWidth_ = himetricHeight_ = 0;
}

namespace {

// Pixels to HIMETRIC with the screen's resolution, as a picture object measures a bitmap.
int32_t PixelsToHimetric(int px, int pixelsPerInch) {
    return static_cast<int32_t>(std::lround(px * kHimetricPerInch / (pixelsPerInch > 0 ? pixelsPerInch : 96)));
}

}  // namespace

Picture PictureFromHandle(HANDLE handle, PictureKind& kind, HPALETTE palette, int32_t xExt, int32_t yExt) {
    if (!handle) return {};
    if (kind != PictureKind::Bitmap && kind != PictureKind::Metafile && kind != PictureKind::Icon &&
        kind != PictureKind::EnhMetafile) {
        switch (GetObjectType(handle)) {
        case OBJ_BITMAP: kind = PictureKind::Bitmap; break;
        case OBJ_METAFILE: kind = PictureKind::Metafile; break;
        case OBJ_ENHMETAFILE: kind = PictureKind::EnhMetafile; break;
        case 0: kind = PictureKind::Icon; break;
        default: return {};
        }
    }
    int32_t w = 0, h = 0;
    switch (kind) {
    case PictureKind::Bitmap: {
        BITMAP bm{};
        if (!GetObjectW(handle, sizeof bm, &bm)) return {};
        HDC screen = GetDC(nullptr);
        w = PixelsToHimetric(bm.bmWidth, GetDeviceCaps(screen, LOGPIXELSX));
        h = PixelsToHimetric(bm.bmHeight, GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
        return Picture::Adopt(kind, handle, palette, w, h);
    }
    case PictureKind::Metafile:
        return Picture::Adopt(kind, handle, nullptr, xExt, yExt);
    case PictureKind::EnhMetafile: {
        ENHMETAHEADER hdr{};
        if (!GetEnhMetaFileHeader(static_cast<HENHMETAFILE>(handle), sizeof hdr, &hdr)) return {};
        w = hdr.rclFrame.right - hdr.rclFrame.left;
        h = hdr.rclFrame.bottom - hdr.rclFrame.top;
        return Picture::Adopt(kind, handle, nullptr, w, h);
    }
    case PictureKind::Icon: {
        ICONINFO ii{};
        if (!GetIconInfo(static_cast<HICON>(handle), &ii)) return {};
        BITMAP bm{};
        GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
        int iconH = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        if (ii.hbmMask) DeleteObject(ii.hbmMask);
        HDC screen = GetDC(nullptr);
        w = PixelsToHimetric(bm.bmWidth, GetDeviceCaps(screen, LOGPIXELSX));
        h = PixelsToHimetric(iconH, GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
        return Picture::Adopt(kind, handle, nullptr, w, h);
    }
    default:
        return {};
    }
}

void SetViewportRect(HDC dc, int x1, int y1, int x2, int y2) {
    SetViewportOrgEx(dc, x1, y1, nullptr);
    SetViewportExtEx(dc, x2 - x1, y2 - y1, nullptr);
}

void SetLogicalWindowRect(HDC dc, int x1, int y1, int x2, int y2) {
    SetWindowOrgEx(dc, x1, y1, nullptr);
    SetWindowExtEx(dc, x2 - x1, y2 - y1, nullptr);
}

}  // namespace plumbo
