#include "platform/pointer_watch_win.h"

#include <mutex>

#include "platform/window_reports_win.h"

namespace plumbo {

namespace {

// A low-level hook is called with no context of its own: the one watch running is found here.
// Only one runs at a time (the rulers'), so one place is enough.
std::mutex watchedLock;
std::shared_ptr<PointerWatch::Shared> watched;

LRESULT CALLBACK OnMouse(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_MOUSEMOVE) {
        std::shared_ptr<PointerWatch::Shared> shared;
        {
            std::lock_guard lock(watchedLock);
            shared = watched;
        }
        if (!shared) return CallNextHookEx(nullptr, code, wp, lp);
        const POINT at = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp)->pt;
        shared->last = uint64_t{static_cast<uint32_t>(at.x)} << 32 | static_cast<uint32_t>(at.y);
        if (!shared->posted.exchange(true)) PostMessageW(shared->window, shared->message, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Under Wine: how often the pointer is looked at while it moves, and at rest once it has
// rested a while. The rest pace is a few wake-ups a second beside the rulers' poll's many.
constexpr DWORD kMovingLookMs = 15;
constexpr DWORD kRestingLookMs = 100;
constexpr DWORD kRestAfterMs = 500;

void Look(PointerWatch::Shared& shared) {
    POINT last{};
    GetCursorPos(&last);
    DWORD interval = kRestingLookMs, movedAt = 0;
    while (WaitForSingleObject(shared.stop, interval) == WAIT_TIMEOUT) {
        POINT at{};
        if (!GetCursorPos(&at)) continue;
        const DWORD now = GetTickCount();
        if (at.x != last.x || at.y != last.y) {
            last = at;
            movedAt = now;
            interval = kMovingLookMs;
            shared.last = uint64_t{static_cast<uint32_t>(at.x)} << 32 | static_cast<uint32_t>(at.y);
            if (!shared.posted.exchange(true)) PostMessageW(shared.window, shared.message, 0, 0);
        } else if (now - movedAt > kRestAfterMs) {
            interval = kRestingLookMs;
        }
    }
}

// The hook is called in this thread's message loop: the loop only waits, so the pointer never
// waits for us, even while the UI thread is busy.
DWORD WINAPI Run(void* param) {
    const std::unique_ptr<std::shared_ptr<PointerWatch::Shared>> shared(static_cast<std::shared_ptr<PointerWatch::Shared>*>(param));
    // Wine holds every pointer event for a round trip to the thread of a low-level hook: with one
    // installed, drags of a window with the X pointer lost steps (two end-to-end runs in five).
    // There the pointer is looked at instead.
    if (RunningUnderWine()) {
        Look(**shared);
        return 0;
    }
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, &OnMouse, GetModuleHandleW(nullptr), 0);
    const HANDLE stop = (*shared)->stop;
    while (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    if (hook) UnhookWindowsHookEx(hook);
    return 0;
}

}  // namespace

void PointerWatch::Start(HWND window, UINT message) {
    if (shared_) return;
    shared_ = std::make_shared<Shared>();
    shared_->window = window;
    shared_->message = message;
    {
        std::lock_guard lock(watchedLock);
        watched = shared_;
    }
    auto* forThread = new std::shared_ptr<Shared>(shared_);
    if (HANDLE thread = CreateThread(nullptr, 0, &Run, forThread, 0, nullptr))
        CloseHandle(thread);
    else
        delete forThread;
}

void PointerWatch::Stop() {
    if (!shared_) return;
    {
        std::lock_guard lock(watchedLock);
        if (watched == shared_) watched.reset();
    }
    SetEvent(shared_->stop);
    shared_.reset();
}

void PointerWatch::Taken() {
    if (shared_) shared_->posted = false;
}

POINT PointerWatch::Last() const {
    const uint64_t last = shared_ ? shared_->last.load() : 0;
    return {static_cast<LONG>(static_cast<int32_t>(last >> 32)), static_cast<LONG>(static_cast<int32_t>(last & 0xFFFFFFFFu))};
}

}  // namespace plumbo
