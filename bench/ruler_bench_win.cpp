// How long the longest ruler a 3840 x 2160 screen can hold takes to lay out and to paint,
// in each unit and in both looks. Runs in the Wine desktop (or on Windows):
// "ruler_bench_win.exe [repeats]".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/window_win.h"
#include "ruler/ruler_window_win.h"
#include "state/program_win.h"
#include "bench_clock.h"


using namespace plumbo;

namespace {

struct UnitRow {
    RulerUnit unit;
    const char* name;
};

// The rulers alone, without the pair that would follow their drags and DPI changes.
struct NoPair final : RulerEvents {
    void Dragged(RulerWindow&) override {}
    void DpiChanged(RulerWindow&) override {}
    void DisplaysChanged(RulerWindow&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 200;
    Program program;
    NoPair pair;
    RulerWindow horizontal(program, true, pair);
    RulerWindow vertical(program, false, pair);
    if (!horizontal.Create(nullptr) || !vertical.Create(horizontal.hwnd())) {
        std::fprintf(stderr, "the rulers could not be created\n");
        return 1;
    }
    for (RulerWindow* r : {&horizontal, &vertical}) r->SetColors(RGB(255, 255, 255), RGB(0, 0, 255), RGB(0, 0, 0));
    // The longest rulers a 3840 x 2160 screen holds: its width and its height.
    horizontal.MovePx(0, 0, 3840, horizontal.ThicknessPx());
    vertical.MovePx(0, 40, vertical.ThicknessPx(), 2160);
    horizontal.SetVisible(true);
    vertical.SetVisible(true);

    const UnitRow units[] = {{RulerUnit::Millimetre, "millimetres"},
                             {RulerUnit::InchEighths, "inch 1/8"},
                             {RulerUnit::InchTenths, "inch 1/10"},
                             {RulerUnit::Pixel, "pixels"}};
    std::printf("Ruler layout and paint, %d repeats each (twips per pixel %.2f)\n", repeats, Tpp().x);
    std::printf("%-12s %-12s %-8s %10s %12s %10s %8s %8s\n", "unit", "look", "ruler", "layout us", "paint us", "mark us",
                "ticks", "numbers");
    // The cursor mark moved along each ruler a few pixels at a time, as a hand moves the pointer,
    // from the target's corner at the rulers' origin.
    program.settings.showCursor = true;
    program.target.rect = {0, 0, 3840, 2160};
    for (bool keyed : {false, true}) {
        const std::optional<COLORREF> key = keyed ? std::optional<COLORREF>(RGB(255, 0, 255)) : std::nullopt;
        horizontal.SetColorKey(key);
        vertical.SetColorKey(key);
        for (const UnitRow& u : units) {
            program.unit = u.unit;
            for (RulerWindow* r : {&horizontal, &vertical}) {
                HideScale(r->Model());
                // The element arrays grow once and the first paint sets up what later ones reuse.
                r->RunScale();
                RedrawWindow(r->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                double t0 = Now();
                for (int i = 0; i < repeats; ++i) r->RunScale();
                const double layout = (Now() - t0) / repeats * 1e6;
                t0 = Now();
                // Our own window, painted at once: the paint includes a layout, as every paint does.
                for (int i = 0; i < repeats; ++i)
                    RedrawWindow(r->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                const double paint = (Now() - t0) / repeats * 1e6;
                RECT screen{};
                GetWindowRect(r->hwnd(), &screen);
                t0 = Now();
                for (int i = 0; i < repeats; ++i) {
                    const LONG along = 100 + 7 * i;
                    r->MarkPointer(r->Horizontal() ? POINT{screen.left + along, 0} : POINT{0, screen.top + along});
                    UpdateWindow(r->hwnd());
                }
                const double mark = (Now() - t0) / repeats * 1e6;
                size_t ticks = 0, numbers = 0;
                for (const LineElement& e : r->Model().ticks) ticks += e.visible;
                for (const LabelElement& e : r->Model().numbers) numbers += e.visible;
                std::printf("%-12s %-12s %-8s %10.1f %12.1f %10.1f %8zu %8zu\n", u.name, keyed ? "transparent" : "plain",
                            r->Horizontal() ? "3840 px" : "2160 px", layout, paint, mark, ticks, numbers);
            }
        }
    }
    return 0;
}
