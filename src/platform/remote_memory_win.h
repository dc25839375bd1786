#pragma once
// Memory placed in the process that owns a window, for the control messages whose answer goes
// through a pointer (list-view items, tab items, status-bar texts...). A pointer of ours means
// nothing in another process, so the message gets an address in the target's own memory and
// the answer is copied back. The memory is always freed, also when the target hangs or is
// closing: freeing it needs nothing from the target's threads.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace plumbo {

class RemoteBuffer {
public:
    // bytes of zeroed memory in the process that owns window; empty (!*this) when the process
    // cannot be opened or the memory not given.
    RemoteBuffer(HWND window, size_t bytes);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    // The buffer's address in the target, as the message expects it; offset bytes in.
    uintptr_t Address(size_t offset = 0) const { return reinterpret_cast<uintptr_t>(address_) + offset; }
    // A 32-bit program on 64-bit Windows: its structures hold 32-bit pointers and sizes.
    bool TargetIs32Bit() const { return targetIs32Bit_; }

    // Copies in and out; false when the range does not fit the buffer or the copy fails.
    // A message carrying this memory that was given up on may still be answered, and its
    // answer written here: the memory is then freed only once the window's thread has caught
    // up, that is when a message sent after it comes back. Until then it stays in the target;
    // a target that never answers again keeps it, a target that ends takes it with it.
    void FreeOnceAnswered();

    bool Write(const void* data, size_t bytes, size_t offset = 0);
    bool Read(void* data, size_t bytes, size_t offset = 0) const;
    template <typename T>
    bool Write(const T& value, size_t offset = 0) { return Write(&value, sizeof value, offset); }
    template <typename T>
    bool Read(T& value, size_t offset = 0) const { return Read(&value, sizeof value, offset); }
    // A text anywhere in the target's memory, up to its terminator or maxUnits; what cannot be
    // read ends it. For a control that answers with a pointer to text of its own.
    std::wstring ReadTextAt(uintptr_t address, size_t maxUnits) const;

private:
    HWND window_ = nullptr;
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
    bool targetIs32Bit_ = false;
};

}  // namespace plumbo
