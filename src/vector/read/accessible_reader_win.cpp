#include "vector/read/accessible_reader_win.h"

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/com_win.h"
#include "vector/draw/accessible_drawers.h"

namespace plumbo {

namespace {

// Chromium builds its tree when first asked and answers that first time with no children.
constexpr auto kSecondAskAfter = std::chrono::milliseconds(100);
constexpr long kChildrenAtATime = 32;

struct WalkState {
    std::mutex lock;
    std::condition_variable finished;
    std::vector<AccessibleElement> elements;
    bool done = false;
    std::atomic<bool> stop{false};
    std::atomic<bool> askedAgain{false};
    std::chrono::steady_clock::time_point deadline;
    size_t maxElements = 0;

    bool Full() {
        if (stop || std::chrono::steady_clock::now() >= deadline) return true;
        std::lock_guard<std::mutex> hold(lock);
        return elements.size() >= maxElements;
    }
};

std::wstring Take(BSTR s) {
    std::wstring out = s ? std::wstring(s, SysStringLen(s)) : std::wstring();
    SysFreeString(s);
    return out;
}

AccessibleElement ReadElement(IAccessible* acc, VARIANT id, int32_t depth) {
    AccessibleElement e;
    e.depth = depth;
    VARIANT v;
    VariantInit(&v);
    if (SUCCEEDED(acc->get_accRole(id, &v)) && v.vt == VT_I4) e.role = static_cast<uint32_t>(v.lVal);
    VariantClear(&v);
    if (SUCCEEDED(acc->get_accState(id, &v)) && v.vt == VT_I4) e.state = static_cast<uint32_t>(v.lVal);
    VariantClear(&v);
    // Only what the element's drawing shows: each question is a call into the other program,
    // about a millisecond under Wine, and the walk has one second for all of them.
    if (HiddenByState(e.state)) return e;
    const ShownByRole shown = ShownFor(e.role);
    BSTR text = nullptr;
    if (shown.name && SUCCEEDED(acc->get_accName(id, &text))) e.name = Take(text);
    text = nullptr;
    if (shown.value && SUCCEEDED(acc->get_accValue(id, &text))) e.value = Take(text);
    long x = 0, y = 0, w = 0, h = 0;
    // The other program's numbers, added without overflow and kept to 32 bits.
    auto edge = [](long from, long by) {
        return static_cast<int32_t>(std::clamp<int64_t>(int64_t{from} + by, INT32_MIN, INT32_MAX));
    };
    if (SUCCEEDED(acc->accLocation(&x, &y, &w, &h, id))) e.rect = {x, y, edge(x, w), edge(y, h)};
    return e;
}

void Walk(IAccessible* parent, int32_t depth, WalkState& state, bool askTwice);

void Keep(WalkState& state, AccessibleElement e) {
    std::lock_guard<std::mutex> hold(state.lock);
    state.elements.push_back(std::move(e));
}

// A child that is an object of its own is read and walked; a simple one (a number) is read
// through its parent.
void ReadChild(IAccessible* parent, VARIANT& child, int32_t depth, WalkState& state) {
    ComRef<IAccessible> acc;
    if (child.vt == VT_DISPATCH && child.pdispVal &&
        SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible), acc.OutVoid()))) {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        Keep(state, ReadElement(acc.Get(), self, depth));
        Walk(acc.Get(), depth + 1, state, false);
    } else if (child.vt == VT_I4) {
        Keep(state, ReadElement(parent, child, depth));
    }
}

void Walk(IAccessible* parent, int32_t depth, WalkState& state, bool askTwice) {
    long count = 0;
    if (FAILED(parent->get_accChildCount(&count))) return;
    if (count <= 0 && askTwice) {
        state.askedAgain = true;
        std::this_thread::sleep_for(kSecondAskAfter);  // a worker of ours, not the UI thread
        if (FAILED(parent->get_accChildCount(&count))) return;
    }
    if (count <= 0) return;
    count = static_cast<long>(std::min<size_t>(static_cast<size_t>(count), state.maxElements));
    // A few children at a time: each is a call into the other program, and what was read before
    // the budget runs out is drawn.
    std::vector<VARIANT> children(kChildrenAtATime);
    for (long start = 0; start < count && !state.Full(); start += kChildrenAtATime) {
        for (VARIANT& v : children) VariantInit(&v);
        long got = 0;
        const long asked = std::min<long>(kChildrenAtATime, count - start);
        // AccessibleChildren asks first for IEnumVARIANT; Wine 8 cannot marshal that interface
        // across processes, says so on its error channel, and goes on child by child.
        if (FAILED(AccessibleChildren(parent, start, asked, children.data(), &got))) return;
        for (long i = 0; i < got; ++i) {
            VARIANT& child = children[static_cast<size_t>(i)];
            if (!state.Full()) ReadChild(parent, child, depth, state);
            VariantClear(&child);
        }
        if (got < asked) return;
    }
}

}  // namespace

AccessibleWalk ReadAccessibleTree(HWND hwnd, std::chrono::steady_clock::time_point deadline, size_t maxElements,
                                  bool askAgainWhenEmpty) {
    auto state = std::make_shared<WalkState>();
    state->deadline = deadline;
    state->maxElements = maxElements;
    if (std::chrono::steady_clock::now() >= deadline || maxElements == 0) return {};
    std::thread([state, hwnd, askAgainWhenEmpty] {
        {
            // The multithreaded apartment: its calls need no message loop of ours.
            ComScope com(COINIT_MULTITHREADED);
            ComRef<IAccessible> root;
            if (SUCCEEDED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                     root.OutVoid())) && root)
                Walk(root.Get(), 0, *state, askAgainWhenEmpty);
        }
        std::lock_guard<std::mutex> hold(state->lock);
        state->done = true;
        state->finished.notify_all();
    }).detach();
    std::unique_lock<std::mutex> hold(state->lock);
    AccessibleWalk walk;
    walk.complete = state->finished.wait_until(hold, deadline, [&] { return state->done; });
    if (!walk.complete) state->stop = true;
    walk.askedAgain = state->askedAgain;
    walk.elements = state->elements;
    if (walk.elements.size() > maxElements) walk.elements.resize(maxElements);
    return walk;
}

std::vector<AccessibleElement> AccessibleBudget::Read(HWND hwnd) {
    AccessibleWalk walk = ReadAccessibleTree(hwnd, deadline_, elementsLeft_, secondAsksLeft_ > 0);
    secondAsksLeft_ -= walk.askedAgain;
    elementsLeft_ -= std::min(elementsLeft_, walk.elements.size());
    return std::move(walk.elements);
}

}  // namespace plumbo
