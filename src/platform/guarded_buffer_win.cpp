#include "platform/guarded_buffer_win.h"

#include <windows.h>

namespace plumbo {

GuardedBuffer::GuardedBuffer(size_t bytes) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize, pages = (bytes + page - 1) / page;
    // The guard is only reserved, never committed: touching it faults.
    region_ = VirtualAlloc(nullptr, (pages + 1) * page, MEM_RESERVE, PAGE_NOACCESS);
    if (!region_ || bytes == 0 || !VirtualAlloc(region_, pages * page, MEM_COMMIT, PAGE_READWRITE)) return;
    data_ = static_cast<char*>(region_) + pages * page - bytes;
}

GuardedBuffer::~GuardedBuffer() {
    if (region_) VirtualFree(region_, 0, MEM_RELEASE);
}

}  // namespace plumbo
