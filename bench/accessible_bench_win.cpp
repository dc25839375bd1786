// Times the re-drawing of a window that tells its content only through its accessibility tree
// (testtarget.exe "/many N": N push buttons and no child windows, another process) against the
// floor: the bare accessibility calls the drawing needs, asked from this thread. The re-drawing
// should take at most 1.2 times the floor, and read every element.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "vector/player_win.h"
#include "vector/query_win.h"

using namespace plumbo;

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Each child's role, state, name, value and place, as the re-drawing asks them; how many.
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
            if (SUCCEEDED(acc->get_accValue(self, &text))) SysFreeString(text);
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

int main() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::printf("%8s %8s %10s %10s %7s\n", "elements", "drawn", "floor ms", "redraw ms", "ratio");
    for (int n : {100, 1000}) {
        e2e::Target target;
        if (!target.Start(0, 0, 760, 480, L"Bench", L"/many " + std::to_wstring(n))) return 1;
        const TwipsPerPixel tpp = WindowTwipsPerPixel(target.Hwnd());
        auto record = QueryTarget(target.Hwnd());
        const size_t read = record ? record->window.accessible.size() : 0;
        double floor = -1, redraw = -1;
        // Taking turns, the fastest of each: other work on the machine only ever adds time.
        for (int run = 0; run <= 10; ++run) {
            double t0 = Now();
            if (BareWalk(target.Hwnd()) != n) return 1;
            const double f = Now() - t0;
            t0 = Now();
            if (!RedrawWindowAsMeta(target.Hwnd(), nullptr, tpp)) return 1;
            const double r = Now() - t0;
            if (run > 0 && (floor < 0 || f < floor)) floor = f;
            if (run > 0 && (redraw < 0 || r < redraw)) redraw = r;
        }
        std::printf("%8d %8zu %10.2f %10.2f %7.2f\n", n, read, floor, redraw, redraw / floor);
    }
    return 0;
}
