#include "platform/modal_win.h"

#include <algorithm>

namespace plumbo {

namespace {

struct ModalStack {
    std::vector<HWND> windows;  // innermost last; nullptr for a system dialog
    int menus = 0;
    std::function<void()> onAllEnded;
    std::vector<std::function<void()>> waiting;  // for the last modal window and menu to close
};

ModalStack& Stack() {
    static ModalStack stack;
    return stack;
}

// Our own windows only: the thread also owns windows the system made for it (the input
// method's default window, under Wine), which are not ours to disable.
BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lp) {
    auto* out = reinterpret_cast<std::vector<HWND>*>(lp);
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    if (IsWindowEnabled(hwnd) && module == GetModuleHandleW(nullptr)) out->push_back(hwnd);
    return TRUE;
}

// The window the user should answer: the one given to the innermost scope, or else a dialog
// that opened inside it. That one is often the system's (a message box, the save or the colour
// dialog), so it is found as the foremost visible, enabled top-level window of this thread,
// whatever module made it: every window of ours is disabled beneath it.
HWND InnermostModal() {
    ModalStack& s = Stack();
    if (s.windows.empty()) return nullptr;
    if (HWND w = s.windows.back(); w && IsWindow(w)) return w;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId() && IsWindowVisible(h) && IsWindowEnabled(h))
            return h;
    return nullptr;
}

void RunWaitingIfNoneOpen() {
    ModalStack& s = Stack();
    if (!s.windows.empty() || s.menus > 0) return;
    // Out of the list before any runs: a task may wait again.
    std::vector<std::function<void()>> tasks;
    tasks.swap(s.waiting);
    for (auto& task : tasks) task();
}

}  // namespace

ModalScope::ModalScope(HWND modal) : modal_(modal) {
    std::vector<HWND> enabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&enabled));
    for (HWND h : enabled) {
        if (h == modal_) continue;
        EnableWindow(h, FALSE);
        disabled_.push_back(h);
    }
    Stack().windows.push_back(modal_);
}

ModalScope::~ModalScope() {
    // Enabled again before the modal window goes, so the activation passes to one of ours
    // rather than to another program.
    for (HWND h : disabled_)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    ModalStack& s = Stack();
    auto it = std::find(s.windows.rbegin(), s.windows.rend(), modal_);
    if (it != s.windows.rend()) s.windows.erase(std::next(it).base());
    if (s.windows.empty() && s.onAllEnded) s.onAllEnded();
    RunWaitingIfNoneOpen();
}

bool ModalScope::Active() { return !Stack().windows.empty(); }

void ModalScope::BringForward() {
    HWND w = InnermostModal();
    if (!w) return;
    SetForegroundWindow(w);
    FLASHWINFO flash{sizeof flash, w, FLASHW_CAPTION, 3, 0};
    FlashWindowEx(&flash);
    MessageBeep(MB_OK);
}

void ModalScope::SetOnAllEnded(std::function<void()> callback) { Stack().onAllEnded = std::move(callback); }

void ModalScope::WhenNoneOpen(std::function<void()> task) {
    Stack().waiting.push_back(std::move(task));
    RunWaitingIfNoneOpen();
}

MenuScope::MenuScope() { ++Stack().menus; }

MenuScope::~MenuScope() {
    --Stack().menus;
    RunWaitingIfNoneOpen();
}

bool MenuScope::Open() { return Stack().menus > 0; }

bool RunModal(HWND window, HWND focus) {
    if (!window) return true;
    ModalScope scope(window);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(focus ? focus : window);
    auto open = [window] { return IsWindow(window) && IsWindowVisible(window); };
    while (open()) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // PeekMessage handles messages sent from other threads on its own; one of them may
            // have closed the window, so look again before sleeping. The wait wakes for sent
            // messages too, not only for posted ones.
            if (open()) MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The program is ending: close the window and let the main loop see the quit.
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (IsWindow(window)) ShowWindow(window, SW_HIDE);
            return false;
        }
        if (IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

int ModalMessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT flags) {
    ModalScope scope;
    return MessageBoxW(owner, text, title, flags);
}

}  // namespace plumbo
