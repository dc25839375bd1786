// Staying resident when things go wrong around it: a settings file that cannot be used, and the
// tracking that must come back after the tray menu was dismissed.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

namespace {

std::wstring TextOf(HWND h) {
    wchar_t buf[512] = {};
    GetWindowTextW(h, buf, 512);
    return buf;
}

}  // namespace

TEST(Resident, AnUnusableSettingsFileIsReportedOnceAndTheDefaultsAreUsed) {
    Plumbo app;
    // A folder where the file should be: it can be neither read nor created.
    std::wstring dir = MakeTempDir(L"badini");
    ASSERT_FALSE(dir.empty());
    std::wstring bin = BinDir();
    ASSERT_TRUE(CopyFileW((bin + L"\\plumbo.exe").c_str(), (dir + L"\\plumbo.exe").c_str(), FALSE));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\plumbo.ini").c_str(), nullptr));
    Process proc;
    ASSERT_TRUE(proc.Start(dir + L"\\plumbo.exe", L"", dir));

    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(proc.Pid(), L"#32770", true)) != nullptr; }, 15000));
    std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
    EXPECT_NE(text.find(L"plumbo.ini"), std::wstring::npos) << "the message names the file";
    PressKey(VK_RETURN);
    // No second box: one message for the whole file, not one per key.
    Pause(1500);
    EXPECT_EQ(WindowOf(proc.Pid(), L"#32770", true), nullptr);
    EXPECT_TRUE(proc.Running());
    // Resident with the defaults: the rulers exist, topmost as a new file would have them.
    HWND ruler = WindowOf(proc.Pid(), L"PlumboRuler");
    ASSERT_NE(ruler, nullptr);
    EXPECT_TRUE(GetWindowLongW(ruler, GWL_EXSTYLE) & WS_EX_TOPMOST);
    proc.Kill();
    DeleteFileW((dir + L"\\plumbo.exe").c_str());
    RemoveDirectoryW((dir + L"\\plumbo.ini").c_str());
    RemoveDirectoryW(dir.c_str());
}

TEST(Resident, TrackingResumesAfterTheTrayMenuIsDismissed) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(300, 200, 400, 300));
    app.ShowRulersByDoubleClick();
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 300; }));

    ClickTrayIcon(true);
    ASSERT_TRUE(WaitPopupMenu());
    Pause(300);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitNoPopupMenu());
    // Visible rulers go on following the target.
    target.Activate();
    SetWindowPos(target.Hwnd(), nullptr, 350, 240, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return WindowRectOf(app.HorizontalRuler()).left == 350; }));
}
