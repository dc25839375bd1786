#include "vector/meta_command_win.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "platform/dpi_win.h"
#include "platform/gdi_win.h"
#include "platform/window_reports_win.h"
#include "vector/redraw_win.h"

namespace plumbo {

namespace {

bool FitsInt32(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

void RedrawTargetAsVector(Program& program) {
    ViewerService& viewer = *program.viewer;
    const bool rulersWereShown = program.rulers->Shown();
    program.rulers->Show(false);

    Picture picture;
    std::unique_ptr<const RedrawnParts> parts;
    SIZE natural{0, 0};
    HWND target = program.target.hwnd;
    if (target && IsWindow(target)) {
        const RECT rc = VisibleFrame(target);
        const int64_t width = int64_t{rc.right} - rc.left;
        const int64_t height = int64_t{rc.bottom} - rc.top;
        if (FitsInt32(width) && FitsInt32(height)) {
            // The viewer's client area is the picture's 100 %, and the metafile is measured
            // against the viewer's own device: size it before drawing.
            RECT outer{};
            GetWindowRect(viewer.Window(), &outer);
            viewer.PlaceClient(outer.left, outer.top, static_cast<int>(width), static_cast<int>(height));
            WindowDc reference(viewer.Window());
            // The frame in HIMETRIC is the target's size on its own monitor.
            if (std::optional<RedrawResult> result =
                    RedrawWindowAsMeta(target, reference.Get(), WindowTwipsPerPixel(target), program.settings.pictures)) {
                picture = std::move(result->picture);
                parts = std::move(result->parts);
                natural = {result->naturalWidth, result->naturalHeight};
            }
        }
    }
    // Even when nothing was drawn the viewer opens in metafile mode on what it held.
    viewer.Show(std::move(picture), ViewerMode::Metafile, natural, std::move(parts));
    program.rulers->Show(rulersWereShown);
}

}  // namespace plumbo
