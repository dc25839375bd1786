#include "capture/raster_capture_win.h"

#include <cmath>
#include <utility>
#include <vector>

#include "core/texts.h"
#include "platform/dpi_win.h"
#include "platform/modal_win.h"
#include "platform/ui_task_win.h"
#include "platform/window_reports_win.h"

namespace plumbo {

namespace {

constexpr int kPaletteSize = 256;

// Only a palette device of exactly 256 entries gets a palette of its own.
HPALETTE CopySystemPalette(HDC source) {
    if (!(GetDeviceCaps(source, RASTERCAPS) & RC_PALETTE) || GetDeviceCaps(source, SIZEPALETTE) != kPaletteSize)
        return nullptr;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + (kPaletteSize - 1) * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = kPaletteSize;
    GetSystemPaletteEntries(source, 0, kPaletteSize, lp->palPalEntry);
    return CreatePalette(lp);
}

}  // namespace

Picture PictureFromBitmap(Bitmap bitmap, Palette palette, TwipsPerPixel tpp) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof bm, &bm)) return {};
    auto himetric = [](int px, double twipsPerPixel) {
        return static_cast<int32_t>(std::lround(px * twipsPerPixel * kHimetricPerInch / kTwipsPerInch));
    };
    Picture p = Picture::Adopt(PictureKind::Bitmap, bitmap.Get(), palette.Get(), himetric(bm.bmWidth, tpp.x),
                               himetric(bm.bmHeight, tpp.y));
    // The picture owns them now.
    if (!p.Empty()) {
        bitmap.Release();
        palette.Release();
    }
    return p;
}

namespace {

// The pixels of a window's device (the screen's for none), measured on measuredOn's monitor.
Picture CopyPixels(HWND hwnd, bool clientOnly, HWND measuredOn, int srcLeft, int srcTop, int width, int height) {
    WindowDc source(hwnd, !clientOnly);
    MemoryDc mem(source.Get());
    Bitmap bitmap(CreateCompatibleBitmap(source.Get(), width, height));
    Palette palette(CopySystemPalette(source.Get()));
    {
        SelectGuard withBitmap(mem.Get(), bitmap.Get());
        PaletteGuard withPalette(mem.Get(), palette.Get());
        BitBlt(mem.Get(), 0, 0, width, height, source.Get(), srcLeft, srcTop, SRCCOPY);
    }
    return PictureFromBitmap(std::move(bitmap), std::move(palette), WindowTwipsPerPixel(measuredOn));
}

// Whether the screen shows all of a window's visible frame: each of its pixels on a monitor, and
// no window shown above it over any of them, ours included.
bool ShownWhole(HWND window, const RECT& frame) {
    struct Covered {
        RECT frame;
        int64_t area;
    } onMonitors{frame, 0};
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR, HDC, LPRECT monitor, LPARAM data) -> BOOL {
        auto& sum = *reinterpret_cast<Covered*>(data);
        if (RECT part{}; IntersectRect(&part, monitor, &sum.frame)) sum.area += int64_t{part.right - part.left} * (part.bottom - part.top);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&onMonitors));
    if (onMonitors.area != int64_t{frame.right - frame.left} * (frame.bottom - frame.top)) return false;
    // Bounded, should the order change under the walk: a walk cut short finds it covered.
    int steps = 0;
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        const RECT r = VisibleFrame(above);
        if (RECT common{}; ++steps > 10000 || (IsWindowVisible(above) && !IsCloaked(above) && IntersectRect(&common, &r, &frame)))
            return false;
    }
    return true;
}

}  // namespace

Picture GrabWindowBitmap(HWND hwnd, bool clientOnly, int srcLeft, int srcTop, int width, int height) {
    return CopyPixels(hwnd, clientOnly, hwnd, srcLeft, srcTop, width, height);
}

namespace {

// The window's full content as the compositor draws it, cut to width x height from (left, top)
// of its outer rectangle; empty when the compositor cannot draw it.
Picture RenderWindowBitmap(HWND hwnd, const RECT& window, int left, int top, int width, int height) {
    WindowDc screen(nullptr);
    MemoryDc whole(screen.Get());
    MemoryDc cut(screen.Get());
    Bitmap wholeBitmap(CreateCompatibleBitmap(screen.Get(), window.right - window.left, window.bottom - window.top));
    Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!wholeBitmap || !bitmap) return {};
    SelectGuard withWhole(whole.Get(), wholeBitmap.Get());
    SelectGuard withCut(cut.Get(), bitmap.Get());
    if (!Reports().renderFullContent(hwnd, whole.Get())) return {};
    if (!BitBlt(cut.Get(), 0, 0, width, height, whole.Get(), left, top, SRCCOPY)) return {};
    withCut.Restore();
    return PictureFromBitmap(std::move(bitmap), {}, WindowTwipsPerPixel(hwnd));
}

// Longest a target may take to answer before the compositor is asked for its content.
constexpr UINT kRenderAnswerMs = 250;

// Set from the request until the copy has run.
bool capturePending = false;

// What the request changed, to be put back once the copy has run.
struct Hidden {
    bool rulers = false;
    bool viewer = false;
};

// A picture of the target as the screen shows it now, cut to the frame a person sees (outer:
// that frame on the screen); empty, and why in failure, when there is none to take.
Picture GrabTarget(HWND target, RECT& outer, NoPicture& failure) {
    RECT window{};
    failure = NoPicture::Closed;
    if (!IsWindow(target) || !GetWindowRect(target, &window)) return {};
    outer = VisibleFrame(target);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    failure = NoPicture::Unreadable;
    if (width <= 0 || height <= 0) return {};
    // The window is there and has a size: what is left to fail is a bitmap as large as it.
    failure = NoPicture::TooLarge;
    const int left = outer.left - window.left, top = outer.top - window.top;
    // Where the compositor draws the desktop, a copy of the window's device gives black for
    // what the compositor draws itself (browsers, UWP and WinUI programs, DirectX), and what
    // covers the window. The screen shows the window as it is where it shows all of it, as it
    // mostly does for the window in front: that copy is exact. Otherwise the compositor is asked
    // to draw the window's full content, whose picture some builds of Windows 11, and windows it
    // stretches for their DPI, get shifted by a few pixels with a black stripe. Without a
    // compositor (Wine, where PrintWindow only sends our device context to the other program in
    // WM_PRINT, which it cannot draw on, and still succeeds) the window's copy is right. A
    // program that does not answer would hold us up in PrintWindow: the screen shows what it
    // last drew.
    if (Reports().desktopComposed()) {
        if (ShownWhole(target, outer)) return CopyPixels(nullptr, true, target, outer.left, outer.top, width, height);
        if (WindowAnswers(target, kRenderAnswerMs))
            if (Picture rendered = RenderWindowBitmap(target, window, left, top, width, height); !rendered.Empty())
                return rendered;
    }
    return GrabWindowBitmap(target, false, left, top, width, height);
}

void SayNoPicture(const Program& program, NoPicture why) {
    ModalMessageBox(program.mainWindow, NoPictureText(why), Texts().messageTitle, MB_OK | MB_ICONINFORMATION);
}

void FinishCapture(Program& program, HWND target, Hidden hidden) {
    capturePending = false;
    RECT outer{};
    NoPicture failure{};
    Picture picture = GrabTarget(target, outer, failure);
    const bool taken = !picture.Empty();
    if (program.viewer) {
        if (taken) {
            const int width = outer.right - outer.left, height = outer.bottom - outer.top;
            program.viewer->PlaceClient(outer.left + kViewerOffsetPx, outer.top + kViewerOffsetPx, width, height);
            program.viewer->Show(std::move(picture), ViewerMode::Bitmap, SIZE{width, height}, nullptr);
        } else if (hidden.viewer) {
            // No new picture: the viewer comes back with the one it had.
            ShowWindow(program.viewer->Window(), SW_SHOWNA);
        }
    }
    if (program.rulers) {
        program.rulers->ResumeTracking();
        if (hidden.rulers) program.rulers->Show(true);
    }
    // Told once everything is back as it was, over the picture the viewer held.
    if (!taken) SayNoPicture(program, failure);
}

// A dialog or a menu of ours opened while the screen settled: the copy waits for it to close, as
// queued commands do, and for the screen to settle once more. Until then it could be in the
// picture, and the viewer would take the activation from it.
void FinishWhenNoneOpen(Program& program, HWND target, Hidden hidden) {
    if (!ModalScope::Active() && !MenuScope::Open()) {
        FinishCapture(program, target, hidden);
        return;
    }
    ModalScope::WhenNoneOpen([&program, target, hidden] {
        RunLater(kScreenSettleMs, [&program, target, hidden] { FinishWhenNoneOpen(program, target, hidden); });
    });
}

}  // namespace

Picture CaptureWindowNow(HWND target) {
    RECT outer{};
    NoPicture failure{};
    return GrabTarget(target, outer, failure);
}

void CaptureTargetAsBitmap(Program& program) {
    const HWND target = program.target.hwnd;
    if (capturePending || !target) return;
    if (!IsWindow(target)) {
        SayNoPicture(program, NoPicture::Closed);
        return;
    }
    capturePending = true;

    // Neither the rulers nor the viewer may be in the picture.
    Hidden hidden;
    if (program.rulers) {
        hidden.rulers = program.rulers->Shown();
        program.rulers->Show(false);
        program.rulers->SuspendTracking();
    }
    if (program.viewer) {
        hidden.viewer = IsWindowVisible(program.viewer->Window()) != FALSE;
        program.viewer->Hide();
    }
    // The target lives in another program and repaints what our windows (and the closed
    // ruler menu) uncovered in its own time. Ask it to without waiting for it: a target that
    // does not answer only leaves stale pixels in the picture.
    RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    RunLater(kScreenSettleMs, [&program, target, hidden] { FinishWhenNoneOpen(program, target, hidden); });
}

}  // namespace plumbo
