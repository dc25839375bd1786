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

// What the poll tells the ruler it watches for: messages of their own, apart from the program's
// other private messages (WM_APP + 1 to + 3).
inline constexpr UINT kPolledChangeMessage = WM_APP + 10;  // the foreground window or its rectangle changed
inline constexpr UINT kPolledClickMessage = WM_APP + 11;   // a mouse button was pressed
inline constexpr UINT kPolledAboveMessage = WM_APP + 12;   // the foreground window stands above the ruler
inline constexpr UINT kPolledFocusMessage = WM_APP + 13;   // the keyboard focus moved in the foreground window's thread
inline constexpr bool IsPollMessage(UINT message) {
    return message >= kPolledChangeMessage && message <= kPolledFocusMessage;
}

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
