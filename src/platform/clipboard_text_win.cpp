#include "platform/clipboard_text_win.h"

#include <string>

#include "platform/global_memory_win.h"

namespace plumbo {

namespace {

constexpr int kClipboardAttempts = 3;

}  // namespace

bool PutTextOnClipboard(HWND owner, std::wstring_view text) {
    const std::wstring terminated(text);
    HGLOBAL memory = GlobalCopyOf(terminated.c_str(), (terminated.size() + 1) * sizeof(wchar_t));
    if (!memory) return false;
    bool opened = false;
    for (int attempt = 0; attempt < kClipboardAttempts && !opened; ++attempt) opened = OpenClipboard(owner);
    if (!opened || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        if (opened) CloseClipboard();
        GlobalFree(memory);
        return false;
    }
    CloseClipboard();
    return true;
}

}  // namespace plumbo
