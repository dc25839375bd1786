#include "vector/read/control_query_win.h"

#include <algorithm>

#include "vector/draw/class_names.h"

namespace plumbo {

ControlQuery::ControlQuery(std::chrono::milliseconds budget) : deadline_(std::chrono::steady_clock::now() + budget) {}

bool ControlQuery::Hung(DWORD thread) const {
    return std::find(hungThreads_.begin(), hungThreads_.end(), thread) != hungThreads_.end();
}

bool ControlQuery::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (thread == 0 || Hung(thread)) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    const UINT timeout = static_cast<UINT>(std::min<long long>(left.count(), kMessageTimeoutMs));
    DWORD_PTR answer = 0;
    SetLastError(0);
    if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeout, &answer)) {
        if (GetLastError() != ERROR_INVALID_WINDOW_HANDLE) hungThreads_.push_back(thread);
        return false;
    }
    if (result) *result = static_cast<LRESULT>(answer);
    return true;
}

std::wstring ControlQuery::ReadText(HWND hwnd, size_t maxUnits) {
    // One more unit than we keep, so a surrogate pair straddling the cut can be seen and dropped.
    std::wstring buffer(maxUnits + 2, L'\0');
    LRESULT copied = 0;
    if (!Send(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied)) return {};
    const size_t n = std::min<size_t>(static_cast<size_t>(std::max<LRESULT>(copied, 0)), buffer.size() - 1);
    return CutAtCharBoundary(std::wstring_view(buffer.data(), n), maxUnits);
}

}  // namespace plumbo
