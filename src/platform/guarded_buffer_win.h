#pragma once
// Memory of our own for a message whose answer the system copies in without being told how much
// room there is: LB_GETTEXT, whose copy across processes the system sizes by asking the control
// for the text's length itself, after we asked. A text that grew in between is copied whole. The
// buffer ends where a page nobody may touch begins, so such a copy stops there and the message
// fails, rather than running over whatever lay after it.
#include <cstddef>

namespace plumbo {

class GuardedBuffer {
public:
    // bytes of zeroed memory; empty (!*this) when the memory is not given.
    explicit GuardedBuffer(size_t bytes);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    explicit operator bool() const { return data_ != nullptr; }
    // The buffer; the guard page starts right after its last byte.
    void* Data() const { return data_; }

private:
    void* region_ = nullptr;
    void* data_ = nullptr;
};

}  // namespace plumbo
