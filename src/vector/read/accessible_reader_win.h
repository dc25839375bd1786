#pragma once
// Reads a window's accessibility tree (what its program tells screen readers) into plain
// elements with their rectangles: on a worker thread of its own in the multithreaded apartment,
// within a time and element budget, so a program that stops answering never holds us up.
#include <windows.h>

#include <chrono>
#include <cstddef>
#include <vector>

#include "vector/window_record.h"

namespace plumbo {

// The whole walk of one re-drawing, over every window read.
inline constexpr int kAccessibleBudgetMs = 1000;
inline constexpr std::chrono::milliseconds kAccessibleBudget{kAccessibleBudgetMs};
inline constexpr size_t kAccessibleMaxElements = 5000;
// Windows asked a second time after coming back empty: each such ask waits 100 ms of the second,
// and a dialog of many windows of classes no drawer knows, none with elements, would spend it all.
inline constexpr int kAccessibleSecondAsks = 3;

struct AccessibleWalk {
    std::vector<AccessibleElement> elements;  // depth first, each before its children
    bool complete = false;  // false: the budget ran out and the walker was left to finish alone
    bool askedAgain = false;  // the window first said it had no elements and was asked again
};

// The elements under hwnd's client object, read until the deadline or maxElements. Of each, its
// role and state, and unless its state hides it, its place and what its drawing shows of its
// name and value. A walker that does not finish in time is left to end by itself: it stops at
// its next element, or when the call it waits in returns, and releases what it holds.
// A window that says it has no elements is asked once more after a short wait when
// askAgainWhenEmpty: Chromium builds its tree when first asked.
AccessibleWalk ReadAccessibleTree(HWND hwnd, std::chrono::steady_clock::time_point deadline,
                                  size_t maxElements = kAccessibleMaxElements, bool askAgainWhenEmpty = true);

// One budget for every window whose tree one re-drawing or one measuring reads: the time from
// its making, the elements and the second asks, each spent as the windows are read.
class AccessibleBudget {
public:
    explicit AccessibleBudget(std::chrono::milliseconds time = kAccessibleBudget)
        : deadline_(std::chrono::steady_clock::now() + time) {}
    // hwnd's elements, within what is left.
    std::vector<AccessibleElement> Read(HWND hwnd);

private:
    std::chrono::steady_clock::time_point deadline_;
    size_t elementsLeft_ = kAccessibleMaxElements;
    int secondAsksLeft_ = kAccessibleSecondAsks;
};

}  // namespace plumbo
