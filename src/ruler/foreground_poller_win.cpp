#include "ruler/foreground_poller_win.h"

#include "ruler/follow_pace.h"

namespace plumbo {

namespace {

// How often the poll walks the Z order for a target that came up above the rulers on its own.
constexpr ULONGLONG kStackCheckMs = 300;

// Under Wine an activated window asks the X server to raise it, above our topmost rulers too,
// as its own thread finishes with the activation: under load after the rulers were stacked
// above it. Once that thread waits for input again its requests are on their way, and the
// rulers can be stacked once more. The poll waits for that here, off the UI thread, a second
// at most; windows of this process are never waited for.
bool WaitSettled(HWND window) {
    constexpr DWORD kSettleLimitMs = 1000;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!process || process == GetCurrentProcessId()) return false;
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, process);
    if (!handle) return false;
    const bool settled = WaitForInputIdle(handle, kSettleLimitMs) == 0;
    CloseHandle(handle);
    return settled;
}

}  // namespace

bool StandsAbove(HWND window, HWND ruler) {
    // Bounded, should the order change under the walk.
    HWND above = GetWindow(ruler, GW_HWNDPREV);
    for (int steps = 0; above && steps < 1000; ++steps) {
        if (above == window) return true;
        above = GetWindow(above, GW_HWNDPREV);
    }
    return false;
}

void ForegroundPoller::Start(HWND ruler) {
    if (shared_) return;
    auto shared = std::make_shared<Shared>();
    shared->ruler = ruler;
    auto* handed = new std::shared_ptr<Shared>(shared);
    HANDLE thread = CreateThread(nullptr, 0, &Run, handed, 0, nullptr);
    if (!thread) {
        delete handed;
        return;
    }
    CloseHandle(thread);
    shared_ = std::move(shared);
}

void ForegroundPoller::Stop() {
    if (!shared_) return;
    shared_->stop = true;
    shared_.reset();
}

DWORD WINAPI ForegroundPoller::Run(void* handed) {
    const std::unique_ptr<std::shared_ptr<Shared>> owner(static_cast<std::shared_ptr<Shared>*>(handed));
    Shared& shared = **owner;
    auto tell = [&](UINT_PTR what) { PostMessageW(shared.ruler, WM_TIMER, what, 0); };
    // Nothing seen yet, so the first look is reported. Taken from the window in front when the
    // thread got going, a window activated between the UI thread's own look at the start and
    // that moment would never count as a change, and the rulers would not come to it.
    HWND lastForeground = nullptr;
    RECT lastRect{};
    bool wasDown = false;
    // Shown or back from a menu or dialog: the user is at work.
    ULONGLONG lastChange = GetTickCount64(), nextStackCheck = 0;
    unsigned interval = PollInterval(0, false);
    for (;;) {
        // A sleep rather than a wait on an event that Stop could set: under Wine a timed wait is
        // a trip to its server and back, a sleep is not, and a wake is most of what a look costs.
        Sleep(interval);
        if (shared.stop) return 0;
        const ULONGLONG now = GetTickCount64();
        // Two questions, each a trip to Wine's server.
        const HWND foreground = GetForegroundWindow();
        RECT rect{};
        GetWindowRect(foreground, &rect);
        if (foreground != lastForeground || !EqualRect(&rect, &lastRect)) {
            const bool activated = foreground != lastForeground;
            lastForeground = foreground;
            lastRect = rect;
            lastChange = now;
            tell(kPolledChangeId);
            if (activated && WaitSettled(foreground)) tell(kPolledSettledId);
        }
        bool pressed = false, down = false;
        for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
            const SHORT state = GetAsyncKeyState(button);
            pressed |= (state & 0x0001) != 0;
            down |= (state & 0x8000) != 0;
        }
        // A button held down counts once; a press says the user is at work.
        if (pressed || (down && !wasDown)) {
            lastChange = now;
            tell(kPolledClickId);
        }
        wasDown = down;
        // Rulers kept out of the topmost band may stand behind the target.
        if (now >= nextStackCheck && (GetWindowLongPtrW(shared.ruler, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
            nextStackCheck = now + kStackCheckMs;
            if (foreground && StandsAbove(foreground, shared.ruler)) tell(kPolledAboveId);
        }
        interval = PollInterval(now - lastChange, down);
    }
}

}  // namespace plumbo
