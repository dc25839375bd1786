#include "ruler/foreground_poller_win.h"

#include "platform/window_reports_win.h"
#include "ruler/follow_pace.h"

namespace plumbo {

namespace {

// How often the poll walks the Z order for a target that came up above the rulers on its own.
constexpr ULONGLONG kStackCheckMs = 300;

// The thread of another program's window, or 0: the focus of this process is ours.
DWORD ThreadOfOtherProgram(HWND window) {
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId() ? 0 : thread;
}

// The window that has the keyboard focus in a thread, or null.
HWND FocusInThread(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Under Wine (8.0) a window of the virtual desktop that is given the keyboard focus also asks
// the X server to raise it, above our topmost rulers too, while Wine's own Z order keeps the
// rulers on top: nothing we can ask shows it. That happens when an activated window's thread
// gets as far as setting its focus, which under load or in a slow program comes long after
// the activation was seen, and whenever the focus moves inside that window (a click from one
// control to another). The poll therefore watches the focus of the foreground window's thread.
// Once it moved, the window is sent a message: the answer comes once that thread is back at its
// messages, after it made the request (which reaches the X server as the thread next waits, so
// tracking stacks the rulers once more a while later). A second at most, for a busy program; a
// hung one does not move its focus.
void WaitForAnswer(HWND window) {
    constexpr UINT kAnswerLimitMs = 1000;
    WindowAnswers(window, kAnswerLimitMs);
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

void ForegroundPoller::Start(HWND tracking, HWND ruler) {
    if (shared_) return;
    auto shared = std::make_shared<Shared>();
    shared->tracking = tracking;
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
    auto tell = [&](UINT what) { PostMessageW(shared.tracking, what, 0, 0); };
    // Nothing seen yet, so the first look is reported. Taken from the window in front when the
    // thread got going, a window activated between the UI thread's own look at the start and
    // that moment would never count as a change, and the rulers would not come to it.
    HWND lastForeground = nullptr, lastFocus = nullptr;
    DWORD foregroundThread = 0;
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
        // Each question is a trip to Wine's server: the foreground window, its rectangle and,
        // for another program's window, its thread's focus.
        const HWND foreground = GetForegroundWindow();
        RECT rect{};
        GetWindowRect(foreground, &rect);
        if (foreground != lastForeground || !EqualRect(&rect, &lastRect)) {
            const bool activated = foreground != lastForeground;
            lastForeground = foreground;
            lastRect = rect;
            lastChange = now;
            tell(kPolledChangeMessage);
            if (activated) {
                foregroundThread = ThreadOfOtherProgram(foreground);
                lastFocus = nullptr;
            }
        }
        const HWND focus = FocusInThread(foregroundThread);
        if (focus != lastFocus) {
            lastFocus = focus;
            lastChange = now;
            if (focus) {
                WaitForAnswer(foreground);
                tell(kPolledFocusMessage);
            }
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
            tell(kPolledClickMessage);
        }
        wasDown = down;
        // Rulers kept out of the topmost band may stand behind the target.
        if (now >= nextStackCheck && (GetWindowLongPtrW(shared.ruler, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
            nextStackCheck = now + kStackCheckMs;
            if (foreground && StandsAbove(foreground, shared.ruler)) tell(kPolledAboveMessage);
        }
        interval = PollInterval(now - lastChange, down);
    }
}

}  // namespace plumbo
