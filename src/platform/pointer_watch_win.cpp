#include "platform/pointer_watch_win.h"

#include <mutex>

#include "platform/window_reports_win.h"

namespace plumbo {

namespace {

// A low-level hook is called with no context of its own: the one watch running is found here.
// Only one runs at a time (the rulers'), so one place is enough.
std::mutex watchedLock;
std::shared_ptr<PointerWatch::Shared> watched;

// Under Wine: how often the pointer is looked at while it moves, and once it has rested a
// while. Each look is a trip to Wine's server and one to the X server, about a fifth of a
// millisecond of a core here: at rest it comes twice a second.
constexpr DWORD kMovingLookMs = 15;
constexpr DWORD kRestingLookMs = 500;
constexpr DWORD kRestAfterMs = 1000;

void Tell(PointerWatch::Shared& shared, POINT at) {
    shared.last = uint64_t{static_cast<uint32_t>(at.x)} << 32 | static_cast<uint32_t>(at.y);
    if (!shared.posted.exchange(true)) PostMessageW(shared.window, shared.message, 0, 0);
}

LRESULT CALLBACK OnMouse(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_MOUSEMOVE) {
        std::shared_ptr<PointerWatch::Shared> shared;
        {
            std::lock_guard lock(watchedLock);
            shared = watched;
        }
        if (shared) Tell(*shared, reinterpret_cast<const MSLLHOOKSTRUCT*>(lp)->pt);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Often while the pointer moves, seldom at rest, until the watch is stopped: the wait on the stop
// event ends the thread at once rather than after its next look.
void Look(PointerWatch::Shared& shared) {
    POINT last{};
    GetCursorPos(&last);
    DWORD interval = kRestingLookMs, movedAt = 0;
    while (WaitForSingleObject(shared.stop, interval) == WAIT_TIMEOUT) {
        const DWORD now = GetTickCount();
        POINT at{};
        if (GetCursorPos(&at) && (at.x != last.x || at.y != last.y)) {
            Tell(shared, last = at);
            movedAt = now;
            interval = kMovingLookMs;
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
    // in, drags of a window with the X pointer lost steps and activated windows were not seen in
    // front in time (two end-to-end runs in five, also with the hook out while a button was
    // held). There the pointer is looked at instead.
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
