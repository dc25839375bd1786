// "保存" driven from outside through the real save dialog: the re-drawn controls window saved
// as an enhanced metafile (the overwrite question answered "いいえ" once and "はい" once) and
// a screen capture saved as a bitmap; the files are read back and held against the windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "driver/driver.h"

using namespace e2e;

namespace {

std::string Utf8(const std::wstring& s) {
    std::string out(s.size() * 3, '\0');
    int n = s.empty() ? 0
                      : WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(),
                                            static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<size_t>(n > 0 ? n : 0));
    return out;
}

// The viewer's menu bar: 0 ファイル (0 クリップボードへコピー, 1 保存 ▸ 0 ビットマップ,
// 1 エンハンストメタ, 2 ウインドウズメタ), 1 表示 (0 150 %, 1 100 %, 2 50 %).
constexpr int kFileMenu = 0, kSaveItem = 1, kSaveBmp = 0, kSaveEmf = 1, kZoomMenu = 1, kZoom50Item = 2;

const wchar_t kDialogTitle[] = L"開く";
const wchar_t kQuestion[] = L"このファイルは存在します。上書きしますか？";
const wchar_t kMessageTitle[] = L"Plumbo!!";

SIZE ClientSize(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return {r.right, r.bottom};
}

SIZE OuterSize(HWND h) {
    RECT r = WindowRectOf(h);
    return {r.right - r.left, r.bottom - r.top};
}

std::wstring TextOf(HWND h) {
    wchar_t buf[1024] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &n);
    return std::wstring(buf, n);
}

std::wstring TitleOf(HWND h) {
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return buf;
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[64] = {};
    GetClassNameW(h, buf, 64);
    return buf;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM l) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

std::vector<HWND> OpenMenus() {
    std::vector<HWND> out;
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, L"#32768", nullptr)) != nullptr)
        if (IsWindowVisible(h)) out.push_back(h);
    return out;
}

// Leaves menu mode whatever state a dropped key left it in.
void CloseMenus() {
    for (int i = 0; i < 4 && !OpenMenus().empty(); ++i) {
        PressKey(VK_ESCAPE);
        Pause(150);
    }
    PressKey(VK_ESCAPE);  // the menu bar itself
    Pause(150);
}

bool BringToFront(HWND h) {
    if (GetForegroundWindow() == h) return true;
    SetForegroundWindow(h);
    return WaitFor([&] { return GetForegroundWindow() == h; }, 2000);
}

// Walks the viewer's menu bar by keys: Alt, Right to the menu, Down opens it on its first
// item, Down to the item, Right into a submenu and Down to its item, Enter; the caller checks
// the outcome.
void ChooseViewerMenu(HWND viewer, int menu, int item, int subItem = -1) {
    BringToFront(viewer);
    Pause(150);
    PressKey(VK_MENU);
    Pause(200);
    for (int i = 0; i < menu; ++i) {
        PressKey(VK_RIGHT);
        Pause(100);
    }
    PressKey(VK_DOWN);
    if (!WaitPopupMenu(2000)) {
        CloseMenus();
        return;
    }
    Pause(250);
    for (int i = 0; i < item; ++i) {
        PressKey(VK_DOWN);
        Pause(80);
    }
    if (subItem >= 0) {
        PressKey(VK_RIGHT);
        if (!WaitFor([] { return OpenMenus().size() >= 2; }, 2000)) {
            CloseMenus();
            return;
        }
        Pause(250);
        for (int i = 0; i < subItem; ++i) {
            PressKey(VK_DOWN);
            Pause(80);
        }
    }
    PressKey(VK_RETURN);
    if (!WaitNoPopupMenu(2000)) CloseMenus();
    Pause(200);
}

// Visible message and dialog windows of plumbo with the given title.
HWND DialogTitled(const Plumbo& app, const std::wstring& title) {
    for (HWND h : WindowsOf(app.Pid(), L"#32770", true))
        if (TitleOf(h) == title) return h;
    return nullptr;
}

bool HasChildText(HWND dlg, const std::wstring& text) {
    for (HWND c : ChildrenOf(dlg))
        if (TextOf(c) == text) return true;
    return false;
}

// The file-type box of the save dialog shows the command's filter.
bool ShowsFilter(HWND dlg, const std::wstring& pattern) {
    for (HWND c : ChildrenOf(dlg))
        if (ClassOf(c) == L"ComboBox" && TextOf(c).find(pattern) != std::wstring::npos) return true;
    return false;
}

// Chooses 保存 ▸ item and waits for the save dialog showing the filter of that command.
HWND OpenSaveDialog(const Plumbo& app, HWND viewer, int item, const std::wstring& pattern) {
    ChooseViewerMenu(viewer, kFileMenu, kSaveItem, item);
    HWND dlg = nullptr;
    if (!WaitFor([&] { return (dlg = DialogTitled(app, kDialogTitle)) != nullptr; })) {
        fprintf(stderr, "no save dialog\n");
        return nullptr;
    }
    if (!WaitFor([&] { return ShowsFilter(dlg, pattern); })) {
        fprintf(stderr, "the save dialog of another command opened\n");
        return nullptr;
    }
    return dlg;
}

// The box the dialog gives the focus to when it opens: the file name.
HWND FocusedEdit(HWND dlg) {
    GUITHREADINFO gi{};
    gi.cbSize = sizeof gi;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gi)) return nullptr;
    HWND f = gi.hwndFocus;
    return f && IsChild(dlg, f) && ClassOf(f) == L"Edit" ? f : nullptr;
}

// Types the full name into the file-name box (selecting what is there first) and presses
// Enter; true once the dialog is gone. shownName gets what the box showed when it opened.
bool SaveAs(HWND dlg, const std::wstring& path, std::wstring* shownName = nullptr) {
    BringToFront(dlg);
    HWND edit = nullptr;
    if (!WaitFor([&] { return (edit = FocusedEdit(dlg)) != nullptr; }, 3000)) {
        fprintf(stderr, "no file-name box has the focus\n");
        return false;
    }
    if (shownName) *shownName = TextOf(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    TypeText(path);
    if (!WaitFor([&] { return TextOf(edit) == path; })) {
        fprintf(stderr, "the file-name box shows %s\n", Utf8(TextOf(edit)).c_str());
        return false;
    }
    PressKey(VK_RETURN);
    return WaitFor([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); });
}

// The overwrite question, once it shows.
HWND WaitQuestion(const Plumbo& app, int timeoutMs = 4000) {
    HWND q = nullptr;
    WaitFor([&] { return (q = DialogTitled(app, kMessageTitle)) != nullptr; }, timeoutMs);
    return q;
}

// Answers a message box by the accelerator of a button, as a person pressing "N" or "Y".
bool Answer(HWND box, WORD key) {
    BringToFront(box);
    PressKey(key);
    return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

// Files in a folder, by name.
std::set<std::wstring> FilesIn(const std::wstring& dir) {
    std::set<std::wstring> out;
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.insert(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

template <typename T>
T At(const std::string& bytes, size_t offset) {
    T v{};
    if (offset + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

// Why the bytes are not a whole enhanced metafile: a header record first (type 1, " EMF" at
// offset 40, nBytes the file's size), records that tile the file, EMR_EOF last; empty if
// they are.
std::string EmfFault(const std::string& bytes) {
    if (bytes.size() < sizeof(ENHMETAHEADER)) return "too short: " + std::to_string(bytes.size()) + " bytes";
    if (At<DWORD>(bytes, 0) != EMR_HEADER) return "first record of type " + std::to_string(At<DWORD>(bytes, 0));
    if (At<DWORD>(bytes, 40) != ENHMETA_SIGNATURE) return "no \" EMF\" signature at offset 40";
    if (At<DWORD>(bytes, 48) != bytes.size())
        return "header says " + std::to_string(At<DWORD>(bytes, 48)) + " bytes, file has " +
               std::to_string(bytes.size());
    size_t at = 0;
    DWORD last = 0, records = 0;
    while (at + 8 <= bytes.size()) {
        const DWORD size = At<DWORD>(bytes, at + 4);
        if (size < 8 || size % 4 || at + size > bytes.size())
            return "bad record size " + std::to_string(size) + " at " + std::to_string(at);
        last = At<DWORD>(bytes, at);
        at += size;
        ++records;
    }
    if (at != bytes.size()) return "trailing bytes";
    if (last != EMR_EOF) return "last record of type " + std::to_string(last);
    if (records != At<DWORD>(bytes, 52)) return "header counts other records than the file holds";
    return {};
}

void SaveScreen(const wchar_t* name) {
    SavePng(GrabScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}),
            MakeTempDir(L"export") + L"\\" + name);
}

// Brings the target to the front by a click on a bare spot of its client area near the
// bottom-left corner (a second click on the caption would maximise it).
void BringTargetToFront(Target& target) {
    HWND h = target.Hwnd();
    if (IsZoomed(h)) ShowWindow(h, SW_RESTORE);
    if (GetForegroundWindow() == h) return;
    const RECT c = ClientRectOnScreen(h);
    Click(c.left + 8, c.bottom - 8);
    WaitFor([&] { return GetForegroundWindow() == h; });
}

// Shows the rulers, brings the target to the front, lets the rulers find it and chooses
// "画面のメタ化" ({2}) or "画面キャプチャ" ({1}). The viewer once it shows.
HWND ViewerOf(Plumbo& app, Target& target, int rulerItem, std::string& failure) {
    HWND ruler = app.HorizontalRuler();
    HWND viewer = app.Viewer();
    if (!IsWindowVisible(ruler)) {
        app.ShowRulersByDoubleClick();
        if (!WaitFor([&] { return IsWindowVisible(ruler) != FALSE; })) {
            failure = "the rulers did not show";
            return nullptr;
        }
    }
    BringTargetToFront(target);
    Pause(1000);  // a few ticks of the tracking timer
    if (!app.ChooseRulerMenu(ruler, {rulerItem})) {
        failure = "the ruler menu did not open or close";
        return nullptr;
    }
    WaitFor([&] { return IsWindowVisible(viewer) != FALSE; }, 8000);  // re-drawing takes a while under load
    if (!WaitFor([&] { return IsWindowVisible(viewer) && ClientSize(viewer).cx > 0; }, 4000)) {
        failure += "; the viewer did not show; plumbo shows";
        for (HWND h : WindowsOf(app.Pid(), nullptr, true))
            failure += " [" + Utf8(ClassOf(h)) + " '" + Utf8(TitleOf(h)) + "']";
        SaveScreen(L"viewer-missing.bmp");
        return nullptr;
    }
    Pause(500);
    return viewer;
}

// A BMP file read back: its header fields and its pixels as 0x00RRGGBB, top row first.
struct Bmp {
    int width = 0, height = 0, bits = 0;
    std::vector<uint32_t> pixels;
    uint32_t AtXY(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

std::string ReadBmp(const std::string& f, Bmp& out) {
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M') return "no \"BM\" file header";
    if (At<DWORD>(f, 2) != f.size()) return "bfSize is not the file's size";
    const DWORD offBits = At<DWORD>(f, 10), infoSize = At<DWORD>(f, 14);
    const LONG w = At<LONG>(f, 18), h = At<LONG>(f, 22);
    const WORD bits = At<WORD>(f, 28);
    const DWORD compression = At<DWORD>(f, 30);
    if (infoSize < sizeof(BITMAPINFOHEADER) || w <= 0 || h == 0) return "bad info header";
    if (compression != BI_RGB) return "compression " + std::to_string(compression);
    const int height = h < 0 ? -h : h;
    const size_t row = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
    if (offBits + row * height > f.size()) return "pixels run past the end of the file";
    out.width = w;
    out.height = height;
    out.bits = bits;
    out.pixels.assign(static_cast<size_t>(w) * height, 0);
    const size_t table = 14 + infoSize;
    for (int y = 0; y < height; ++y) {
        const size_t line = offBits + row * static_cast<size_t>(h < 0 ? y : height - 1 - y);
        for (int x = 0; x < w; ++x) {
            uint32_t c = 0;
            const auto* p = reinterpret_cast<const uint8_t*>(f.data()) + line;
            switch (bits) {
            case 32:
            case 24: {
                const uint8_t* q = p + static_cast<size_t>(x) * (bits / 8);
                c = (uint32_t{q[2]} << 16) | (uint32_t{q[1]} << 8) | q[0];
                break;
            }
            case 16: {  // 5-5-5
                const unsigned v = p[2 * x] | (p[2 * x + 1] << 8);
                const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                c = ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
                break;
            }
            case 8:
            case 4:
            case 1: {
                const size_t bit = static_cast<size_t>(x) * bits;
                const unsigned index = (p[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                c = At<DWORD>(f, table + 4 * index) & 0xFFFFFF;
                break;
            }
            default:
                return "depth " + std::to_string(bits);
            }
            out.pixels[static_cast<size_t>(y) * w + x] = c;
        }
    }
    return {};
}

bool Close(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
    return true;
}

}  // namespace

TEST(Export, SavesTheRedrawnWindowAsEnhancedMetafileAskingBeforeReplacingIt) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(140, 120, 660, 480, L"書き出しテスト", L"/controls"));
    std::string failure;
    HWND viewer = ViewerOf(app, target, 2, failure);
    ASSERT_NE(viewer, nullptr) << failure;
    const SIZE size = OuterSize(target.Hwnd());
    ASSERT_EQ(ClientSize(viewer).cx, size.cx);

    // "５０％" first: what is saved is the picture, not the zoomed view.
    ChooseViewerMenu(viewer, kZoomMenu, kZoom50Item);
    WaitFor([&] { return ClientSize(viewer).cx < size.cx; });
    ASSERT_LT(ClientSize(viewer).cx, size.cx) << "the zoom did not happen";
    EXPECT_NEAR(ClientSize(viewer).cx, size.cx / 2.0, 1.0);
    EXPECT_NEAR(ClientSize(viewer).cy, size.cy / 2.0, 1.0);

    const std::wstring dir = MakeTempDir(L"export");
    ASSERT_FALSE(dir.empty());
    const std::wstring name = L"redrawn.emf", path = dir + L"\\" + name;

    // A new file: no question, a whole metafile.
    HWND dlg = OpenSaveDialog(app, viewer, kSaveEmf, L"*.emf");
    if (!dlg) SaveScreen(L"no-save-dialog.bmp");
    ASSERT_NE(dlg, nullptr) << "no save dialog titled 開く with the *.emf filter";
    ASSERT_TRUE(SaveAs(dlg, path)) << "the save dialog did not take the name";
    ASSERT_TRUE(WaitFor([&] { return FileExists(path) || WaitQuestion(app, 0); }, 5000));
    EXPECT_EQ(WaitQuestion(app, 300), nullptr) << "asked about a file that did not exist";
    ASSERT_TRUE(WaitFor([&] { return EmfFault(ReadFileBytes(path)).empty(); }, 3000))
        << EmfFault(ReadFileBytes(path));
    const std::string saved = ReadFileBytes(path);
    EXPECT_EQ(FilesIn(dir), std::set<std::wstring>{name}) << "a temporary file was left beside it";

    // Its frame: the window's outer size in HIMETRIC at the screen's resolution.
    HDC screen = GetDC(nullptr);
    const double dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const RECTL frame = At<RECTL>(saved, 24);
    const double wantX = size.cx * 2540.0 / dpiX, wantY = size.cy * 2540.0 / dpiY;
    EXPECT_NEAR(frame.right - frame.left, wantX, wantX * 0.01);
    EXPECT_NEAR(frame.bottom - frame.top, wantY, wantY * 0.01);
    // Other programs open it too.
    HENHMETAFILE opened = GetEnhMetaFileW(path.c_str());
    EXPECT_NE(opened, nullptr);
    if (opened) DeleteEnhMetaFile(opened);

    // Something else in its place; "いいえ" leaves it as it is.
    const std::string marker = "not a picture, leave me alone\r\n";
    ASSERT_TRUE(WriteFileBytes(path, marker));
    dlg = OpenSaveDialog(app, viewer, kSaveEmf, L"*.emf");
    ASSERT_NE(dlg, nullptr);
    std::wstring shown;
    ASSERT_TRUE(SaveAs(dlg, path, &shown));
    EXPECT_TRUE(shown == path || shown == name) << "the dialog does not keep the last name: " << Utf8(shown);
    HWND question = WaitQuestion(app);
    if (!question) SaveScreen(L"no-question.bmp");
    ASSERT_NE(question, nullptr) << "no overwrite question";
    EXPECT_TRUE(HasChildText(question, kQuestion));
    EXPECT_NE(GetDlgItem(question, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(question, IDNO), nullptr);
    EXPECT_EQ(GetDlgItem(question, IDCANCEL), nullptr);
    ASSERT_TRUE(Answer(question, 'N')) << "the question did not take \"N\"";
    // Nothing more comes: no other message, no write.
    EXPECT_FALSE(WaitFor([&] { return ReadFileBytes(path) != marker; }, 1000));
    EXPECT_TRUE(WindowsOf(app.Pid(), L"#32770", true).empty());
    EXPECT_EQ(ReadFileBytes(path), marker);
    EXPECT_EQ(FilesIn(dir), std::set<std::wstring>{name});

    // "はい" replaces it with the same metafile as before.
    dlg = OpenSaveDialog(app, viewer, kSaveEmf, L"*.emf");
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(SaveAs(dlg, path));
    question = WaitQuestion(app);
    ASSERT_NE(question, nullptr) << "no overwrite question";
    EXPECT_TRUE(HasChildText(question, kQuestion));
    ASSERT_TRUE(Answer(question, 'Y')) << "the question did not take \"Y\"";
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(path) != marker; }, 5000)) << "not replaced";
    WaitFor([&] { return ReadFileBytes(path) == saved; }, 2000);
    const std::string replaced = ReadFileBytes(path);
    EXPECT_EQ(EmfFault(replaced), "");
    EXPECT_TRUE(replaced == saved) << "the second save differs from the first";
    EXPECT_EQ(FilesIn(dir), std::set<std::wstring>{name});
    EXPECT_TRUE(WindowsOf(app.Pid(), L"#32770", true).empty()) << "a message after the save";
    EXPECT_TRUE(app.Running());

    DeleteFileW(path.c_str());
    RemoveDirectoryW(dir.c_str());
}

TEST(Export, SavesAScreenCaptureAsTheBitmapTheViewerShows) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(100, 60, 420, 300, L"書き出しテスト", L"/controls"));
    std::string failure;
    HWND viewer = ViewerOf(app, target, 1, failure);
    ASSERT_NE(viewer, nullptr) << failure;
    const SIZE size = OuterSize(target.Hwnd());
    ASSERT_EQ(ClientSize(viewer).cx, size.cx);
    ASSERT_EQ(ClientSize(viewer).cy, size.cy);

    const std::wstring dir = MakeTempDir(L"export");
    ASSERT_FALSE(dir.empty());
    const std::wstring name = L"captured.bmp", path = dir + L"\\" + name;
    HWND dlg = OpenSaveDialog(app, viewer, kSaveBmp, L"*.bmp");
    if (!dlg) SaveScreen(L"no-save-dialog.bmp");
    ASSERT_NE(dlg, nullptr) << "no save dialog titled 開く with the *.bmp filter";
    ASSERT_TRUE(SaveAs(dlg, path));
    ASSERT_TRUE(WaitFor([&] { return FileExists(path); }, 5000));
    Bmp bmp;
    std::string fault;
    WaitFor([&] { return (fault = ReadBmp(ReadFileBytes(path), bmp)).empty(); }, 3000);
    ASSERT_EQ(fault, "");
    EXPECT_EQ(bmp.width, size.cx);
    EXPECT_EQ(bmp.height, size.cy);
    EXPECT_EQ(FilesIn(dir), std::set<std::wstring>{name});
    EXPECT_TRUE(WindowsOf(app.Pid(), L"#32770", true).empty()) << "a message after the save";

    // Its pixels are the viewer's client area wherever that is on screen and not under the
    // rulers (always on top) or the taskbar.
    BringToFront(viewer);
    Pause(300);
    const RECT at = ClientRectOnScreen(viewer);
    const Image shown = GrabScreen(at);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::vector<RECT> covered;
    for (HWND r : {app.HorizontalRuler(), app.VerticalRuler()})
        if (IsWindowVisible(r)) covered.push_back(WindowRectOf(r));
    int compared = 0, differing = 0;
    std::set<uint32_t> colours;
    std::string firstDifference;
    for (int y = 0; y < std::min(shown.height, bmp.height); y += 3)
        for (int x = 0; x < std::min(shown.width, bmp.width); x += 3) {
            POINT p{at.left + x, at.top + y};
            if (!PtInRect(&work, p) ||
                std::any_of(covered.begin(), covered.end(), [&](const RECT& r) { return PtInRect(&r, p) != FALSE; }))
                continue;
            ++compared;
            colours.insert(bmp.AtXY(x, y));
            if (!Close(bmp.AtXY(x, y), shown.At(x, y)) && differing++ == 0) {
                char buf[96];
                snprintf(buf, sizeof buf, "at %d,%d file %06X screen %06X", x, y, bmp.AtXY(x, y), shown.At(x, y));
                firstDifference = buf;
            }
        }
    EXPECT_GT(compared, (bmp.width / 3) * (bmp.height / 3) / 2) << "too little of the viewer on screen";
    EXPECT_GE(colours.size(), 3u) << "a picture of one or two colours proves nothing";
    EXPECT_EQ(differing, 0) << "of " << compared << " pixels; first " << firstDifference << " (" << bmp.bits
                            << " bits)";
    if (HasFailure()) {
        SavePng(shown, dir + L"\\viewer.bmp");
        return;
    }
    DeleteFileW(path.c_str());
    RemoveDirectoryW(dir.c_str());
}
