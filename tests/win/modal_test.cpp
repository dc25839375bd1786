// The one helper for modal windows: what it disables and gives back, and that every way of
// closing the window ends it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <tuple>

#include "platform/modal_win.h"
#include "platform/ui_task_win.h"

namespace plumbo {
namespace {

HWND MakeWindow(DWORD style) {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP | style, 10, 10, 100, 60, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Which of the windows given are enabled, "a" for the first; "*" while a scope is on.
std::string Enabled(std::initializer_list<HWND> windows) {
    std::string s;
    for (size_t i = 0; i < windows.size(); ++i)
        if (IsWindowEnabled(windows.begin()[i])) s += static_cast<char>('a' + i);
    return ModalScope::Active() ? s + '*' : s;
}

// A window of ours, one disabled by someone else before any scope, and a hidden dialog.
struct Windows {
    ~Windows() { for (HWND h : {a, b, dialog}) DestroyWindow(h); }
    HWND a = MakeWindow(WS_VISIBLE), b = MakeWindow(WS_DISABLED), dialog = MakeWindow(0);
};

TEST(ModalScope, DisablesEveryOtherWindowOfOursAndNestedScopesGiveBackOnlyWhatTheyTook) {
    Windows w;
    {
        ModalScope outer(w.dialog);
        EXPECT_EQ(Enabled({w.a, w.b, w.dialog}), "c*");
        {
            HWND box = MakeWindow(WS_VISIBLE);
            ModalScope inner(box);
            EXPECT_EQ(Enabled({w.a, w.b, w.dialog, box}), "d*") << "the outer modal window waits for the inner one";
            DestroyWindow(box);
        }
        EXPECT_EQ(Enabled({w.a, w.b, w.dialog}), "c*") << "the inner scope gave back only what it took";
    }
    EXPECT_EQ(Enabled({w.a, w.b, w.dialog}), "ac") << "a window disabled before stays disabled";
}

// The window is closed by a task the loop runs; the scope is on meanwhile. A quit is passed on
// to the main loop, and the loop says the program is ending.
TEST(RunModal, EndsHoweverTheWindowClosesAndGivesEverythingBack) {
    std::jthread sender;
    const std::tuple<const char*, std::function<void(HWND)>, WPARAM> cases[] = {
        {"hidden", [](HWND d) { ShowWindow(d, SW_HIDE); }, 0},
        {"destroyed", [](HWND d) { DestroyWindow(d); }, 0},
        // Hidden from another thread, the window is hidden by a message sent to ours with no
        // posted message behind it: the loop must look again before it sleeps.
        {"hidden from another thread", [&](HWND d) { sender = std::jthread([d] { ShowWindow(d, SW_HIDE); }); }, 0},
        {"the program ending", [](HWND) { PostQuitMessage(7); }, 7},
    };
    for (const auto& [how, close, quit] : cases) {
        Windows w;
        std::string during;
        RunLater(20, [&] {
            during = Enabled({w.a, w.b});
            close(w.dialog);
        });
        const bool closed = RunModal(w.dialog, nullptr);
        sender = {};
        MSG msg{};
        PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(std::tuple(during, Enabled({w.a, w.b}), IsWindowVisible(w.dialog), msg.wParam, closed),
                  std::tuple("*", "a", FALSE, quit, quit == 0)) << how;
    }
}

}  // namespace
}  // namespace plumbo
