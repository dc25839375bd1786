#include "platform/remote_memory_win.h"

#include <algorithm>
#include <cwchar>

namespace plumbo {

namespace {

bool IsWow64(HANDLE process) {
    BOOL wow64 = FALSE;
    return IsWow64Process(process, &wow64) && wow64;
}

struct Allocation {
    HANDLE process;
    void* address;
};

void Free(Allocation a) {
    VirtualFreeEx(a.process, a.address, 0, MEM_RELEASE);
    CloseHandle(a.process);
}

void CALLBACK FreeOnAnswer(HWND, UINT, ULONG_PTR allocation, LRESULT) {
    Allocation* a = reinterpret_cast<Allocation*>(allocation);
    Free(*a);
    delete a;
}

}  // namespace

RemoteBuffer::RemoteBuffer(HWND window, size_t bytes) : window_(window) {
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(window, &processId) || processId == 0 || bytes == 0) return;
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION,
                           FALSE, processId);
    if (!process_) return;
    targetIs32Bit_ = IsWow64(process_) && !IsWow64(GetCurrentProcess());
    address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_) size_ = bytes;
}

RemoteBuffer::~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

void RemoteBuffer::FreeOnceAnswered() {
    if (!address_) return;
    auto* pending = new Allocation{process_, address_};
    process_ = nullptr;
    address_ = nullptr;
    size_ = 0;
    // Messages sent to a thread are answered in order, so the callback of this one comes after
    // the answer that was given up on. It runs on this thread as it takes its messages. A
    // window already gone has nothing left to answer.
    if (!SendMessageCallbackW(window_, WM_NULL, 0, 0, FreeOnAnswer, reinterpret_cast<ULONG_PTR>(pending)))
        FreeOnAnswer(nullptr, WM_NULL, reinterpret_cast<ULONG_PTR>(pending), 0);
}

bool RemoteBuffer::Write(const void* data, size_t bytes, size_t offset) {
    if (!address_ || offset > size_ || bytes > size_ - offset) return false;
    SIZE_T written = 0;
    return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, bytes, &written) &&
           written == bytes;
}

std::wstring RemoteBuffer::ReadTextAt(uintptr_t address, size_t maxUnits) const {
    // A page at a time: a text may end just before memory that cannot be read.
    constexpr uintptr_t kPage = 4096;
    std::wstring text;
    wchar_t chunk[kPage / sizeof(wchar_t)];
    while (process_ && address && text.size() < maxUnits) {
        const size_t units = std::min<size_t>(maxUnits - text.size(), std::max<uintptr_t>(1, (kPage - address % kPage) / sizeof(wchar_t)));
        SIZE_T read = 0;
        if (!ReadProcessMemory(process_, reinterpret_cast<const void*>(address), chunk, units * sizeof(wchar_t), &read) ||
            read != units * sizeof(wchar_t))
            break;
        const size_t length = wcsnlen(chunk, units);
        text.append(chunk, length);
        if (length < units) break;
        address += units * sizeof(wchar_t);
    }
    return text;
}

bool RemoteBuffer::Read(void* data, size_t bytes, size_t offset) const {
    if (!address_ || offset > size_ || bytes > size_ - offset) return false;
    SIZE_T read = 0;
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, bytes, &read) && read == bytes;
}

}  // namespace plumbo
