#include "vector/meta_command_win.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "core/texts.h"
#include "platform/dpi_win.h"
#include "platform/gdi_win.h"
#include "platform/modal_win.h"
#include "platform/window_reports_win.h"
#include "vector/read/control_query_win.h"
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
    std::optional<NoPicture> failure;
    HWND target = program.target.hwnd;
    if (!IsWindow(target))
        failure = NoPicture::Closed;
    // A window that answers nothing within the time its controls are given in all would come out
    // a bare frame without a word.
    else if (!WindowAnswers(target, kQueryBudgetMs))
        failure = NoPicture::NotAnswering;
    if (!failure) {
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
            } else {
                failure = IsWindow(target) ? NoPicture::Unreadable : NoPicture::Closed;
            }
        } else {
            failure = NoPicture::TooLarge;
        }
    }
    // Even when nothing was drawn the viewer opens in metafile mode on what it held.
    viewer.Show(std::move(picture), ViewerMode::Metafile, natural, std::move(parts));
    program.rulers->Show(rulersWereShown);
    // With no target at all there is nothing to tell about.
    if (target && failure) {
        const UINT icon = MB_OK | MB_ICONINFORMATION;
        ModalMessageBox(program.mainWindow, NoPictureText(*failure), Texts().messageTitle, icon);
    }
}

}  // namespace plumbo
