// Pictures of another program's window from outside: chosen from the rulers' menu with keys
// from the X keyboard and from the viewer's menu bar with keys, and saved through the real save
// dialog with the name it offers and its overwrite question.
#include <gtest/gtest.h>

#include <tuple>

#include "driver/driver.h"

using namespace e2e;

namespace {

// 保存 ▸ an item (1 エンハンストメタ, 3 PNG), by keys on the viewer's menu bar: Alt,
// Down opens ファイル on its first item, Down to 保存, Right into its submenu. The keys are
// injected: under Wine the X keyboard focus has been seen to stay with the window the rulers'
// menu was opened over after the viewer came to the front (even after a click on the
// viewer's caption), while Windows' own foreground is the viewer.
HWND OpenSaveDialog(const Plumbo& app, HWND viewer, int item = 1) {
    SetForegroundWindow(viewer);
    if (!WaitFor([&] { return GetForegroundWindow() == viewer; })) return nullptr;
    for (WORD key : {VK_MENU, VK_DOWN}) PressKeys({key});
    if (!WaitMenus(1)) return nullptr;
    for (WORD key : {VK_DOWN, VK_RIGHT}) PressKeys({key});
    if (!WaitMenus(2)) return nullptr;
    for (int i = 0; i < item; ++i) PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = WindowOf(app.Pid(), L"#32770", true, L"開く")) != nullptr; });
    return dlg;
}

// The box for the file name: it has the focus when the dialog opens.
HWND NameBox(HWND dlg) {
    GUITHREADINFO gi{.cbSize = sizeof(GUITHREADINFO)};
    WaitFor([&] { return GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gi) && IsChild(dlg, gi.hwndFocus); });
    return IsChild(dlg, gi.hwndFocus) ? gi.hwndFocus : nullptr;
}

// Types the full name into the name box (none: the name offered is kept), and Enter.
bool SaveAs(HWND dlg, const std::wstring& path) {
    HWND edit = NameBox(dlg);
    if (edit && !path.empty()) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        TypeText(path);
    }
    if (!edit || !WaitFor([&] { return path.empty() || TextOf(edit) == path; })) return false;
    PressKeys({VK_RETURN});
    return WaitFor([&] { return !IsWindowVisible(dlg); });
}

// The overwrite question answered by a button's key, as a person pressing "Y" or "N".
bool AnswerQuestion(const Plumbo& app, WORD key) {
    HWND q = nullptr;
    if (!WaitFor([&] { return (q = WindowOf(app.Pid(), L"#32770", true, L"Plumbo!!")) != nullptr; }))
        return false;
    EXPECT_EQ(TextOf(GetDlgItem(q, 0xFFFF)), L"このファイルは存在します。上書きしますか？");
    EXPECT_EQ(GetDlgItem(q, IDCANCEL), nullptr) << "yes or no only";
    SetForegroundWindow(q);
    PressKeys({key});
    return WaitFor([&] { return !IsWindowVisible(q); });
}

}  // namespace

TEST(Pictures, AnotherProgramsWindowRedrawnIsSavedThroughTheRealDialog) {
    Plumbo app;
    Target target;
    ASSERT_TRUE(StartWithTarget(app, target, L"/controls", true));
    HWND ruler = app.HorizontalRuler(), viewer = app.Viewer();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(ruler).left == 300; }));

    // 画面のメタ化 from the rulers' menu by the X keyboard (設定 ▸ is its first item).
    ASSERT_TRUE(OpenRulerMenu(ruler));
    XKeys(L"Down Down Down Return");
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(viewer) && GetForegroundWindow() == viewer; }))
        << "the keyboard is with " << XFocus();

    // As PNG, typed with another picture format's extension: the file takes PNG's.
    const std::wstring dir = MakeTempDir(L"pictures"), png = dir + L"\\shot.png", emf = dir + L"\\shot.emf";
    ASSERT_TRUE(SaveAs(OpenSaveDialog(app, viewer, 3), dir + L"\\shot.bmp")) << "no save dialog";
    ASSERT_TRUE(WaitFor([&] { return FileExists(png); }));
    EXPECT_EQ(std::tuple(ReadFileBytes(png).substr(0, 8), FileExists(dir + L"\\shot.bmp")), std::tuple("\x89PNG\r\n\x1A\n", false));

    // Something else where the metafile goes. The dialog offers the last name with the
    // metafile's extension, and asks about that name: "いいえ" leaves the file; typed without an
    // extension, the name gets it and is asked about again: "はい" replaces the file with the
    // metafile (that a file holds the metafile whole, win.ExportFiles checks).
    const std::string marker = "not a picture, leave me alone\r\n";
    ASSERT_TRUE(WriteFileBytes(emf, marker));
    HWND dlg = OpenSaveDialog(app, viewer);
    EXPECT_EQ(TextOf(NameBox(dlg)), L"shot.emf");
    ASSERT_TRUE(SaveAs(dlg, L""));
    ASSERT_TRUE(AnswerQuestion(app, 'N'));
    // The next command runs once the last is over.
    ASSERT_TRUE(dlg = OpenSaveDialog(app, viewer));
    EXPECT_EQ(ReadFileBytes(emf), marker) << "written after いいえ";
    ASSERT_TRUE(SaveAs(dlg, dir + L"\\shot"));
    ASSERT_TRUE(AnswerQuestion(app, 'Y'));
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(emf).find(" EMF") == 40; })) << "not replaced";

    for (const std::wstring& f : {emf, png}) DeleteFileW(f.c_str());
    RemoveDirectoryW(dir.c_str());
}
