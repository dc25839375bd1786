#pragma once
// The poll of tracking, on Windows as under Wine: it runs until the system's window events have
// been seen to cross from other programs (under Wine they never do), and for good once they
// missed a change. A thread of its own looks at the foreground window, its rectangle and its
// thread's keyboard focus, paced by PollInterval, and wakes the UI thread only when something
// changed. At rest the UI thread sleeps.
#include <windows.h>

#include <atomic>
#include <memory>

namespace plumbo {

// What the poll tells the ruler it watches for: a WM_TIMER with one of these ids, as if a timer
// of the ruler's own had ticked.
inline constexpr UINT_PTR kPolledChangeId = 2;  // the foreground window or its rectangle changed
inline constexpr UINT_PTR kPolledClickId = 3;   // a mouse button was pressed
inline constexpr UINT_PTR kPolledAboveId = 4;   // the foreground window stands above the ruler
inline constexpr UINT_PTR kPolledFocusId = 6;  // the keyboard focus moved in the foreground window's thread

// Whether window stands above ruler in the Z order. The walk visits only the windows above the
// ruler, which for a topmost ruler are none or a few.
bool StandsAbove(HWND window, HWND ruler);

class ForegroundPoller {
public:
    ForegroundPoller() = default;
    ~ForegroundPoller() { Stop(); }
    ForegroundPoller(const ForegroundPoller&) = delete;
    ForegroundPoller& operator=(const ForegroundPoller&) = delete;

    void Start(HWND ruler);
    // The thread ends by itself after its current sleep; nothing waits for it.
    void Stop();
    bool Running() const { return shared_ != nullptr; }

private:
    struct Shared {
        HWND ruler = nullptr;
        std::atomic<bool> stop{false};
    };
    static DWORD WINAPI Run(void* shared);
    std::shared_ptr<Shared> shared_;
};

}  // namespace plumbo
