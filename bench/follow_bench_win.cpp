// How soon the rulers of the real plumbo.exe follow a window that another program moves, and
// what Plumbo costs meanwhile. Runs in the Wine desktop with its taskbar (bench/run.sh) or on
// Windows: "follow_bench_win.exe [moves] [rest seconds] [moves after a long rest]". It uses the plumbo.exe beside it, so
// an older build is measured by copying this program and testtarget.exe next to that one.
//
// This program is the other program: it starts testtarget.exe, brings it to the front, shows
// the rulers with Plumbo's hotkey and moves and resizes the target with SetWindowPos, waiting
// a random pause between moves. A move is timed from the moment its new rectangle shows to
// other programs until both rulers' rectangles lie along it, and, with the plain look, until
// the screen shows the horizontal ruler's body at its new place. Under Wine the process's CPU
// time and wake-ups (context switches of all its threads) are read from /proc through drive Z:.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "driver/driver.h"

namespace {

double NowMs() {
    static const double freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / freq;
}

// A distinct body colour: nothing else on the desktop has it.
constexpr COLORREF kBody = RGB(0, 200, 100);
constexpr uint32_t kBodyOnScreen = 0x00C864;

std::string Ini(bool transparent) {
    return "[COLOR]\r\nMEJ=" + std::to_string(kBody) + "\r\nLINE=16711680\r\nNO=0\r\n[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=" +
           (transparent ? "TRUE" : "FALSE") +
           "\r\nINSIDE=FALSE\r\n[HOTKEY]\r\nRULERS=Ctrl+Alt+R\r\nCAPTURE=NONE\r\nREDRAW=NONE\r\nSIZE=NONE\r\n";
}

// Outside placement: the horizontal ruler above the target, the vertical one left of it.
bool Laid(HWND horizontal, HWND vertical, const RECT& t) {
    const RECT h = e2e::WindowRectOf(horizontal), v = e2e::WindowRectOf(vertical);
    return h.left == t.left && h.bottom == t.top && h.right == t.right && v.right == t.left && v.top == t.top &&
           v.bottom == t.bottom;
}

// ---- /proc, under Wine ----

std::string ReadText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The entries of a folder named by numbers: processes in /proc, threads in its task folders.
std::vector<int> Numbered(const std::wstring& folder) {
    std::vector<int> numbers;
    WIN32_FIND_DATAW f;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &f);
    if (find == INVALID_HANDLE_VALUE) return numbers;
    do {
        if (const int n = _wtoi(f.cFileName); n > 0) numbers.push_back(n);
    } while (FindNextFileW(find, &f));
    FindClose(find);
    return numbers;
}

std::wstring ProcFolder(int pid) { return L"Z:\\proc\\" + std::to_wstring(pid) + L"\\"; }

// A file of /proc with its NULs as line ends.
std::string Lines(const std::wstring& path) {
    std::string text = ReadText(path);
    std::replace(text.begin(), text.end(), '\0', '\n');
    return text;
}

// The Linux process whose command line holds text, or 0.
int LinuxPidOf(const std::string& text) {
    for (int pid : Numbered(L"Z:\\proc\\"))
        if (Lines(ProcFolder(pid) + L"cmdline").find(text) != std::string::npos) return pid;
    return 0;
}

// The wineserver of this prefix: it answers most of Plumbo's questions, so its time is part of
// what a poll costs.
int WineserverPid() {
    char prefix[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH)) return 0;
    for (int pid : Numbered(L"Z:\\proc\\"))
        if (ReadText(ProcFolder(pid) + L"comm").rfind("wineserver", 0) == 0 &&
            ("\n" + Lines(ProcFolder(pid) + L"environ")).find(std::string("\nWINEPREFIX=") + prefix + "\n") !=
                std::string::npos)
            return pid;
    return 0;
}

struct Usage {
    double cpuMs = 0;     // all threads, from the scheduler's nanosecond counters
    double switches = 0;  // voluntary and involuntary context switches of all threads
};

Usage UsageOf(int pid) {
    Usage u;
    const std::wstring task = ProcFolder(pid) + L"task\\";
    for (int thread : Numbered(task)) {
        const std::wstring folder = task + std::to_wstring(thread) + L"\\";
        u.cpuMs += std::atof(ReadText(folder + L"schedstat").c_str()) / 1e6;
        const std::string status = ReadText(folder + L"status");
        for (const char* key : {"voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:"}) {
            const size_t at = status.find(key);
            if (at != std::string::npos) u.switches += std::atof(status.c_str() + at + std::strlen(key));
        }
    }
    return u;
}

struct Meter {
    int plumbo = 0, server = 0;
    Usage p0, s0;
    double t0 = 0;
    void Start() {
        p0 = UsageOf(plumbo);
        s0 = UsageOf(server);
        t0 = NowMs();
    }
    void Print(const char* what) const {
        const double seconds = (NowMs() - t0) / 1000;
        const Usage p = UsageOf(plumbo), s = UsageOf(server);
        if (!plumbo) {
            std::printf("  %-26s (no /proc: not under Wine)\n", what);
            return;
        }
        std::printf("  %-26s %6.1f s  Plumbo %6.3f %% of a core, %7.1f wake-ups/s", what, seconds,
                    (p.cpuMs - p0.cpuMs) / seconds / 10, (p.switches - p0.switches) / seconds);
        if (server) std::printf("; wineserver %6.3f %%", (s.cpuMs - s0.cpuMs) / seconds / 10);
        std::printf("\n");
    }
};

// ---- The figures ----

void PrintLatencies(const char* what, std::vector<double> ms, int missed) {
    if (ms.empty()) {
        std::printf("  %-26s none followed (%d missed)\n", what, missed);
        return;
    }
    std::sort(ms.begin(), ms.end());
    auto rank = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<size_t>(q * ms.size()))]; };
    std::printf("  %-26s n=%zu  median %6.1f ms  95th %6.1f ms  min %6.1f  max %6.1f", what, ms.size(), rank(0.5),
                rank(0.95), ms.front(), ms.back());
    if (missed) std::printf("  (%d not followed within 2 s)", missed);
    std::printf("\n");
}

// Waits a while without keeping a core busy: one millisecond at a time, the finest step a
// timer gives, so that a latency reads within about a millisecond.
void Pause(double ms) {
    const double until = NowMs() + ms;
    while (NowMs() < until) Sleep(1);
}

int RunLook(bool transparent, int moves, int restSeconds, int coldMoves) {
    std::printf("== %s look\n", transparent ? "transparent" : "plain");
    e2e::Plumbo plumbo;
    if (!plumbo.Start(Ini(transparent)) || !plumbo.WaitResident()) {
        std::printf("  plumbo.exe did not come up\n");
        return 1;
    }
    e2e::Target target;
    if (!target.Start(300, 200, 400, 300, L"Followed")) {
        std::printf("  testtarget.exe did not come up\n");
        return 1;
    }
    SetForegroundWindow(target.Hwnd());
    e2e::WaitFor([&] { return GetForegroundWindow() == target.Hwnd(); });
    e2e::PressKeys({VK_CONTROL, VK_MENU, 'R'});
    // Asked again until they stand along it: under Wine the rulers are told apart by their
    // owner, which a restack takes away for a moment.
    HWND horizontal = nullptr, vertical = nullptr;
    if (!e2e::WaitFor(
            [&] {
                horizontal = plumbo.HorizontalRuler();
                vertical = plumbo.VerticalRuler();
                return Laid(horizontal, vertical, e2e::WindowRectOf(target.Hwnd()));
            },
            5000)) {
        const RECT h = e2e::WindowRectOf(horizontal), t = e2e::WindowRectOf(target.Hwnd());
        std::printf("  the rulers did not come to the target: ruler %s at %ld,%ld-%ld,%ld, target at %ld,%ld-%ld,%ld%s\n",
                    IsWindowVisible(horizontal) ? "shown" : "hidden", h.left, h.top, h.right, h.bottom, t.left, t.top,
                    t.right, t.bottom, GetForegroundWindow() == target.Hwnd() ? "" : ", not in front");
        return 1;
    }

    Meter meter;
    // Copies of the program lie in folders named after this process: its command line tells it.
    const std::wstring dir = plumbo.Dir();
    meter.plumbo = LinuxPidOf(std::string(dir.begin() + dir.find_last_of(L'\\') + 1, dir.end()));
    meter.server = WineserverPid();
    if (restSeconds > 0) {
        meter.Start();
        Pause(10000);
        meter.Print("the first 10 s after");
        meter.Start();
        Pause(restSeconds * 1000.0);
        meter.Print("at rest after that");
    }

    // Moves between two corners of the desktop, each a little off at random in place and size:
    // the ruler's new place never overlaps its old one, so the screen cannot show it early.
    std::mt19937 random(12);
    std::uniform_int_distribution<int> jitter(0, 60), pause(150, 400);
    struct Latencies {
        std::vector<double> fromSeen, fromCall, toScreen, calls;
        int missed = 0;
    };
    int move = 0;
    auto moveOnce = [&](Latencies& l) {
        const bool farCorner = move++ % 2 == 0;
        const int left = (farCorner ? 700 : 80) + jitter(random), top = (farCorner ? 420 : 100) + jitter(random);
        const int width = 360 + jitter(random), height = 260 + jitter(random);
        const RECT t{left, top, left + width, top + height};
        // The call waits for the target's program to move its window: it is made from a thread
        // of its own while this one watches the window's rectangle change, which is the moment
        // the move shows to other programs, Plumbo among them.
        const double t0 = NowMs();
        std::atomic<double> returned{0};
        std::thread mover([&] {
            SetWindowPos(target.Hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
            returned = NowMs();
        });
        double seenAt = 0, rectAt = 0, pixelAt = 0;
        while (NowMs() - t0 < 2000 && (!rectAt || (!transparent && !pixelAt))) {
            const RECT where = e2e::WindowRectOf(target.Hwnd());
            if (!seenAt && EqualRect(&t, &where)) seenAt = NowMs();
            if (seenAt && !rectAt && Laid(horizontal, vertical, t)) rectAt = NowMs();
            if (rectAt && !transparent) {
                const RECT h = e2e::ClientRectOnScreen(horizontal);
                if (e2e::GrabScreen({h.right - 4, h.top + 2, h.right - 3, h.top + 3}).At(0, 0) == kBodyOnScreen)
                    pixelAt = NowMs();
            }
            if (!rectAt || (!transparent && !pixelAt)) Sleep(1);
        }
        mover.join();
        l.calls.push_back(returned - t0);
        if (!rectAt) {
            ++l.missed;
            return;
        }
        l.fromSeen.push_back(rectAt - seenAt);
        l.fromCall.push_back(rectAt - t0);
        if (pixelAt) l.toScreen.push_back(pixelAt - seenAt);
    };
    auto print = [&](const Latencies& l) {
        PrintLatencies("rulers laid along it", l.fromSeen, l.missed);
        if (!transparent)
            PrintLatencies("the ruler on the screen", l.toScreen, static_cast<int>(l.fromSeen.size() - l.toScreen.size()));
        PrintLatencies("rulers, from the call", l.fromCall, 0);
        PrintLatencies("the SetWindowPos call", l.calls, 0);
    };

    Latencies soon;
    meter.Start();
    for (int i = 0; i < moves; ++i) {
        moveOnce(soon);
        Pause(pause(random));
    }
    meter.Print("moves 150-400 ms apart");
    print(soon);
    if (coldMoves > 0) {
        // Each after everything has been still for a long while, which ends at a random moment
        // of a poll's interval, as a move comes at any moment.
        Latencies cold;
        std::uniform_int_distribution<int> rest(11000, 12000);
        for (int i = 0; i < coldMoves; ++i) {
            Pause(rest(random));
            moveOnce(cold);
        }
        std::printf("  moves after 11 to 12 s of rest:\n");
        print(cold);
    }

    // A drag: a step every 16 ms, as a window dragged by its caption moves once a frame.
    meter.Start();
    const double dragStart = NowMs();
    int steps = 0;
    for (; NowMs() - dragStart < 3000; ++steps) {
        const int x = 100 + (steps * 4) % 600, y = 100 + (steps * 2) % 300;
        SetWindowPos(target.Hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pause(dragStart + (steps + 1) * 16.0 - NowMs());
    }
    meter.Print("a 3 s drag");
    const double caughtFrom = NowMs();
    const bool caught = e2e::WaitFor([&] { return Laid(horizontal, vertical, e2e::WindowRectOf(target.Hwnd())); }, 2000, 1);
    std::printf("  after the drag's last step the rulers %s %.1f ms later\n", caught ? "arrived" : "had not arrived",
                NowMs() - caughtFrom);
    return soon.missed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::atoi(argv[1]) : 41;
    const int restSeconds = argc > 2 ? std::atoi(argv[2]) : 30;
    const int coldMoves = argc > 3 ? std::atoi(argv[3]) : 6;
    std::printf("Following a window moved by another program: %d moves, %d s at rest, %d moves after it\n", moves,
                restSeconds, coldMoves);
    // At rest with the transparent look on (the costlier look to keep up), then the plain look,
    // whose body shows on the screen.
    int failed = RunLook(true, moves, restSeconds, coldMoves);
    failed |= RunLook(false, moves, 0, 0);
    return failed;
}
