// The one helper for modal windows: what it disables and gives back, and that every way of
// closing the window ends it.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "platform/modal_win.h"
#include "platform/ui_task_win.h"

namespace plumbo {
namespace {

HWND MakeWindow(const wchar_t* title, bool visible) {
    return CreateWindowExW(0, L"STATIC", title, WS_POPUP | (visible ? WS_VISIBLE : 0), 10, 10, 100, 60, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

struct Windows {
    Windows() : a(MakeWindow(L"a", true)), b(MakeWindow(L"b", false)), dialog(MakeWindow(L"dialog", false)) {}
    ~Windows() {
        for (HWND h : {a, b, dialog})
            if (IsWindow(h)) DestroyWindow(h);
    }
    HWND a, b, dialog;
};

TEST(ModalScope, DisablesEveryOtherWindowOfOursAndNestedScopesGiveBackOnlyWhatTheyTook) {
    Windows w;
    EnableWindow(w.b, FALSE);  // disabled by someone else before any scope
    {
        ModalScope outer(w.dialog);
        EXPECT_TRUE(ModalScope::Active());
        EXPECT_FALSE(IsWindowEnabled(w.a));
        EXPECT_TRUE(IsWindowEnabled(w.dialog));
        {
            HWND box = MakeWindow(L"box", true);
            ModalScope inner(box);
            EXPECT_FALSE(IsWindowEnabled(w.dialog)) << "the outer modal window waits for the inner one";
            EXPECT_TRUE(IsWindowEnabled(box));
            DestroyWindow(box);
        }
        EXPECT_TRUE(IsWindowEnabled(w.dialog));
        EXPECT_FALSE(IsWindowEnabled(w.a)) << "the inner scope gave back what the outer one took";
    }
    EXPECT_FALSE(ModalScope::Active());
    EXPECT_TRUE(IsWindowEnabled(w.a));
    EXPECT_FALSE(IsWindowEnabled(w.b)) << "a window disabled before stays disabled";
}

TEST(RunModal, EndsHowEverTheWindowIsClosedAndGivesEverythingBack) {
    struct Case {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        {"hidden from a posted task", [](HWND d) { RunLater(50, [d] { ShowWindow(d, SW_HIDE); }); }},
        {"destroyed from a posted task", [](HWND d) { RunLater(50, [d] { DestroyWindow(d); }); }},
        // A message another program sends is handled without any posted message behind it: the
        // loop must not sleep on until something else happens.
        {"hidden by a message sent from another thread",
         [](HWND d) {
             std::thread([d] {
                 Sleep(50);
                 SendMessageW(d, WM_SHOWWINDOW, FALSE, 0);
                 SetWindowPos(d, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
             }).detach();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Windows w;
        std::vector<bool> seen;
        RunLater(20, [&] { seen = {IsWindowEnabled(w.a) != FALSE, ModalScope::Active()}; });
        c.close(w.dialog);
        const DWORD start = GetTickCount();
        RunModal(w.dialog, nullptr);
        EXPECT_LT(GetTickCount() - start, 3000u) << "the loop went on after the window closed";
        EXPECT_EQ(seen, (std::vector<bool>{false, true})) << "while open: others disabled, modal state on";
        EXPECT_TRUE(IsWindowEnabled(w.a));
        EXPECT_FALSE(ModalScope::Active());
    }
}

TEST(RunModal, AQuitMessageClosesTheWindowAndReachesTheMainLoop) {
    Windows w;
    RunLater(30, [] { PostQuitMessage(7); });
    RunModal(w.dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(w.dialog));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace plumbo
