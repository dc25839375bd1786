// The viewer's picture, the raster grab, the viewer's placement and zoom, and the input box,
// inside the test process (windows made here, not plumbo's).
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/menu_table.h"
#include "capture/picture_win.h"
#include "capture/raster_capture_win.h"
#include "capture/viewer_win.h"
#include "platform/input_box_win.h"
#include "platform/window_win.h"

namespace plumbo {
namespace {

int ScreenDpiX() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi;
}

HBITMAP MakeBitmap(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    return b;
}

HENHMETAFILE MakeEnhMetafile() {
    RECT frame{0, 0, 2000, 1000};  // HIMETRIC
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    Rectangle(dc, 0, 0, 10, 10);
    return CloseEnhMetaFile(dc);
}

HMETAFILE MakeMetafile() {
    HDC dc = CreateMetaFileW(nullptr);
    Rectangle(dc, 0, 0, 10, 10);
    return CloseMetaFile(dc);
}

HICON MakeIcon() {
    HBITMAP mask = MakeBitmap(32, 32), colour = MakeBitmap(32, 32);
    ICONINFO ii{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

// ---- PictureFromHandle ----

TEST(ViewerPicture, FindsEachKindFromTheHandleAndWritesItBack) {
    struct Case {
        const char* name;
        HANDLE handle;
        PictureKind expected;
    };
    const Case cases[] = {
        {"bitmap", MakeBitmap(8, 8), PictureKind::Bitmap},
        {"Windows metafile", MakeMetafile(), PictureKind::Metafile},
        {"enhanced metafile", MakeEnhMetafile(), PictureKind::EnhMetafile},
        {"icon", MakeIcon(), PictureKind::Icon},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.handle, nullptr) << c.name;
        PictureKind kind = PictureKind::None;
        Picture p = PictureFromHandle(c.handle, kind, nullptr, 1234, 567);
        EXPECT_EQ(kind, c.expected) << c.name;
        EXPECT_EQ(p.Kind(), c.expected) << c.name;
        EXPECT_EQ(p.Handle(), c.handle) << c.name;
    }
}

TEST(ViewerPicture, RefusesNullAndNonPictureHandles) {
    PictureKind kind = PictureKind::None;
    EXPECT_TRUE(PictureFromHandle(nullptr, kind, nullptr, 0, 0).Empty());
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    kind = PictureKind::None;
    EXPECT_TRUE(PictureFromHandle(pen, kind, nullptr, 0, 0).Empty());
    // Not taken: the pen is still ours to delete.
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    DeleteObject(pen);
}

TEST(ViewerPicture, MeasuresInHimetric) {
    const int dpi = ScreenDpiX();
    PictureKind kind = PictureKind::None;
    // 96 pixels are one inch, 2540 HIMETRIC, at any resolution when sized by it.
    Picture bmp = PictureFromHandle(MakeBitmap(dpi, dpi / 2), kind, nullptr, 0, 0);
    EXPECT_EQ(bmp.HimetricWidth(), 2540);
    EXPECT_EQ(bmp.HimetricHeight(), 1270);
    kind = PictureKind::None;
    Picture emf = PictureFromHandle(MakeEnhMetafile(), kind, nullptr, 0, 0);
    EXPECT_EQ(emf.HimetricWidth(), 2000);
    EXPECT_EQ(emf.HimetricHeight(), 1000);
    kind = PictureKind::None;
    Picture wmf = PictureFromHandle(MakeMetafile(), kind, nullptr, 1234, 567);
    EXPECT_EQ(wmf.HimetricWidth(), 1234);
    EXPECT_EQ(wmf.HimetricHeight(), 567);
}

TEST(ViewerPicture, PictureFromBitmapOwnsBitmapAndPalette) {
    HBITMAP b = MakeBitmap(4, 4);
    LOGPALETTE lp{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE pal = CreatePalette(&lp);
    {
        Picture p = PictureFromBitmap(b, pal);
        EXPECT_EQ(p.Kind(), PictureKind::Bitmap);
        EXPECT_EQ(p.Bitmap(), b);
        EXPECT_EQ(p.Palette(), pal);
        EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(GetObjectType(b), 0u) << "the bitmap is released with its picture";
    EXPECT_EQ(GetObjectType(pal), 0u) << "and so is the palette";
}

// ---- GrabWindowBitmap ----

constexpr COLORREF kLeftColour = RGB(200, 30, 40);
constexpr COLORREF kRightColour = RGB(20, 60, 220);
constexpr COLORREF kStripeColour = RGB(10, 190, 70);

// A popup window painted in known colours: left half, right half and a stripe at rows 10-19.
class PaintedWindow : public Window {
public:
    bool Open(int x, int y, int w, int h) {
        WindowArgs a;
        a.className = L"PlumboTestPainted";
        a.style = WS_POPUP | WS_BORDER;
        a.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
        a.x = x;
        a.y = y;
        a.width = w;
        a.height = h;
        if (!Create(a)) return false;
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd());
        for (int i = 0; i < 10; ++i) {
            DoEvents();
            Sleep(20);
        }
        return true;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd(), &ps);
            RECT c = ClientRect();
            auto fill = [&](RECT r, COLORREF colour) {
                HBRUSH b = CreateSolidBrush(colour);
                FillRect(dc, &r, b);
                DeleteObject(b);
            };
            fill({0, 0, c.right / 2, c.bottom}, kLeftColour);
            fill({c.right / 2, 0, c.right, c.bottom}, kRightColour);
            fill({0, 10, c.right, 20}, kStripeColour);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        return DefaultProc(msg, wp, lp);
    }
};

std::vector<COLORREF> PixelsOf(HBITMAP bmp, int w, int h) {
    std::vector<COLORREF> out;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(GetPixel(mem, x, y) & 0xFFFFFF);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

std::vector<COLORREF> ScreenPixels(RECT r) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, b);
    BitBlt(mem, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> px = PixelsOf(b, r.right - r.left, r.bottom - r.top);
    DeleteObject(b);
    return px;
}

TEST(RasterCapture, WholeWindowGrabEqualsTheScreenPixelForPixel) {
    PaintedWindow win;
    ASSERT_TRUE(win.Open(60, 70, 120, 80));
    RECT r = win.WindowRect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    Picture p = GrabWindowBitmap(win.hwnd(), false, 0, 0, w, h);
    ASSERT_EQ(p.Kind(), PictureKind::Bitmap);
    BITMAP bm{};
    GetObjectW(p.Bitmap(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, w);
    EXPECT_EQ(bm.bmHeight, h);
    std::vector<COLORREF> grabbed = PixelsOf(p.Bitmap(), w, h);
    EXPECT_EQ(grabbed, ScreenPixels(r));

    // And the screen shows what the window painted: the 1-pixel border, then the client.
    EXPECT_EQ(grabbed[5 * w + 5], kLeftColour);
    EXPECT_EQ(grabbed[5 * w + (w - 6)], kRightColour);
    EXPECT_EQ(grabbed[15 * w + 40], kStripeColour);
    // A true-colour screen gets no palette.
    EXPECT_EQ(p.Palette(), nullptr);
}

TEST(RasterCapture, ClientGrabStartsAtTheClientOriginPlusTheSourceOffset) {
    PaintedWindow win;
    ASSERT_TRUE(win.Open(60, 70, 120, 80));
    POINT origin{0, 0};
    ClientToScreen(win.hwnd(), &origin);
    // From (0, 8) of the client, 30 x 4: rows 8-11, crossing into the stripe at row 10.
    Picture p = GrabWindowBitmap(win.hwnd(), true, 0, 8, 30, 4);
    std::vector<COLORREF> grabbed = PixelsOf(p.Bitmap(), 30, 4);
    EXPECT_EQ(grabbed, ScreenPixels({origin.x, origin.y + 8, origin.x + 30, origin.y + 12}));
    EXPECT_EQ(grabbed[0], kLeftColour);
    EXPECT_EQ(grabbed[2 * 30], kStripeColour);
}

// ---- Viewer window: menu states, placement, zoom ----

class ViewerMenus : public ::testing::Test {
protected:
    void SetUp() override { TheApp().menus = BuildMenuTree(MenuTable()); }
    static bool Enabled(UINT id) {
        for (auto& [top, h] : TheApp().menus.topLevel) {
            UINT s = GetMenuState(h, id, MF_BYCOMMAND);
            if (s != static_cast<UINT>(-1)) return !(s & (MF_GRAYED | MF_DISABLED));
        }
        ADD_FAILURE() << "no menu item " << id;
        return false;
    }
};

TEST_F(ViewerMenus, RasterModeLeavesOnlyTheBitmapSaveAndMetafileModeEnablesAll) {
    // Copy is never touched: a state set beforehand survives both modes.
    EnableMenu(mFileCopy, false);
    SetViewerMenuStates(true);
    SetViewerMenuStates(false);
    EXPECT_TRUE(Enabled(mFileSaveBMP));
    for (UINT id : {mFileSaveEMF, mFileSaveWMF, mMetaShow150, mMetaShow100, mMetaShow50, mMetaShowInput})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(mFileCopy));

    SetViewerMenuStates(true);
    for (UINT id : {mFileSaveBMP, mFileSaveEMF, mFileSaveWMF, mMetaShow150, mMetaShow100, mMetaShow50, mMetaShowInput})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(mFileCopy));
}

// A sizable window with a menu bar, as the viewer is.
class FramedWindow : public Window {
public:
    bool Open() {
        HMENU bar = CreateMenu();
        AppendMenuW(bar, MF_STRING, 1, L"ファイル");
        AppendMenuW(bar, MF_STRING, 2, L"表示");
        WindowArgs a;
        a.className = L"PlumboTestFramed";
        a.style = WS_OVERLAPPEDWINDOW;
        a.menu = bar;
        a.x = 30;
        a.y = 40;
        a.width = 500;
        a.height = 400;
        if (!Create(a)) return false;
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        DoEvents();
        return true;
    }
    SIZE Client() const {
        RECT c = ClientRect();
        return {c.right, c.bottom};
    }
};

TEST(ViewerPlacement, ClientAreaIsExactlyTheAskedSizeAtTheAskedCorner) {
    FramedWindow w;
    ASSERT_TRUE(w.Open());
    struct Case {
        int left, top, cw, ch;
    };
    for (Case c : {Case{148, 98, 300, 200}, Case{10, 20, 640, 90}, Case{0, 0, 250, 400}}) {
        PlaceWindowByClient(w, c.left, c.top, c.cw, c.ch);
        RECT r = w.WindowRect();
        EXPECT_EQ(r.left, c.left);
        EXPECT_EQ(r.top, c.top);
        EXPECT_EQ(w.Client().cx, c.cw) << c.cw << "x" << c.ch;
        EXPECT_EQ(w.Client().cy, c.ch) << c.cw << "x" << c.ch;
    }
}

TEST(ViewerZoom, ScalesTheClientAreaFromTheRedrawnSizeKeepingTheCorner) {
    FramedWindow w;
    ASSERT_TRUE(w.Open());
    PlaceWindowByClient(w, 120, 80, 400, 300);
    struct Case {
        double f;
        int cw, ch;
    };
    // The re-drawn window is 400 x 300 pixels; each zoom starts from it, not from the last zoom.
    for (Case c : {Case{0.5, 200, 150}, Case{1.5, 600, 450}, Case{1.0, 400, 300}, Case{0.75, 300, 225}}) {
        ZoomViewer(w, 400, 300, c.f);
        RECT r = w.WindowRect();
        EXPECT_EQ(r.left, 120) << c.f;
        EXPECT_EQ(r.top, 80) << c.f;
        EXPECT_EQ(w.Client().cx, c.cw) << c.f;
        EXPECT_EQ(w.Client().cy, c.ch) << c.f;
    }
}

// ---- The typed percentage ----

struct Dialogue {
    std::deque<std::optional<std::wstring>> replies;
    int asked = 0;
    std::vector<std::wstring> refusals;
    std::optional<double> Run(int32_t w = 400, int32_t h = 300) {
        auto ask = [&]() -> std::optional<std::wstring> {
            ++asked;
            if (replies.empty()) return std::nullopt;
            auto r = replies.front();
            replies.pop_front();
            return r;
        };
        auto refuse = [&](const std::wstring& text) { refusals.push_back(text); };
        return AskZoomPercent(ask, refuse, w, h, 1024, 768);
    }
};

TEST(ViewerZoomInput, CancelEndsWithoutAZoom) {
    Dialogue d{{std::nullopt, L"50"}};
    EXPECT_EQ(d.Run(), std::nullopt);
    EXPECT_EQ(d.asked, 1);
    EXPECT_TRUE(d.refusals.empty());
}

TEST(ViewerZoomInput, UnusableRepliesBringTheBoxBackSilently) {
    Dialogue d{{L"0", L"-5", L"abc", L"", L"150%"}};
    EXPECT_EQ(d.Run(), 150.0);
    EXPECT_EQ(d.asked, 5);
    EXPECT_TRUE(d.refusals.empty());
}

TEST(ViewerZoomInput, TakesTheLeadingNumber) {
    Dialogue d{{L" 75 percent"}};
    EXPECT_EQ(d.Run(), 75.0);
}

TEST(ViewerZoomInput, ATooLargePercentageIsRefusedWithAMessageAndAskedAgain) {
    // 400 x 300 on a 1024 x 768 screen: 8 x 1024 / 400 = 20.48, so at most 2048 %.
    Dialogue d{{L"100000", L"2049", L"2048", L"1"}};
    EXPECT_EQ(d.Run(), 2048.0);
    EXPECT_EQ(d.asked, 3);
    ASSERT_EQ(d.refusals.size(), 2u);
    EXPECT_NE(d.refusals[0].find(L"2048"), std::wstring::npos) << "the message names the limit";
}

// ---- Input box ----

struct BoxScript {
    std::wstring typed;  // text to put in the box
    UINT command = IDOK;  // IDOK, IDCANCEL, or WM_CLOSE to close it by its frame
    std::wstring seenDefault;
    std::wstring seenTitle;
    std::wstring seenPrompt;
    bool done = false;
};
BoxScript* gScript = nullptr;

HWND FindOwnDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            if (std::wstring(cls) == L"#32770" && IsWindowVisible(h)) {
                *reinterpret_cast<HWND*>(lp) = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring TextOf(HWND h) {
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return buf;
}

void CALLBACK DriveBox(HWND, UINT, UINT_PTR id, DWORD) {
    if (!gScript || gScript->done) return;
    HWND dlg = FindOwnDialog();
    if (!dlg) return;
    gScript->done = true;
    KillTimer(nullptr, id);
    HWND edit = GetDlgItem(dlg, kInputBoxEditId);
    gScript->seenDefault = TextOf(edit);
    gScript->seenTitle = TextOf(dlg);
    gScript->seenPrompt = TextOf(GetDlgItem(dlg, kInputBoxPromptId));
    SetWindowTextW(edit, gScript->typed.c_str());
    if (gScript->command == WM_CLOSE)
        PostMessageW(dlg, WM_CLOSE, 0, 0);
    else
        PostMessageW(dlg, WM_COMMAND, gScript->command, 0);
}

std::optional<std::wstring> RunBox(BoxScript& script) {
    gScript = &script;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveBox);
    auto r = InputBox(nullptr, L"表示する比率を、パーセントで入力してください。", L"Plumbo!!", L"100");
    KillTimer(nullptr, timer);
    gScript = nullptr;
    return r;
}

TEST(InputBox, ShowsPromptTitleAndDefaultAndReturnsTheTypedText) {
    BoxScript s{L"75"};
    EXPECT_EQ(RunBox(s), std::optional<std::wstring>(L"75"));
    EXPECT_EQ(s.seenDefault, L"100");
    EXPECT_EQ(s.seenTitle, L"Plumbo!!");
    EXPECT_EQ(s.seenPrompt, L"表示する比率を、パーセントで入力してください。");
}

TEST(InputBox, OkWithAnEmptyBoxIsAnEmptyReplyNotACancel) {
    BoxScript s{L""};
    EXPECT_EQ(RunBox(s), std::optional<std::wstring>(L""));
}

TEST(InputBox, CancelAndTheCloseBoxGiveNoReply) {
    BoxScript cancel{L"75", IDCANCEL};
    EXPECT_EQ(RunBox(cancel), std::nullopt);
    EXPECT_TRUE(cancel.done);
    BoxScript close{L"75", WM_CLOSE};
    EXPECT_EQ(RunBox(close), std::nullopt);
    EXPECT_TRUE(close.done);
}

}  // namespace
}  // namespace plumbo
