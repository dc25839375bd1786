#pragma once
// Small owners for GDI handles: one per kind, move-only; DCs made, borrowed and released; and
// guards that select an object or a palette into a DC and put the previous one back when they go
// out of scope. Code that draws holds its handles only through these.
#include <windows.h>

#include <utility>

namespace plumbo {

template <typename H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Gives the handle up to a new owner.
    H Release() { return std::exchange(h_, nullptr); }
    void Reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Palette = GdiObject<HPALETTE>;

// A device-independent bitmap of width x height pixels of `bits` bits, its top row first.
inline BITMAPINFO TopDownDib(int width, int height, WORD bits) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, bits, BI_RGB, 0, 0, 0, 0, 0};
    return bi;
}

// A memory DC that is deleted with its owner.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// GetDC/ReleaseDC for a window's client area (nullptr: the whole screen), or with wholeWindow
// GetWindowDC for all of it, its frame included.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), previous_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() { Restore(); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    // Puts the previous object back now rather than at the end of the scope.
    void Restore() {
        if (dc_ && previous_) SelectObject(dc_, std::exchange(previous_, nullptr));
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// An object owned and selected into a DC for as long as it lives, or until End(): the previous
// object goes back before this one is deleted, so nothing selected is ever deleted.
template <typename H>
class Selected {
public:
    Selected(HDC dc, GdiObject<H> object) : object_(std::move(object)), guard_(dc, object_.Get()) {}
    ~Selected() { End(); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    void End() {
        guard_.Restore();
        object_.Reset();
    }

private:
    GdiObject<H> object_;
    SelectGuard guard_;
};

// A palette selected into a DC (SelectObject takes none) and realized, the previous one put back
// when the guard goes.
class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE palette) : dc_(dc), previous_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
        if (palette) RealizePalette(dc);
    }
    ~PaletteGuard() {
        if (previous_) SelectPalette(dc_, previous_, FALSE);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};

}  // namespace plumbo
