// Pictures of another program's window from outside: chosen from the rulers' menu with keys
// from the X keyboard and from the viewer's menu bar with keys, saved through the real save dialog with its
// overwrite question, and read back from the files by Windows itself.
#include <gtest/gtest.h>

#include <string>

#include "driver/driver.h"

using namespace e2e;

namespace {

// A visible dialog of the program with this title: the save dialog "開く" or a message.
HWND DialogTitled(const Plumbo& app, const wchar_t* title) {
    for (HWND h : WindowsOf(app.Pid(), L"#32770", true))
        if (TextOf(h) == title) return h;
    return nullptr;
}

// 保存 ▸ an item (1 エンハンストメタ, 4 SVG), by keys on the viewer's menu bar: Alt,
// Down opens ファイル on its first item, Down to 保存, Right into its submenu. The keys are
// injected: under Wine the X keyboard focus has been seen to stay with the window the rulers'
// menu was opened over after the viewer came to the front (even after a click on the
// viewer's caption), while Windows' own foreground is the viewer.
HWND OpenSaveDialog(const Plumbo& app, HWND viewer, int item = 1) {
    SetForegroundWindow(viewer);
    if (!WaitFor([&] { return GetForegroundWindow() == viewer; })) return nullptr;
    PressKey(VK_MENU);
    PressKey(VK_DOWN);
    if (!WaitPopupMenu()) return nullptr;
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    if (!WaitFor([] {
            int open = 0;
            for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"#32768", nullptr)) != nullptr;)
                open += IsWindowVisible(h) != FALSE;
            return open >= 2;
        }))
        return nullptr;
    for (int i = 0; i < item; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = DialogTitled(app, L"開く")) != nullptr; });
    return dlg;
}

// Types the full name into the box that has the focus when the dialog opens, and Enter.
bool SaveAs(HWND dlg, const std::wstring& path) {
    HWND edit = nullptr;
    WaitFor([&] {
        GUITHREADINFO gi{};
        gi.cbSize = sizeof gi;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gi) && IsChild(dlg, gi.hwndFocus))
            edit = gi.hwndFocus;
        return edit != nullptr;
    });
    if (!edit) return false;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    TypeText(path);
    if (!WaitFor([&] { return TextOf(edit) == path; })) return false;
    PressKey(VK_RETURN);
    return WaitFor([&] { return !IsWindowVisible(dlg); });
}

// The overwrite question answered by a button's key, as a person pressing "Y" or "N".
bool AnswerQuestion(const Plumbo& app, WORD key) {
    HWND q = nullptr;
    if (!WaitFor([&] { return (q = DialogTitled(app, L"Plumbo!!")) != nullptr; })) return false;
    bool asks = false;
    for (HWND c = nullptr; (c = FindWindowExW(q, c, L"Static", nullptr)) != nullptr;)
        asks |= TextOf(c) == L"このファイルは存在します。上書きしますか？";
    EXPECT_TRUE(asks);
    EXPECT_EQ(GetDlgItem(q, IDCANCEL), nullptr) << "yes or no only";
    SetForegroundWindow(q);
    PressKey(key);
    return WaitFor([&] { return !IsWindowVisible(q); });
}

}  // namespace

TEST(Pictures, AnotherProgramsWindowRedrawnIsSavedThroughTheRealDialog) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(140, 120, 600, 440, L"書き出しテスト", L"/controls"));
    app.ShowRulersByDoubleClick();
    ASSERT_TRUE(target.Activate());
    HWND ruler = app.HorizontalRuler(), viewer = app.Viewer();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(ruler).left == 140; }));
    const RECT t = WindowRectOf(target.Hwnd());
    const SIZE size{t.right - t.left, t.bottom - t.top};

    // 画面のメタ化 from the rulers' menu by the X keyboard (設定 ▸ is its first item).
    ASSERT_TRUE(OpenRulerMenu(ruler));
    XKeys(L"Down Down Down Return");
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(viewer) && GetForegroundWindow() == viewer; }))
        << "the keyboard is with " << XFocus();
    EXPECT_EQ(ClientRectOnScreen(viewer).right - ClientRectOnScreen(viewer).left, size.cx);

    const std::wstring dir = MakeTempDir(L"pictures"), emf = dir + L"\\redrawn.emf";
    HWND dlg = OpenSaveDialog(app, viewer);
    ASSERT_TRUE(dlg) << "no save dialog";
    ASSERT_TRUE(SaveAs(dlg, emf));
    ASSERT_TRUE(WaitFor([&] { return FileExists(emf); }));
    EXPECT_EQ(DialogTitled(app, L"Plumbo!!"), nullptr) << "asked about a file that did not exist";
    // Windows opens it. Its frame and texts are the metafile's (shell.MetafileFrame and
    // shell.RedrawDraws check those), and a file holds the metafile whole (win.ExportFiles).
    HENHMETAFILE opened = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (opened = GetEnhMetaFileW(emf.c_str())) != nullptr; }));
    DeleteEnhMetaFile(opened);
    const std::string saved = ReadFileBytes(emf);

    // As SVG, the fifth item: text elements with the controls' texts, drawn by librsvg at the
    // window's size.
    const std::wstring svgName = L"plumbo-e2e-" + std::to_wstring(GetCurrentProcessId()) + L".svg",
                       svg = L"Z:\\tmp\\" + svgName;  // /tmp on the Linux side
    ASSERT_TRUE(dlg = OpenSaveDialog(app, viewer, 4));
    ASSERT_TRUE(SaveAs(dlg, svg));
    ASSERT_TRUE(WaitFor([&] { return FileExists(svg); }));
    for (const std::string name : {"Push", "Check", "Group", "Plain static", "PlumboGadget"})
        EXPECT_NE(ReadFileBytes(svg).find(">" + name + "</text>"), std::string::npos);
    EXPECT_EQ(RunOnLinux(L"rsvg-convert /tmp/" + svgName + L" | identify -format '%w %h' -"),
              std::to_string(size.cx) + " " + std::to_string(size.cy));
    DeleteFileW(svg.c_str());

    // コピー by keys (ファイル opens on it), read by another program once it has begun: both
    // metafiles, the bitmap and the "PNG" file at the window's size.
    SetForegroundWindow(viewer);
    PressKey(VK_MENU);
    PressKey(VK_DOWN);
    ASSERT_TRUE(WaitPopupMenu());
    const DWORD copies = GetClipboardSequenceNumber();
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return GetClipboardSequenceNumber() != copies; }));
    Process reader;
    const std::wstring report = dir + L"\\clipboard.txt";
    ASSERT_TRUE(reader.Start(BinDir() + L"\\clipboardformats.exe", L"\"" + report + L"\"", dir) && reader.WaitExit(10000));
    const std::string formats = "\n" + ReadFileBytes(report);
    for (const std::string& line : std::initializer_list<std::string>{"14", "3", "2", "PNG " + std::to_string(size.cx) + "x" + std::to_string(size.cy)})
        EXPECT_NE(formats.find("\n" + line + "\n"), std::string::npos) << line << " not in" << formats;
    DeleteFileW(report.c_str());

    // Something else in its place: "いいえ" leaves it, "はい" replaces it with the same picture.
    const std::string marker = "not a picture, leave me alone\r\n";
    ASSERT_TRUE(WriteFileBytes(emf, marker));
    ASSERT_TRUE(dlg = OpenSaveDialog(app, viewer));
    ASSERT_TRUE(SaveAs(dlg, emf));
    ASSERT_TRUE(AnswerQuestion(app, 'N'));
    EXPECT_FALSE(WaitFor([&] { return ReadFileBytes(emf) != marker; }, 1000)) << "written after いいえ";
    ASSERT_TRUE(dlg = OpenSaveDialog(app, viewer));
    ASSERT_TRUE(SaveAs(dlg, emf));
    ASSERT_TRUE(AnswerQuestion(app, 'Y'));
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(emf) == saved; })) << "not replaced by the same picture";

    // After the dialogs the program still ends when asked.
    ASSERT_TRUE(app.ChooseControlMenu(5));  // 終了
    EXPECT_TRUE(app.WaitExit(10000));
    DeleteFileW(emf.c_str());
    RemoveDirectoryW(dir.c_str());
}
