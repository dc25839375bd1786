// plumbo.exe run by a script: pictures of another program's window into files, with exit codes
// and a line on standard error, beside a copy in the tray that must not notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <tuple>

#include "driver/driver.h"

using namespace e2e;

namespace {

struct Ran {
    DWORD code = STILL_ACTIVE;
    std::string err;  // and its standard output
    int shownWhileRunning = 0;  // visible windows of the run once its loop waited
};

// As a script runs it: standard output and error into files, the run waited for.
Ran RunPlumbo(const std::wstring& dir, const std::wstring& args) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::wstring errPath = dir + L"\\stderr.txt";
    HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    Ran ran;
    Process run;
    if (run.Start(BinDir() + L"\\plumbo.exe", args, dir, err)) {
        run.WaitIdle(10000);
        ran.shownWhileRunning = static_cast<int>(WindowsOf(run.Pid(), nullptr, true).size());
        run.WaitExit(60000);
        ran.code = run.ExitCode();
    }
    CloseHandle(err);
    ran.err = ReadFileBytes(errPath);
    return ran;
}

std::wstring Hex(HWND h) { return (std::wostringstream() << std::hex << reinterpret_cast<uintptr_t>(h)).str(); }

}  // namespace

TEST(CommandLine, AScriptRedrawsAndCapturesWindowsBesideTheTrayCopyAndShowsNothing) {
    Target target, minimized;
    ASSERT_TRUE(target.Start(140, 120, 600, 440, L"Script Target", L"/controls"));
    ASSERT_TRUE(minimized.Start(300, 300, 300, 200, L"Minimized target"));
    ShowWindow(minimized.Hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(minimized.Hwnd()) != FALSE; }));
    const std::wstring dir = MakeTempDir(L"script");

    // With no copy in the tray, none is needed and none is started. The title in another case.
    const Ran first = RunPlumbo(dir, L"/redraw /window \"script TARGET\" /out \"" + dir + L"\\no tray.svg\"");
    EXPECT_EQ(first.code, 0u) << first.err;
    const std::string svg = ReadFileBytes(dir + L"\\no tray.svg");
    for (const char* text : {"Plain static", "Inner push", "Group", "Script Target"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_EQ(FindWindowW(L"PlumboMenuForm", nullptr), nullptr);

    Plumbo app;
    ASSERT_TRUE(app.Start() && app.WaitResident());
    app.ShowRulersByDoubleClick();
    ASSERT_TRUE(target.Activate());
    const HWND rulers[] = {app.HorizontalRuler(), app.VerticalRuler()};
    ASSERT_TRUE(WaitFor([&] {
        return IsWindowVisible(rulers[0]) && IsWindowVisible(rulers[1]) && WindowRectOf(rulers[0]).left == 140 &&
               WindowRectOf(rulers[1]).top == 120;
    }));
    const std::vector<HWND> shownBefore = WindowsOf(0, nullptr, true);

    // A path beyond MAX_PATH in folders with spaces.
    std::wstring deep = dir;
    for (int i = 0; i < 6; ++i) {
        deep += L"\\a folder with a long name to pass MAX_PATH " + std::to_wstring(i);
        CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    }
    const std::wstring longPng = deep + L"\\capture.png";
    char listed[80];  // the target's line of /list, as the usage describes it
    snprintf(listed, sizeof listed, "0x%08llX\ttesttarget.exe\tPlumboTestTarget\tScript Target\r\n",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(target.Hwnd())));
    const struct { std::wstring args; DWORD code; std::string said; } rows[] = {
        {L"-LIST", 0, listed},
        {L"/?", 0, "/capture"},
        {L"-CAPTURE -Hwnd " + Hex(target.Hwnd()) + L" -out \"" + longPng + L"\"", 0, ""},
        {L"/redraw /class plumbotesttarget /delay 1500 /out:" + dir + L"\\class.emf", 0, ""},
        {L"/redraw /window \"no such window zz\" /out x.emf", 2, "no such window zz"},
        {L"/redraw /bogus", 1, "/bogus"},
        {L"/capture /hwnd " + Hex(target.Hwnd()) + L" /out \"" + dir + L"\\missing\\x.png\"", 4, "missing\\x.png"},
        {L"/capture /hwnd 0x" + Hex(minimized.Hwnd()) + L" /out x.png", 3, "最小化"},
    };
    for (const auto& row : rows) {
        const Ran ran = RunPlumbo(dir, row.args);
        const bool said = ran.err.find(row.said) != std::string::npos;
        EXPECT_EQ(std::tuple(ran.code, said, ran.err.empty(), ran.shownWhileRunning),
                  std::tuple(row.code, true, row.said.empty(), 0)) << ran.err;
        // The tray copy goes on as it was: its icon, its rulers in front of the target.
        EXPECT_TRUE(app.Running() && TrayIconShown());
        EXPECT_EQ(GetForegroundWindow(), target.Hwnd());
        for (HWND ruler : rulers) {
            const RECT r = WindowRectOf(ruler);
            EXPECT_TRUE(WaitInFrontAt(ruler, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
        }
        EXPECT_TRUE(std::ranges::is_permutation(WindowsOf(0, nullptr, true), shownBefore));
    }
    // 600 x 440: the header's width and height, big-endian.
    EXPECT_EQ(ReadFileBytes(L"\\\\?\\" + longPng).substr(16, 8), std::string("\0\0\x02\x58\0\0\x01\xB8", 8));
    EXPECT_EQ(ReadFileBytes(dir + L"\\class.emf").substr(40, 4), " EMF");
}
