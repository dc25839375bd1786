#pragma once
// The target window: the foreground window the rulers follow.
#include <windows.h>

namespace plumbo {

struct TargetWnd {
    HWND hWnd = nullptr;
    RECT rcWnd{};
    WINDOWPLACEMENT wpWnd{};
};

// Written only by the tracking tick; readers take the handle and ask for its rectangle.
inline TargetWnd gTargetWnd;

// Lays both rulers along a rectangle in screen pixels by the placement setting.
void PlaceRulers(const RECT& rc);

// The tracking timer's tick.
void tSerch_Timer();

}  // namespace plumbo
