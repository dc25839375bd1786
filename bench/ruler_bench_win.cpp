// How long the longest ruler a 3840 x 2160 screen can hold takes to lay out and to paint,
// in each unit. Runs in the Wine desktop (or on Windows): "ruler_bench_win.exe [repeats]".
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/settings.h"
#include "platform/window_win.h"
#include "ruler/ruler_window_win.h"

using namespace plumbo;

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct Unit {
    int tani;
    const char* name;
};

}  // namespace

int main(int argc, char** argv) {
    int repeats = argc > 1 ? std::atoi(argv[1]) : 200;
    gColorMej = RGB(255, 255, 255);
    RulerWindow hrz(true), ver(false);
    hrz.Create(nullptr);
    ver.Create(hrz.hwnd());
    // The longest rulers a 3840 x 2160 screen holds: its width and its height.
    hrz.MovePx(0, 0, 3840, hrz.ThicknessPx());
    ver.MovePx(0, 40, ver.ThicknessPx(), 2160);
    ShowWindow(hrz.hwnd(), SW_SHOWNA);
    ShowWindow(ver.hwnd(), SW_SHOWNA);
    DoEvents();

    const Unit units[] = {{0, "millimetres"}, {4, "inch 1/8"}, {1, "inch 1/10"}, {2, "pixels"}};
    std::printf("Ruler layout and paint, %d repeats each (twips per pixel %.2f)\n", repeats, Tpp().x);
    std::printf("%-12s %-10s %10s %10s %8s %8s\n", "unit", "ruler", "layout us", "lay+paint us", "ticks", "numbers");
    for (const Unit& u : units) {
        gTani = u.tani;
        HideScales(hrz.Model(), ver.Model());
        for (RulerWindow* r : {&hrz, &ver}) {
            r->RunScale();  // the element arrays grow once; later runs reuse them
            double t0 = Now();
            for (int i = 0; i < repeats; ++i) r->RunScale();
            double layout = (Now() - t0) / repeats * 1e6;
            t0 = Now();
            for (int i = 0; i < repeats; ++i) RedrawWindow(r->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            double paint = (Now() - t0) / repeats * 1e6;
            size_t ticks = 0, numbers = 0;
            for (auto& l : r->Model().lines) ticks += l.visible;
            for (auto& l : r->Model().labels) numbers += l.visible;
            std::printf("%-12s %-10s %10.1f %10.1f %8zu %8zu\n", u.name, r->Horizontal() ? "3840 px" : "2160 px",
                        layout, paint, ticks, numbers);
        }
    }
    return 0;
}
