#include "vector/play/svg_player_win.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/gdi_win.h"
#include "vector/play/emf_player_win.h"
#include "vector/play/svg_player.h"

namespace plumbo {

namespace {

// Fonts made as the metafile player makes them, measured on a memory context of the
// reference device, so the caller's context is left alone.
class GdiTextMeasure final : public TextMeasure {
public:
    GdiTextMeasure(HDC reference, TwipsPerPixel tpp) : dc_(reference), tpp_(tpp) {}

    FontMeasures UseFont(const std::wstring& face, int32_t size, int32_t widthPercent) override {
        FontRequest request{dc_.Get(), face, static_cast<float>(size), static_cast<int16_t>(widthPercent)};
        const LOGFONTW lf = TextFont(request, tpp_);
        Font font(CreateFontIndirectW(&lf));
        LOGFONTW own = lf;
        own.lfWidth = 0;
        const LONG ownWidth = Metrics(Font(CreateFontIndirectW(&own))).tmAveCharWidth;
        font_ = std::move(font);
        const TEXTMETRICW tm = Metrics(font_);
        const double stretch = lf.lfWidth && ownWidth ? static_cast<double>(lf.lfWidth) / ownWidth : 1.0;
        return {-lf.lfHeight, tm.tmAscent, tm.tmHeight, stretch};
    }

    std::vector<int32_t> Advances(std::wstring_view text) override {
        std::vector<int32_t> reach(text.size());
        SIZE size{};
        SelectGuard measuring(dc_.Get(), FontOrSystem(font_));
        if (!text.empty())
            GetTextExtentExPointW(dc_.Get(), text.data(), static_cast<int>(text.size()), 0, nullptr, reach.data(), &size);
        return reach;
    }

private:
    // A font that could not be made measures as the system font.
    static HGDIOBJ FontOrSystem(const Font& font) { return font ? font.Get() : GetStockObject(SYSTEM_FONT); }

    TEXTMETRICW Metrics(const Font& font) {
        SelectGuard measuring(dc_.Get(), FontOrSystem(font));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_.Get(), &tm);
        return tm;
    }

    MemoryDc dc_;
    TwipsPerPixel tpp_;
    Font font_;      // the font texts are measured in until the next one
};

class KeptParts final : public RedrawnParts {
public:
    KeptParts(PartList list, TwipsPerPixel tpp) : list_(std::move(list)), tpp_(tpp) {}
    std::string Svg(HDC reference) const override { return PlaySvg(reference, list_, tpp_); }

private:
    PartList list_;
    TwipsPerPixel tpp_;
};

}  // namespace

std::string PlaySvg(HDC reference, const PartList& list, TwipsPerPixel tpp) {
    std::optional<WindowDc> screen;
    if (!reference) screen.emplace(nullptr);
    GdiTextMeasure measure(reference ? reference : screen->Get(), tpp);
    return SvgOfParts(list, tpp, measure);
}

std::unique_ptr<const RedrawnParts> KeepParts(PartList list, TwipsPerPixel tpp) {
    return std::make_unique<KeptParts>(std::move(list), tpp);
}

}  // namespace plumbo
