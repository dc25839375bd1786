#pragma once
// The whole program inside the test process, as the in-process program tests start and drive it:
// started in a folder of its own, driven through its command table as the menus drive it, and
// read through its state, its settings file and the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "driver/driver.h"
#include "shell/startup_win.h"

namespace plumbo {

using e2e::GrabScreen;
using e2e::Image;
using e2e::TextOf;
using e2e::WaitFor;
using e2e::WindowOf;
using e2e::WindowRectOf;

inline std::string Ini(const char* rulerColour, bool onTop, bool transparent, bool inside) {
    auto flag = [](bool b) { return b ? "TRUE" : "FALSE"; };
    return std::string("[COLOR]\r\nMEJ=") + rulerColour + "\r\nLINE=16711680\r\nNO=0\r\n[SHOW]\r\nZORDER=" +
           flag(onTop) + "\r\nTRANSPARENT=" + flag(transparent) + "\r\nINSIDE=" + flag(inside) + "\r\n";
}
inline const std::string kNewFile = Ini("16777215", true, false, false);

// A visible top-level window of ours by class.
inline HWND Ours(const wchar_t* cls) { return WindowOf(GetCurrentProcessId(), cls, true); }
inline HWND WaitOurs(const wchar_t* cls) {
    HWND h = nullptr;
    WaitFor([&] { return (h = Ours(cls)) != nullptr; });
    return h;
}

// Answers the message box that comes next with OK; gives its text.
inline std::wstring AnswerMessage() {
    HWND box = WaitOurs(L"#32770");
    if (!box) return L"(no message)";
    std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindowVisible(box); });
    return text;
}

inline HWND RulerOf(bool horizontal) { return e2e::RulerOf(GetCurrentProcessId(), horizontal); }

// A push button pressed without waiting for what it opens.
inline void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

inline uint32_t PixelAt(int x, int y) { return GrabScreen({x, y, x + 1, y + 1}).At(0, 0); }
// Far from the ticks and numbers: near the far end of the body.
inline uint32_t BodyPixel(const RECT& r) { return PixelAt(r.right - 4, r.top + 2); }

inline int Dpi(int axis) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, axis);
    ReleaseDC(nullptr, dc);
    return dpi;
}

class ShellTest : public testing::Test {
protected:
    void Start(const std::string& ini = kNewFile) {
        dir_ = e2e::MakeTempDir(L"shell");
        if (!ini.empty()) e2e::WriteFileBytes(IniPath(), ini);
        ASSERT_TRUE(shell_.Start(GetModuleHandleW(nullptr), dir_ + L"\\"));
    }
    void TearDown() override {
        for (const wchar_t* f : {L"plumbo.ini", L"plHelp.html"}) DeleteFileW((dir_ + L"\\" + f).c_str());
        RemoveDirectoryW(dir_.c_str());
    }
    std::wstring IniPath() const { return dir_ + L"\\plumbo.ini"; }
    std::string IniText() const { return e2e::ReadFileBytes(IniPath()); }
    Program& program() { return shell_.program(); }
    RECT Horizontal() { return program().rulers->HorizontalRect(); }
    RECT Vertical() { return program().rulers->VerticalRect(); }

    // As if chosen from a menu; returns once it has run (a modal window's loop included).
    void Choose(CommandId id) {
        program().commands->Post(id);
        WaitFor([] { return true; }, 0);
    }
    // Runs a command that opens a modal window, while `user` acts on it from another thread.
    void ChooseWhile(CommandId id, const std::function<void()>& user) {
        std::thread person(user);
        Choose(id);
        person.join();
    }

    // The rulers shown and laid along a target of another program.
    void RulersAlong(e2e::Target& target, bool inside = false) {
        ASSERT_TRUE(target.Start(300, 200, 400, 300));
        Choose(CommandId::ShowRulers);
        SetForegroundWindow(target.Hwnd());
        ASSERT_TRUE(WaitFor([&] { return Laid(target, inside); }));
    }
    // Outside above and left of the frame, or inside along its left and bottom edges.
    bool Laid(const e2e::Target& target, bool inside) {
        const RECT t = WindowRectOf(target.Hwnd()), h = Horizontal(), v = Vertical();
        const int hh = h.bottom - h.top, vw = v.right - v.left;
        if (inside)
            return v.left == t.left && v.top == t.top && v.bottom == t.bottom && h.left == t.left &&
                   h.top == t.bottom - hh && h.right == t.right;
        return h.left == t.left && h.top == t.top - hh && h.right == t.right && v.left == t.left - vw &&
               v.top == t.top && v.bottom == t.bottom;
    }

    Shell shell_;
    std::wstring dir_;
};

}  // namespace plumbo
