#include "platform/clipboard_text_win.h"

#include <string>

#include "platform/global_memory_win.h"

namespace plumbo {

namespace {

constexpr int kClipboardAttempts = 3;

}  // namespace

bool OpenClipboardSoon(HWND owner) {
    for (int attempt = 0; attempt < kClipboardAttempts; ++attempt)
        if (OpenClipboard(owner)) return true;
    return false;
}

bool PutTextOnClipboard(HWND owner, std::wstring_view text) {
    const std::wstring terminated(text);
    HGLOBAL memory = GlobalCopyOf(terminated.c_str(), (terminated.size() + 1) * sizeof(wchar_t));
    if (!memory) return false;
    const bool opened = OpenClipboardSoon(owner);
    if (!opened || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        if (opened) CloseClipboard();
        GlobalFree(memory);
        return false;
    }
    CloseClipboard();
    return true;
}

}  // namespace plumbo
