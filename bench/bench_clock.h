#pragma once
// What the benchmarks share: a clock in milliseconds and the fastest of repeated runs.
#include <windows.h>

#include <algorithm>

inline double Now() {
    static const LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// The fastest of the times added; -1 before any.
struct Fastest {
    double ms = -1;
    void Add(double t) { ms = ms < 0 ? t : std::min(ms, t); }
};
