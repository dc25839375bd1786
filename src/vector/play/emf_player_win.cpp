#include "vector/play/emf_player_win.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <cwchar>
#include <vector>

#include "platform/gdi_win.h"
#include "core/numeric.h"
#include "core/text_cut.h"
#include "vector/play/svg_player.h"

namespace plumbo {

namespace {

constexpr float kPointsToTwips = 20.0f;
constexpr int kCaptionHatch = 8;

// A metafile DC that is closed and its metafile dropped unless the metafile is taken.
class EnhMetaDc {
public:
    EnhMetaDc(HDC reference, const RECT& frame) : dc_(CreateEnhMetaFileW(reference, nullptr, &frame, nullptr)) {}
    ~EnhMetaDc() {
        if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
    }
    EnhMetaDc(const EnhMetaDc&) = delete;
    EnhMetaDc& operator=(const EnhMetaDc&) = delete;
    HDC Get() const { return dc_; }
    HENHMETAFILE Close() {
        HENHMETAFILE h = CloseEnhMetaFile(dc_);
        dc_ = nullptr;
        return h;
    }

private:
    HDC dc_;
};

int Round(double v) { return RoundHalfEven(v); }

int Length(const std::wstring& s) { return static_cast<int>(std::min<size_t>(s.size(), INT_MAX)); }

class Player {
public:
    Player(HDC dc, HDC measureDc, TwipsPerPixel tpp) : dc_(dc), measureDc_(measureDc), tpp_(tpp) {}

    void Play(const PartList& list) {
        ForEachPart(list, [this](const auto& part) { Draw(part); });
    }

private:
    void Draw(const RectPart& r) {
        if (r.fill == Fill::None) return Draw(OutlineOf(r));
        Selected<HBRUSH> withBrush(dc_, BrushOf(r));
        Selected<HPEN> withPen(dc_, Pen(CreatePen(PS_SOLID, Round(r.penWidth), r.penColor)));
        // The background mode decides what a hatch's gaps show: set for each box, never left
        // to whatever the part before it set.
        if (IsHatch(r.fill)) SetBkMode(dc_, r.hatchOnBackground ? OPAQUE : TRANSPARENT);
        Rectangle(dc_, Round(r.x), Round(r.y), Round(r.x + r.width), Round(r.y + r.height));
        // The brush goes before the pen, in the order the metafile has always recorded them.
        withBrush.End();
    }

    void Draw(const TextPart& t) {
        Font font(Make(t.face, t.size, kPointTextWidthPercent));
        SetBkMode(dc_, t.opaque ? OPAQUE : TRANSPARENT);
        Selected<HFONT> withFont(dc_, std::move(font));
        SetTextColor(dc_, t.textColor);
        TextOutW(dc_, Round(t.x), Round(t.y), t.text.c_str(), Length(t.text));
    }

    void Draw(const LinePart& l) {
        Selected<HPEN> withPen(dc_, Pen(CreatePen(PS_SOLID, Round(l.penWidth), l.color)));
        MoveToEx(dc_, Round(l.x1), Round(l.y1), nullptr);
        LineTo(dc_, Round(l.x2), Round(l.y2));
    }

    void Draw(const PolylinePart& p) {
        const size_t n = p.PointCount();
        Selected<HPEN> withPen(dc_, Pen(CreatePen(PS_SOLID, Round(p.penWidth), p.color)));
        if (n == 0) return;
        MoveToEx(dc_, Round(p.xs[0]), Round(p.ys[0]), nullptr);
        for (size_t i = 1; i < n; ++i) LineTo(dc_, Round(p.xs[i]), Round(p.ys[i]));
    }

    void Draw(const RectTextPart& t) {
        Font font(Make(t.face, t.size, kRectTextWidthPercent));
        SetBkMode(dc_, t.opaque ? OPAQUE : TRANSPARENT);
        RECT rc{Round(t.x), Round(t.y), Round(t.x + t.width), Round(t.y + t.height)};
        // DrawText may write into the string for some flags; give it a buffer of its own.
        std::vector<wchar_t> text(t.text.begin(), t.text.end());
        text.resize(text.size() + 5, L'\0');
        Selected<HFONT> withFont(dc_, std::move(font));
        SetTextColor(dc_, t.textColor);
        DrawTextW(dc_, text.data(), Length(t.text), &rc, DrawTextFormat(t.layout));
    }

    void Draw(const ImagePart& image) {
        if (!image.pixels) return;
        const ScreenPixels& p = *image.pixels;
        const BITMAPINFO bi = TopDownDib(p.width, p.height, 24);
        StretchDIBits(dc_, Round(image.x), Round(image.y), Round(image.width), Round(image.height), 0, 0, p.width,
                      p.height, p.rows.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
    }

    static Brush BrushOf(const RectPart& r) {
        switch (r.fill) {
        case Fill::Horizontal: return Brush(CreateHatchBrush(HS_HORIZONTAL, r.fillColor));
        case Fill::Diagonal: return Brush(CreateHatchBrush(HS_BDIAGONAL, r.fillColor));
        // Outside GDI's hatch styles, as the title bar's boxes have always been drawn: readers
        // of the file show it as the background.
        case Fill::Caption: return Brush(CreateHatchBrush(kCaptionHatch, r.fillColor));
        default: return Brush(CreateSolidBrush(r.fillColor));
        }
    }

    HFONT Make(const std::wstring& face, int32_t size, int32_t widthPercent) {
        FontRequest request;
        request.dc = measureDc_;
        request.face = face;
        request.size = static_cast<float>(size);
        request.widthPercent = static_cast<int16_t>(widthPercent);
        const LOGFONTW lf = TextFont(request, tpp_);
        return CreateFontIndirectW(&lf);
    }

    HDC dc_;
    HDC measureDc_;
    TwipsPerPixel tpp_;
};

}  // namespace

LOGFONTW TextFont(const FontRequest& request, TwipsPerPixel twipsPerPixel) {
    const float factor = twipsPerPixel.x > 0 ? kPointsToTwips / static_cast<float>(twipsPerPixel.x) : 0.0f;
    LOGFONTW lf{};
    lf.lfHeight = -Round(request.size * factor);  // negative: a character height
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfWeight = FW_NORMAL;
    const std::wstring name = CutAtCharBoundary(request.face, LF_FACESIZE - 1);
    std::wmemcpy(lf.lfFaceName, name.data(), name.size());
    if (request.widthPercent > 0) {
        Font probe(CreateFontIndirectW(&lf));
        TEXTMETRICW tm{};
        if (probe && request.dc) {
            SelectGuard measuring(request.dc, probe.Get());
            GetTextMetricsW(request.dc, &tm);
        }
        lf.lfWidth = Round(request.widthPercent / 100.0 * tm.tmAveCharWidth);
    }
    return lf;
}

Picture PlayPartList(HDC referenceDc, const PartList& list, TwipsPerPixel tpp) {
    const auto frameW = ScaleUnits(list.width, list.unit, ListUnit::Himetric, tpp.x);
    const auto frameH = ScaleUnits(list.height, list.unit, ListUnit::Himetric, tpp.y);
    if (!frameW || !frameH || tpp.x <= 0 || tpp.y <= 0) return {};
    const auto right = TryRoundToInt32(*frameW), bottom = TryRoundToInt32(*frameH);
    // The drawing spans the frame exactly as the reference device measures it (its physical size
    // over its pixels), so whoever plays the metafile, we or another program, stretches it onto
    // the target's own size without pushing the right and bottom edges out. Where the device's
    // physical size agrees with the screen's twips per pixel this is the window's pixel size.
    double deviceX = kTwipsPerHimetric / tpp.x, deviceY = kTwipsPerHimetric / tpp.y;  // pixels per HIMETRIC
    {
        std::optional<WindowDc> screen;
        if (!referenceDc) screen.emplace(nullptr);
        HDC ref = referenceDc ? referenceDc : screen->Get();
        int horzSize = GetDeviceCaps(ref, HORZSIZE), vertSize = GetDeviceCaps(ref, VERTSIZE);
        if (horzSize > 0 && vertSize > 0) {
            deviceX = GetDeviceCaps(ref, HORZRES) / (horzSize * 100.0);
            deviceY = GetDeviceCaps(ref, VERTRES) / (vertSize * 100.0);
        }
    }
    const auto viewW = right ? TryRoundToInt32(*right * deviceX) : std::nullopt;
    const auto viewH = bottom ? TryRoundToInt32(*bottom * deviceY) : std::nullopt;
    const auto winW = TryRoundToInt32(list.width), winH = TryRoundToInt32(list.height);
    if (!right || !bottom || !viewW || !viewH || !winW || !winH) return {};

    EnhMetaDc meta(referenceDc, RECT{0, 0, *right, *bottom});
    if (!meta.Get()) return {};
    SetMapMode(meta.Get(), MM_ANISOTROPIC);
    SetViewportRect(meta.Get(), 0, 0, *viewW, *viewH);
    SetLogicalWindowRect(meta.Get(), 0, 0, *winW, *winH);

    {
        std::optional<WindowDc> screen;
        if (!referenceDc) screen.emplace(nullptr);
        Player player(meta.Get(), referenceDc ? referenceDc : screen->Get(), tpp);
        player.Play(list);
    }

    HENHMETAFILE emf = meta.Close();
    PictureKind kind = PictureKind::None;
    Picture picture = PictureFromHandle(emf, kind, nullptr, 0, 0);
    if (picture.Empty() && emf) DeleteEnhMetaFile(emf);
    return picture;
}

}  // namespace plumbo
