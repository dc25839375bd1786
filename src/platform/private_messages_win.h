#pragma once
// Every message the program posts to its own windows and threads, and every timer it sets on a
// window, with who receives it. Kept in one place so that a new one is numbered beside the others;
// the build fails where two would meet.
#include <windows.h>

#include <initializer_list>

namespace plumbo {

// The main form (shell/main_form_win).
// The tray's callback: a private number, so no real mouse message is taken for a click on the
// icon.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// Runs whatever was chosen while a modal window was open, once the last one has closed.
inline constexpr UINT kRunWaitingMessage = WM_APP + 2;
// Adds the tray icon again until the taskbar takes it.
inline constexpr UINT_PTR kTrayRetryTimer = 1;

// Tracking's message-only window (ruler/tracking_win).
// A ruler took another thickness, or the displays changed: the pair is laid along the target
// again once the move that brought it there is over.
inline constexpr UINT kLayOutAgainMessage = WM_APP + 3;
// The pointer moved (platform/pointer_watch_win): the cursor mark follows it.
inline constexpr UINT kPointerMovedMessage = WM_APP + 4;
// The poll's news (ruler/foreground_poller_win): the foreground window or its rectangle changed;
// a mouse button was pressed; the foreground window stands above the ruler; the keyboard focus
// moved in the foreground window's thread.
inline constexpr UINT kPolledChangeMessage = WM_APP + 10;
inline constexpr UINT kPolledClickMessage = WM_APP + 11;
inline constexpr UINT kPolledAboveMessage = WM_APP + 12;
inline constexpr UINT kPolledFocusMessage = WM_APP + 13;
inline constexpr bool IsPollMessage(UINT message) {
    return message >= kPolledChangeMessage && message <= kPolledFocusMessage;
}
// Looks for a change the window events missed, while they arrive.
inline constexpr UINT_PTR kEventCheckTimer = 1;
// Under Wine: the rulers are stacked above the target once more, a while after it changed.
inline constexpr UINT_PTR kRestackTimer = 2;

// The window a menu lends a hidden owner (platform/menu_win): posted and taken back at once, so
// that the thread's last message time is now.
inline constexpr UINT kMenuStampMessage = WM_APP;

// The thread of a modal loop (platform/modal_win): the program beneath the modal window answered.
inline constexpr UINT kBeneathAnsweredMessage = WM_APP + 20;

// Thread timers (platform/ui_task_win, the modal loop's second stacking) take the ids the system
// hands out, which never meet.

namespace private_ids {

constexpr bool AllDifferent(std::initializer_list<UINT_PTR> ids) {
    for (const UINT_PTR* a = ids.begin(); a != ids.end(); ++a)
        for (const UINT_PTR* b = a + 1; b != ids.end(); ++b)
            if (*a == *b) return false;
    return true;
}

}  // namespace private_ids

// One number each across the program, so that a message posted to the wrong window is not taken
// for another there.
static_assert(private_ids::AllDifferent({kMenuStampMessage, kTrayCallbackMessage, kRunWaitingMessage,
                                         kLayOutAgainMessage, kPointerMovedMessage, kPolledChangeMessage,
                                         kPolledClickMessage, kPolledAboveMessage, kPolledFocusMessage,
                                         kBeneathAnsweredMessage}),
              "two private messages share a number");
// A second SetTimer with a window's id replaces the timer running under it, and a KillTimer ends
// both.
static_assert(private_ids::AllDifferent({kEventCheckTimer, kRestackTimer}),
              "two of tracking's timers share an id");

}  // namespace plumbo
