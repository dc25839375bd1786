#pragma once
// The viewer's picture: a single owner of a bitmap (with an optional palette), a Windows
// metafile or an enhanced metafile, with its size in HIMETRIC. Move-only; replacing or
// destroying it releases the handles it owns.
#include <windows.h>

#include <cstdint>
#include <utility>

namespace plumbo {

enum class PictureKind : int32_t { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhMetafile = 4 };

class Picture {
public:
    Picture() = default;
    ~Picture() { Reset(); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    Picture(Picture&& o) noexcept { *this = std::move(o); }
    Picture& operator=(Picture&& o) noexcept {
        if (this != &o) {
            Reset();
            kind_ = std::exchange(o.kind_, PictureKind::None);
            handle_ = std::exchange(o.handle_, nullptr);
            palette_ = std::exchange(o.palette_, nullptr);
            himetricWidth_ = std::exchange(o.himetricWidth_, 0);
            himetricHeight_ = std::exchange(o.himetricHeight_, 0);
        }
        return *this;
    }

    PictureKind Kind() const { return kind_; }
    bool Empty() const { return kind_ == PictureKind::None; }
    HBITMAP Bitmap() const { return kind_ == PictureKind::Bitmap ? static_cast<HBITMAP>(handle_) : nullptr; }
    HPALETTE Palette() const { return palette_; }
    HENHMETAFILE EnhMetafile() const {
        return kind_ == PictureKind::EnhMetafile ? static_cast<HENHMETAFILE>(handle_) : nullptr;
    }
    HMETAFILE Metafile() const { return kind_ == PictureKind::Metafile ? static_cast<HMETAFILE>(handle_) : nullptr; }
    HICON Icon() const { return kind_ == PictureKind::Icon ? static_cast<HICON>(handle_) : nullptr; }
    HANDLE Handle() const { return handle_; }
    int32_t HimetricWidth() const { return himetricWidth_; }
    int32_t HimetricHeight() const { return himetricHeight_; }

    void Reset();

    // Takes ownership. Used by PictureFromHandle, and by captures that know which monitor their
    // pixels come from; other callers go through PictureFromHandle.
    static Picture Adopt(PictureKind kind, HANDLE handle, HPALETTE palette, int32_t himetricW, int32_t himetricH) {
        Picture p;
        p.kind_ = kind;
        p.handle_ = handle;
        p.palette_ = palette;
        p.himetricWidth_ = himetricW;
        p.himetricHeight_ = himetricH;
        return p;
    }

private:
    PictureKind kind_ = PictureKind::None;
    HANDLE handle_ = nullptr;
    HPALETTE palette_ = nullptr;
    int32_t himetricWidth_ = 0;
    int32_t himetricHeight_ = 0;
};

// Wraps a graphics handle into a picture that owns it. kind 0 (None) means "find out" with
// GetObjectType; the kind found is written back. Returns an empty picture (and does not take
// the handle) when the handle is null or of no picture kind. xExt/yExt are the HIMETRIC extent
// of a Windows metafile; the other kinds measure themselves.
Picture PictureFromHandle(HANDLE handle, PictureKind& kind, HPALETTE palette, int32_t xExt, int32_t yExt);

// Viewport and window of a DC from a rectangle (x1, y1)-(x2, y2).
void SetViewportRect(HDC dc, int x1, int y1, int x2, int y2);
void SetLogicalWindowRect(HDC dc, int x1, int y1, int x2, int y2);

}  // namespace plumbo
