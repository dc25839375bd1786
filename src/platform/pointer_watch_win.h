#pragma once
// Tells a window that the mouse pointer moved, wherever it is on the screen: a low-level mouse
// hook on a thread of its own, which also looks at the pointer twice a second; where the hook
// hears nothing of moves the looks see (Wine, where there is no hook; Windows after it dropped the
// hook, or with a window of higher integrity in front), the looks tell them: often while the
// pointer moves, twice a second at rest. The window is told once until it asks again (Taken), so
// a burst of moves between two of its paints comes as one message.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace plumbo {

class PointerWatch {
public:
    PointerWatch() = default;
    ~PointerWatch() { Stop(); }
    PointerWatch(const PointerWatch&) = delete;
    PointerWatch& operator=(const PointerWatch&) = delete;

    // Posts message to window after each move away from marked, where the window shows the
    // pointer now, until Stop.
    void Start(HWND window, UINT message, POINT marked);
    // The hook is released and the thread ends by itself; nothing waits for it.
    void Stop();
    bool Running() const { return shared_ != nullptr; }
    // The window has taken the news: the next move posts again.
    void Taken();
    // Where the last move took the pointer. The hook is called before the system moves the
    // pointer, so GetCursorPos may not have it yet when the window is told.
    POINT Last() const;

    struct Shared {
        HWND window = nullptr;
        UINT message = 0;
        std::atomic<bool> posted{false};
        std::atomic<uint64_t> last{0};  // x in the high half, y in the low one
        std::atomic<uint32_t> hookCalls{0};
        HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ~Shared() { CloseHandle(stop); }
    };

private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace plumbo
