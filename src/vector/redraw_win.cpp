#include "vector/redraw_win.h"

#include "platform/dpi_win.h"
#include "platform/window_reports_win.h"
#include "vector/draw/control_drawers.h"
#include "vector/play/emf_player_win.h"
#include "vector/play/svg_player_win.h"
#include "vector/read/query_win.h"

namespace plumbo {

std::optional<RedrawResult> RedrawWindowAsMeta(HWND target, HDC referenceDc, TwipsPerPixel tpp, bool pictures,
                                               std::chrono::milliseconds accessibleBudget) {
    const UINT monitorDpi = MonitorDpi(MonitorOf(target)).x;
    const DpiReading reading = ReadingOf(target, monitorDpi);
    const bool stretched = reading.stretched;
    const UINT ownDpi = reading.dpi;
    // The invisible borders, which DWM gives in the screen's pixels, in the program's own.
    std::optional<OwnPixels> units;
    if (stretched) {
        RECT outer{};
        GetWindowRect(target, &outer);
        const RECT visible = VisibleFrame(target);
        auto own = [&](LONG screenPixels) { return FromPhysicalPixels(screenPixels, reading); };
        units = OwnPixels{{own(visible.left - outer.left), own(visible.top - outer.top),
                           own(outer.right - visible.right), own(outer.bottom - visible.bottom)}};
        tpp = TwipsPerPixelAt(ownDpi, ownDpi);
    }
    std::optional<TargetRecord> record;
    {
        TargetPixelsScope inOwnPixels(reading);
        record = QueryTarget(target, units, pictures, accessibleBudget);
    }
    if (!record) return std::nullopt;
    PartList list;
    auto size = LayOutWindow(*record, list);
    if (!size) return std::nullopt;
    Picture picture = PlayPartList(referenceDc, list, tpp);
    if (picture.Empty()) return std::nullopt;
    // The viewer's 100 % is the size the screen shows.
    auto shown = [&](int32_t own) { return stretched ? MulDiv(own, static_cast<int>(monitorDpi), static_cast<int>(ownDpi)) : own; };
    return RedrawResult{std::move(picture), shown(size->width), shown(size->height), KeepParts(std::move(list), tpp)};
}

}  // namespace plumbo
