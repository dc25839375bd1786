#include "platform/pointer_watch_win.h"

#include <mutex>

#include "platform/window_reports_win.h"

namespace plumbo {

namespace {

// A low-level hook is called with no context of its own: the one watch running is found here.
// Only one runs at a time (the rulers'), so one place is enough.
std::mutex watchedLock;
std::shared_ptr<PointerWatch::Shared> watched;

// How often the pointer is looked at while the looks tell its moves, and once it has rested a
// while; with a hook that hears the moves, only at the resting rate. Each look is a trip to the
// window server (under Wine also one to the X server), about a fifth of a millisecond of a core
// here: at rest it comes twice a second.
constexpr DWORD kMovingLookMs = 15;
constexpr DWORD kRestingLookMs = 500;
constexpr DWORD kRestAfterMs = 1000;

uint64_t Packed(POINT at) { return uint64_t{static_cast<uint32_t>(at.x)} << 32 | static_cast<uint32_t>(at.y); }
POINT Unpacked(uint64_t packed) {
    return {static_cast<LONG>(static_cast<int32_t>(packed >> 32)), static_cast<LONG>(static_cast<int32_t>(packed & 0xFFFFFFFFu))};
}

void Tell(PointerWatch::Shared& shared, POINT at) {
    shared.last = Packed(at);
    if (!shared.posted.exchange(true)) PostMessageW(shared.window, shared.message, 0, 0);
}

LRESULT CALLBACK OnMouse(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_MOUSEMOVE) {
        std::shared_ptr<PointerWatch::Shared> shared;
        {
            std::lock_guard lock(watchedLock);
            shared = watched;
        }
        if (shared) {
            ++shared->hookCalls;
            Tell(*shared, reinterpret_cast<const MSLLHOOKSTRUCT*>(lp)->pt);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Whether a window of a program of higher integrity is in front, asked once for each foreground
// window: UIPI keeps its input from our hook.
bool HigherIntegrityInFront() {
    static thread_local HWND asked = nullptr;
    static thread_local bool higher = false;
    const HWND foreground = GetForegroundWindow();
    if (foreground != asked) {
        asked = foreground;
        higher = foreground && Reports().higherIntegrity(foreground);
    }
    return higher;
}

// The hook is called in this thread's message loop: the loop only waits, so the pointer never
// waits for us, even while the UI thread is busy. The looks compare the pointer with where it was
// told last, from where the window marked it when the watch started: a move before the thread
// ran is told too. They tell it themselves only where the hook has heard nothing since the look
// before, or cannot hear it.
void Watch(PointerWatch::Shared& shared, bool hooked) {
    POINT last = Unpacked(shared.last);
    uint32_t heard = shared.hookCalls;
    DWORD interval = kRestingLookMs, movedAt = GetTickCount(), lookAt = movedAt;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD wait = static_cast<int32_t>(lookAt - now) > 0 ? lookAt - now : 0;
        const DWORD woke = MsgWaitForMultipleObjects(1, &shared.stop, FALSE, wait, hooked ? QS_ALLINPUT : 0);
        if (woke == WAIT_OBJECT_0) return;
        if (woke == WAIT_OBJECT_0 + 1) {
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
            continue;
        }
        const DWORD at = GetTickCount();
        const uint32_t calls = shared.hookCalls;
        const bool deaf = !hooked || calls == heard || HigherIntegrityInFront();
        heard = calls;
        POINT pointer{};
        if (GetCursorPos(&pointer) && (pointer.x != last.x || pointer.y != last.y)) {
            last = pointer;
            if (deaf) {
                Tell(shared, pointer);
                movedAt = at;
                interval = kMovingLookMs;
            }
        } else if (at - movedAt > kRestAfterMs) {
            interval = kRestingLookMs;
        }
        lookAt = at + interval;
    }
}

DWORD WINAPI Run(void* param) {
    const std::unique_ptr<std::shared_ptr<PointerWatch::Shared>> shared(static_cast<std::shared_ptr<PointerWatch::Shared>*>(param));
    const HHOOK hook = Reports().hookPointer(&OnMouse);
    Watch(**shared, hook != nullptr);
    if (hook) UnhookWindowsHookEx(hook);
    return 0;
}

}  // namespace

void PointerWatch::Start(HWND window, UINT message, POINT marked) {
    if (shared_) return;
    shared_ = std::make_shared<Shared>();
    shared_->window = window;
    shared_->message = message;
    shared_->last = Packed(marked);
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
    return Unpacked(shared_ ? shared_->last.load() : 0);
}

}  // namespace plumbo
