#pragma once
// Owners for COM: an interface pointer released with its owner, and COM started on a thread for
// as long as a scope lasts.
#include <objbase.h>

#include <utility>

namespace plumbo {

// Holds one reference to an interface and releases it when it goes. Out() hands the pointer's
// address to a call that returns a new reference, releasing any held before.
template <typename I>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComRef& operator=(ComRef&& o) noexcept {
        if (this != &o) {
            Reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    I* operator->() const { return p_; }
    I* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    I** Out() {
        Reset();
        return &p_;
    }
    // For the calls that return the interface as void**.
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    void Reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    I* p_ = nullptr;
};

// COM on this thread in the given model for the scope's length. The thread may already have it,
// in either model: only a call that started COM ends it.
class ComScope {
public:
    explicit ComScope(DWORD model) : started_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ~ComScope() {
        if (started_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool started_;
};

}  // namespace plumbo
