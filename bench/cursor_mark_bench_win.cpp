// How soon the rulers' cursor mark of the real plumbo.exe follows a moving pointer. Runs in the
// Wine desktop (bench/run.sh) or on Windows: "cursor_mark_bench_win.exe [moves]", with the
// plumbo.exe and testtarget.exe beside it. Both rulers are shown along a target with Plumbo's
// hotkey; the pointer is then moved across the target by SendInput, a little way at a time as a
// hand moves it, and each move is timed from the input until the screen shows the mark's line
// in the horizontal ruler's top row, where no tick reaches.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "driver/driver.h"

namespace {

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

constexpr uint32_t kTickOnScreen = 0x0000FF;  // LINE=16711680, COLORREF blue
const std::string kIni =
    "[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=FALSE\r\n"
    "CURSOR=TRUE\r\n[HOTKEY]\r\nRULERS=Ctrl+Alt+R\r\nCAPTURE=NONE\r\nREDRAW=NONE\r\nSIZE=NONE\r\nMEASURE=NONE\r\n";

}  // namespace

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::atoi(argv[1]) : 60;
    e2e::Plumbo plumbo;
    e2e::Target target;
    if (!plumbo.Start(kIni) || !plumbo.WaitResident() || !target.Start(300, 200, 400, 300, L"Pointed at")) {
        std::printf("  plumbo.exe or testtarget.exe did not come up\n");
        return 1;
    }
    SetForegroundWindow(target.Hwnd());
    e2e::WaitFor([&] { return GetForegroundWindow() == target.Hwnd(); });
    e2e::PressKeys({VK_CONTROL, VK_MENU, 'R'});
    HWND horizontal = nullptr;
    const RECT t = e2e::WindowRectOf(target.Hwnd());
    if (!e2e::WaitFor([&] {
            horizontal = plumbo.HorizontalRuler();
            return horizontal && IsWindowVisible(horizontal) && e2e::WindowRectOf(horizontal).bottom == t.top;
        })) {
        std::printf("  the rulers did not come to the target\n");
        return 1;
    }
    const RECT h = e2e::ClientRectOnScreen(horizontal);
    std::mt19937 random(26);
    std::uniform_int_distribution<int> step(3, 12), pause(20, 60);
    std::vector<double> ms;
    int missed = 0, x = h.left + 20;
    for (int i = 0; i < moves; ++i) {
        x += step(random);
        if (x >= h.right - 20) x = h.left + 20;
        const double t0 = NowMs();
        e2e::MovePointer(x, (t.top + t.bottom) / 2);
        double seen = 0;
        while (!seen && NowMs() - t0 < 1000) {
            if (e2e::GrabScreen({x, h.top, x + 1, h.top + 1}).At(0, 0) == kTickOnScreen)
                seen = NowMs();
            else
                Sleep(1);
        }
        seen ? ms.push_back(seen - t0) : void(++missed);
        Sleep(pause(random));
    }
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("  the mark never followed (%d moves)\n", missed);
        return 1;
    }
    auto rank = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<size_t>(q * ms.size()))]; };
    std::printf("  cursor mark after a move     n=%zu  median %6.1f ms  95th %6.1f ms  min %6.1f  max %6.1f", ms.size(),
                rank(0.5), rank(0.95), ms.front(), ms.back());
    if (missed) std::printf("  (%d not followed within 1 s)", missed);
    std::printf("\n");
    return 0;
}
