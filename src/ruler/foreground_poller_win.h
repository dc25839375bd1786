#pragma once
// The poll of tracking, on Windows as under Wine: it runs until the system's window events have
// been seen to cross from other programs (under Wine they never do), and for good once they
// missed a change. A thread of its own looks at the foreground window, its rectangle and its
// thread's keyboard focus, paced by PollInterval, and wakes the UI thread only when something
// changed. At rest the UI thread sleeps.
#include <windows.h>

#include <atomic>
#include <memory>

#include "platform/private_messages_win.h"

namespace plumbo {

// Whether window stands above ruler in the Z order. The walk visits only the windows above the
// ruler, which for a topmost ruler are none or a few.
bool StandsAbove(HWND window, HWND ruler);

class ForegroundPoller {
public:
    ForegroundPoller() = default;
    ~ForegroundPoller() { Stop(); }
    ForegroundPoller(const ForegroundPoller&) = delete;
    ForegroundPoller& operator=(const ForegroundPoller&) = delete;

    // Tells `tracking` its news (kPolled...Message); `ruler` is the one the foreground window
    // may come up above.
    void Start(HWND tracking, HWND ruler);
    // The thread ends by itself after its current sleep; nothing waits for it.
    void Stop();
    bool Running() const { return shared_ != nullptr; }

private:
    struct Shared {
        HWND tracking = nullptr;
        HWND ruler = nullptr;
        std::atomic<bool> stop{false};
    };
    static DWORD WINAPI Run(void* shared);
    std::shared_ptr<Shared> shared_;
};

}  // namespace plumbo
