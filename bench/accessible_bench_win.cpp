// Times the re-drawing of a window that tells its content only through its accessibility tree
// (testtarget.exe "/many N": N push buttons and no child windows, another process) against the
// floor: the bare accessibility calls the drawing needs, asked from this thread. The re-drawing
// should take at most 1.2 times the floor for the same elements.
//
// It is timed twice. With the program's own budget (1 s for the whole walk) it reads what fits;
// a cross-process call under Wine costs about a millisecond, against tens of microseconds on
// Windows, so there the budget ends the walk after about a hundred elements and the time says
// little. With the budget lifted it reads every element, and the ratio to the floor is what our
// own work adds to the calls: the worker thread, the drawers and the metafile.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "vector/redraw_win.h"
#include "vector/read/query_win.h"
#include "bench_clock.h"


using namespace plumbo;

namespace {

// Each child's role, state, name and place, as the re-drawing asks them of a push button (a value
// only shows for edits, combo boxes, sliders and progress bars); how many.
long BareWalk(HWND hwnd) {
    IAccessible* root = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&root))))
        return -1;
    long count = 0, got = 0;
    root->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    AccessibleChildren(root, 0, count, children.data(), &got);
    for (long i = 0; i < got; ++i) {
        IAccessible* acc = nullptr;
        if (children[i].vt == VT_DISPATCH &&
            SUCCEEDED(children[i].pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&acc)))) {
            VARIANT self{}, v{};
            self.vt = VT_I4;
            BSTR text = nullptr;
            long x, y, w, h;
            acc->get_accRole(self, &v);
            acc->get_accState(self, &v);
            if (SUCCEEDED(acc->get_accName(self, &text))) SysFreeString(text);
            acc->accLocation(&x, &y, &w, &h, self);
            long none = 0;
            acc->get_accChildCount(&none);
            acc->Release();
        }
        VariantClear(&children[i]);
    }
    root->Release();
    return got;
}

}  // namespace

// The fastest of runs, taking turns: other work on the machine only ever adds time.
int main() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    constexpr auto kLifted = std::chrono::minutes(5);
    std::printf("%8s %-9s %6s %10s %10s %7s\n", "elements", "budget", "read", "floor ms", "redraw ms", "ratio");
    for (int n : {100, 1000}) {
        e2e::Target target;
        if (!target.Start(0, 0, 760, 480, L"Bench", L"/many " + std::to_wstring(n))) return 1;
        const TwipsPerPixel tpp = WindowTwipsPerPixel(target.Hwnd());
        Fastest floor, redrawOwn, redrawAll;
        const int runs = n >= 1000 ? 3 : 10;
        for (int run = 0; run <= runs; ++run) {
            double t0 = Now();
            if (BareWalk(target.Hwnd()) != n) return 1;
            const double f = Now() - t0;
            t0 = Now();
            if (!RedrawWindowAsMeta(target.Hwnd(), nullptr, tpp)) return 1;
            const double r = Now() - t0;
            t0 = Now();
            if (!RedrawWindowAsMeta(target.Hwnd(), nullptr, tpp, false, kLifted)) return 1;
            const double a = Now() - t0;
            if (run == 0) continue;  // the first warms both programs up
            floor.Add(f);
            redrawOwn.Add(r);
            redrawAll.Add(a);
        }
        // How much each reads, asked once more now that both programs are warm.
        auto own = QueryTarget(target.Hwnd());
        auto all = QueryTarget(target.Hwnd(), std::nullopt, false, kLifted);
        const size_t readOwn = own ? own->window.accessible.size() : 0;
        const size_t readAll = all ? all->window.accessible.size() : 0;
        if (readAll != static_cast<size_t>(n)) return 1;
        std::printf("%8d %-9s %6zu %10.2f %10.2f %7.2f\n", n, "1 s", readOwn, floor.ms, redrawOwn.ms, redrawOwn.ms / floor.ms);
        std::printf("%8d %-9s %6zu %10.2f %10.2f %7.2f\n", n, "lifted", readAll, floor.ms, redrawAll.ms, redrawAll.ms / floor.ms);
    }
    return 0;
}
