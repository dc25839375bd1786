#include "platform/ui_task_win.h"

#include <map>

namespace plumbo {

namespace {

std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK OnTaskTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end()) return;
    std::function<void()> task = std::move(it->second);
    Pending().erase(it);
    task();
}

}  // namespace

void RunLater(UINT delayMs, std::function<void()> task) {
    // A thread timer: its WM_TIMER goes through whichever loop runs, the main one or a modal.
    UINT_PTR id = SetTimer(nullptr, 0, delayMs, &OnTaskTimer);
    if (id) Pending()[id] = std::move(task);
}

}  // namespace plumbo
