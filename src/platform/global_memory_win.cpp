#include "platform/global_memory_win.h"

#include <cstring>

namespace plumbo {

namespace {

GlobalLocker lock = &GlobalLock;

}  // namespace

void SetGlobalLocker(GlobalLocker locker) { lock = locker ? locker : &GlobalLock; }

HGLOBAL GlobalCopyOf(const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* bytes = lock(memory);
    if (!bytes) {
        const DWORD error = GetLastError();
        GlobalFree(memory);
        SetLastError(error);
        return nullptr;
    }
    std::memcpy(bytes, data, size);
    GlobalUnlock(memory);
    return memory;
}

}  // namespace plumbo
