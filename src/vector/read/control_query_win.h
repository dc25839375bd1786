#pragma once
// What one re-drawing asks of the target's controls goes through here: every message with a
// time-out taken from one budget for the whole walk, so a hung or closing program never holds
// Plumbo up for longer than kQueryBudgetMs in total; and once a thread has not answered, its
// other windows are not asked again (a program that hangs on one control hangs on all of them).
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/remote_memory_win.h"

namespace plumbo {

// The whole walk's time for messages to the target.
inline constexpr int kQueryBudgetMs = 500;
// One message's longest wait, so a single slow control cannot use the whole budget.
inline constexpr int kMessageTimeoutMs = 200;

class ControlQuery {
public:
    explicit ControlQuery(std::chrono::milliseconds budget = std::chrono::milliseconds(kQueryBudgetMs));

    // SendMessageTimeout to hwnd within what is left of the budget. False when the time is up,
    // the window's thread did not answer (now or before), or the window is gone; result is
    // then untouched.
    bool Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);

    // The text a window shows (WM_GETTEXT, which the system carries across processes), at most
    // maxUnits UTF-16 units, never split inside a character; empty when it does not answer.
    std::wstring ReadText(HWND hwnd, size_t maxUnits);

    // Whether a message to the window's thread was given up on: its answer may still come.
    bool GaveUpOn(HWND hwnd) const { return Hung(GetWindowThreadProcessId(hwnd, nullptr)); }

private:
    bool Hung(DWORD thread) const;

    std::chrono::steady_clock::time_point deadline_;
    std::vector<DWORD> hungThreads_;
};

// Memory in the target for one control's messages. A message carrying it that was given up on
// may still be answered into it, so it is then freed only once the control has caught up.
class TargetBuffer : public RemoteBuffer {
public:
    TargetBuffer(HWND control, const ControlQuery& query, size_t bytes)
        : RemoteBuffer(control, bytes), control_(control), query_(query) {}
    ~TargetBuffer() {
        if (query_.GaveUpOn(control_)) FreeOnceAnswered();
    }

private:
    HWND control_;
    const ControlQuery& query_;
};

}  // namespace plumbo
