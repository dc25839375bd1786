#pragma once
// Moveable global memory, the kind the clipboard takes its data in.
#include <windows.h>

#include <cstddef>

namespace plumbo {

// A new moveable block holding a copy of size bytes at data; null, with GetLastError saying
// why, when it could not be made or locked.
HGLOBAL GlobalCopyOf(const void* data, size_t size);

// The lock GlobalCopyOf takes: GlobalLock, unless a test has set one that fails, as no test can
// make the system's own fail. nullptr: the system's again.
using GlobalLocker = LPVOID(WINAPI*)(HGLOBAL);
void SetGlobalLocker(GlobalLocker locker);

}  // namespace plumbo
