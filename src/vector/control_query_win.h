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

    bool OutOfTime() const;

private:
    bool Hung(DWORD thread) const;

    std::chrono::steady_clock::time_point deadline_;
    std::vector<DWORD> hungThreads_;
};

}  // namespace plumbo
