#pragma once
// The transparent look: each ruler shows a copy of the screen behind it, refreshed when it
// moves.
#include <windows.h>

namespace plumbo {

inline RECT gRectHrz{};
inline RECT gRectVer{};

void CopyBackHrz();
void CopyBackVer();
void tBack_Timer();
void mMenuSetToumei_Click();

}  // namespace plumbo
