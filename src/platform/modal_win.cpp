#include "platform/modal_win.h"

#include <algorithm>

#include "platform/private_messages_win.h"
#include "platform/window_reports_win.h"

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

// Under Wine (8.0) a window that takes the keyboard focus asks the X server, through its own
// program's connection, to be raised above every other window, topmost ones included, and
// Wine's own Z order does not show it. The focus comes as the window's thread gets round to its
// activation, which in a busy program is long after: when "設定" closes the activation goes
// back to the window it was opened over, and when the tray menu closes too, so a modal window
// opened then came up in front and was covered a moment later by that window, which Wine still
// listed beneath it. So under Wine the modal window is stacked again once the program of the
// window beneath it answers (it has made its request by then, which goes out as its thread next
// waits), and once more a while later, as the rulers are.
constexpr UINT kRestackAgainMs = 300;
constexpr UINT kAnswerLimitMs = 1000;  // for a busy program; a hung one raises nothing

// The first visible window of another program beneath `window` that it covers, or null.
HWND OtherProgramBeneath(HWND window) {
    RECT mine{}, theirs{}, common{};
    GetWindowRect(window, &mine);
    for (HWND h = GetWindow(window, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(h, &process);
        if (process != GetCurrentProcessId() && IsWindowVisible(h) && GetWindowRect(h, &theirs) &&
            IntersectRect(&common, &mine, &theirs))
            return h;
    }
    return nullptr;
}

// Tells this thread once the program of `beneath` answers, from a thread of its own: the wait
// may be long, and the modal loop goes on meanwhile.
void TellWhenAnswered(HWND beneath) {
    struct Wait {
        HWND beneath;
        DWORD thread;
    };
    auto* wait = new Wait{beneath, GetCurrentThreadId()};
    auto run = [](void* p) -> DWORD {
        const Wait w = *static_cast<Wait*>(p);
        delete static_cast<Wait*>(p);
        WindowAnswers(w.beneath, kAnswerLimitMs);
        PostThreadMessageW(w.thread, kBeneathAnsweredMessage, 0, 0);
        return 0;
    };
    if (HANDLE thread = CreateThread(nullptr, 0, run, wait, 0, nullptr))
        CloseHandle(thread);
    else
        delete wait;
}

void StackAgainOnTop(HWND window) {
    constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    const bool topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    // Wine passes a restacking on to the X server only when the window really moves in its own
    // order, and a window already on top does not: one step down first.
    if (HWND below = GetWindow(window, GW_HWNDNEXT)) SetWindowPos(window, below, 0, 0, 0, 0, kZOrderOnly);
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, kZOrderOnly);
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

ModalScope::ModalScope(HWND modal, HWND systemDialogOwner) : modal_(modal) {
    std::vector<HWND> enabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&enabled));
    const HWND ownerRoot = systemDialogOwner ? GetAncestor(systemDialogOwner, GA_ROOT) : nullptr;
    for (HWND h : enabled) {
        if (h == modal_ || h == ownerRoot) continue;
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

bool ModalScope::Waiting() { return !Stack().waiting.empty(); }

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
    UINT_PTR restack = 0;
    if (RunningUnderWine())
        if (HWND beneath = OtherProgramBeneath(window)) TellWhenAnswered(beneath);
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
        if (msg.message == kBeneathAnsweredMessage && !msg.hwnd) {
            StackAgainOnTop(window);
            if (!restack) restack = SetTimer(nullptr, 0, kRestackAgainMs, nullptr);
            continue;
        }
        if (restack && msg.message == WM_TIMER && !msg.hwnd && msg.wParam == restack) {
            KillTimer(nullptr, restack);
            restack = 0;
            StackAgainOnTop(window);
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The program is ending: close the window and let the main loop see the quit.
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (restack) KillTimer(nullptr, restack);
            if (IsWindow(window)) ShowWindow(window, SW_HIDE);
            return false;
        }
        if (IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (restack) KillTimer(nullptr, restack);
    return true;
}

int ModalMessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT flags) {
    ModalScope scope(nullptr, owner);
    return MessageBoxW(owner, text, title, flags);
}

}  // namespace plumbo
