// The viewer's picture, the raster grab, the viewer's placement and zoom, and the input box,
// inside the test process (windows made here, not plumbo's).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
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

HBITMAP MakeBitmap(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    return b;
}

// ---- PictureFromHandle ----

TEST(ViewerPicture, FindsEachKindAndItsHimetricSizeAndRefusesOtherHandles) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const RECT frame{0, 0, 2000, 1000};  // HIMETRIC
    struct Case {
        const char* name;
        HANDLE handle;
        PictureKind expected;
        int32_t w, h;  // w -1: not checked
    };
    // The given extent is only for a Windows metafile; a bitmap of one by half an inch is
    // 2540 x 1270 HIMETRIC, the enhanced metafile keeps its frame.
    const Case cases[] = {
        {"bitmap", MakeBitmap(dpi, dpi / 2), PictureKind::Bitmap, 2540, 1270},
        {"Windows metafile", CloseMetaFile(CreateMetaFileW(nullptr)), PictureKind::Metafile, 1234, 567},
        {"enhanced metafile", CloseEnhMetaFile(CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr)),
         PictureKind::EnhMetafile, 2000, 1000},
        {"icon", CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)), PictureKind::Icon, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.handle, nullptr);
        PictureKind kind = PictureKind::None;
        Picture p = PictureFromHandle(c.handle, kind, nullptr, 1234, 567);
        EXPECT_EQ(kind, c.expected);
        EXPECT_EQ(p.Kind(), c.expected);
        EXPECT_EQ(p.Handle(), c.handle);
        if (c.w >= 0) {
            EXPECT_EQ(p.HimetricWidth(), c.w);
            EXPECT_EQ(p.HimetricHeight(), c.h);
        }
    }

    PictureKind kind = PictureKind::None;
    EXPECT_TRUE(PictureFromHandle(nullptr, kind, nullptr, 0, 0).Empty());
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_TRUE(PictureFromHandle(pen, kind, nullptr, 0, 0).Empty());
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN)) << "not taken: the pen is still ours";
    DeleteObject(pen);
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
        if (!Create({.className = L"PlumboTestPainted", .style = WS_POPUP | WS_BORDER,
                     .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW, .x = x, .y = y, .width = w, .height = h}))
            return false;
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd());
        for (int i = 0; i < 10; ++i, Sleep(20)) DoEvents();
        return true;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_PAINT) return DefaultProc(msg, wp, lp);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        const RECT c = ClientRect();
        const RECT parts[] = {{0, 0, c.right / 2, c.bottom}, {c.right / 2, 0, c.right, c.bottom}, {0, 10, c.right, 20}};
        const COLORREF colours[] = {kLeftColour, kRightColour, kStripeColour};
        for (int i = 0; i < 3; ++i) {
            SetDCBrushColor(dc, colours[i]);
            FillRect(dc, &parts[i], static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
        EndPaint(hwnd(), &ps);
        return 0;
    }
};

// The pixels of a bitmap from (0, 0), or with no bitmap of the screen at r, row by row.
std::vector<COLORREF> Pixels(HBITMAP bmp, RECT r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HBITMAP copy = bmp ? nullptr : MakeBitmap(w, h);
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp ? bmp : copy);
    if (copy) BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    std::vector<COLORREF> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(GetPixel(mem, x, y) & 0xFFFFFF);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (copy) DeleteObject(copy);
    return out;
}

TEST(RasterCapture, GrabEqualsTheScreenPixelForPixel) {
    PaintedWindow win;
    ASSERT_TRUE(win.Open(60, 70, 120, 80));
    RECT r = win.WindowRect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    Picture whole = GrabWindowBitmap(win.hwnd(), false, 0, 0, w, h);
    ASSERT_EQ(whole.Kind(), PictureKind::Bitmap);
    EXPECT_EQ(whole.Palette(), nullptr) << "a true-colour screen gets no palette";
    BITMAP bm{};
    GetObjectW(whole.Bitmap(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, w);
    EXPECT_EQ(bm.bmHeight, h);
    std::vector<COLORREF> grabbed = Pixels(whole.Bitmap(), {0, 0, w, h});
    EXPECT_EQ(grabbed, Pixels(nullptr, r));
    // And the screen shows what the window painted: the 1-pixel border, then the client.
    EXPECT_EQ(grabbed[5 * w + 5], kLeftColour);
    EXPECT_EQ(grabbed[5 * w + (w - 6)], kRightColour);
    EXPECT_EQ(grabbed[15 * w + 40], kStripeColour);

    // The client grab starts at the client origin plus the source offset: from (0, 8), 30 x 4,
    // rows 8-11 cross into the stripe at row 10.
    POINT origin{0, 0};
    ClientToScreen(win.hwnd(), &origin);
    Picture part = GrabWindowBitmap(win.hwnd(), true, 0, 8, 30, 4);
    grabbed = Pixels(part.Bitmap(), {0, 0, 30, 4});
    EXPECT_EQ(grabbed, Pixels(nullptr, {origin.x, origin.y + 8, origin.x + 30, origin.y + 12}));
    EXPECT_EQ(grabbed[0], kLeftColour);
    EXPECT_EQ(grabbed[2 * 30], kStripeColour);
}

// ---- Viewer window: menu states, placement, zoom ----

bool Enabled(UINT id) {
    for (auto& [top, h] : TheApp().menus.topLevel) {
        UINT s = GetMenuState(h, id, MF_BYCOMMAND);
        if (s != static_cast<UINT>(-1)) return !(s & (MF_GRAYED | MF_DISABLED));
    }
    ADD_FAILURE() << "no menu item " << id;
    return false;
}

TEST(ViewerMenus, RasterModeLeavesOnlyTheBitmapSaveAndMetafileModeEnablesAll) {
    TheApp().menus = BuildMenuTree(MenuTable());
    EnableMenu(mFileCopy, false);  // copy is never touched: this state survives both modes
    SetViewerMenuStates(true);
    SetViewerMenuStates(false);
    EXPECT_TRUE(Enabled(mFileSaveBMP));
    for (UINT id : {mFileSaveEMF, mFileSaveWMF, mMetaShow150, mMetaShow100, mMetaShow50, mMetaShowInput, mFileCopy})
        EXPECT_FALSE(Enabled(id)) << id;
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
        if (!Create({.className = L"PlumboTestFramed", .menu = bar, .x = 30, .y = 40, .width = 500, .height = 400}))
            return false;
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        DoEvents();
        return true;
    }
    // Outer left and top, client width and height.
    std::vector<int> Placement() const {
        RECT r = WindowRect(), c = ClientRect();
        return {r.left, r.top, c.right, c.bottom};
    }
};

TEST(ViewerWindow, PlacedByItsClientAreaAndZoomedKeepingTheCorner) {
    FramedWindow w;
    ASSERT_TRUE(w.Open());
    // A capture at (100, 50) of 300 x 200 opens the viewer at (148, 98) with that client.
    PlaceWindowByClient(w, 148, 98, 300, 200);
    EXPECT_EQ(w.Placement(), (std::vector<int>{148, 98, 300, 200}));
    // The re-drawn window is 400 x 300 pixels; each zoom starts from it, not from the last zoom.
    PlaceWindowByClient(w, 120, 80, 400, 300);
    for (auto [f, cw, ch] : {std::tuple{0.5, 200, 150}, std::tuple{1.5, 600, 450}, std::tuple{0.75, 300, 225}}) {
        ZoomViewer(w, 400, 300, f);
        EXPECT_EQ(w.Placement(), (std::vector<int>{120, 80, cw, ch})) << f;
    }
}

// ---- The typed percentage ----

TEST(ViewerZoomInput, AsksUntilAUsablePercentageOrCancel) {
    struct Case {
        std::vector<std::optional<std::wstring>> replies;  // past the last, Cancel
        std::optional<double> result;
        size_t asked, refused;
    };
    // 400 x 300 on a 1024 x 768 screen: 8 x 1024 / 400 = 20.48, so at most 2048 %.
    const Case cases[] = {
        {{std::nullopt, L"50"}, std::nullopt, 1, 0},                 // Cancel ends without a zoom
        {{L"0", L"-5", L"abc", L"", L"150%"}, 150.0, 5, 0},         // unusable replies: asked again, silently
        {{L" 75 percent"}, 75.0, 1, 0},                              // the leading number
        {{L"100000", L"2049", L"2048", L"1"}, 2048.0, 3, 2},         // too large: refused with a message
    };
    for (const Case& c : cases) {
        size_t asked = 0;
        std::vector<std::wstring> refusals;
        auto ask = [&] { return asked < c.replies.size() ? c.replies[asked++] : std::nullopt; };
        auto refuse = [&](const std::wstring& text) { refusals.push_back(text); };
        EXPECT_EQ(AskZoomPercent(ask, refuse, 400, 300, 1024, 768), c.result) << c.asked;
        EXPECT_EQ(asked, c.asked);
        ASSERT_EQ(refusals.size(), c.refused);
        for (const auto& text : refusals) EXPECT_NE(text.find(L"2048"), std::wstring::npos) << "names the limit";
    }
}

// ---- Input box ----

struct BoxScript {
    std::wstring typed;  // text to put in the box
    UINT command;        // IDOK, IDCANCEL, or WM_CLOSE to close it by its frame
    bool done;
    std::vector<std::wstring> seen;  // the default text, the title and the prompt
};
BoxScript* gScript = nullptr;

std::wstring TextOf(HWND h) {
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return buf;
}

// Runs inside the box's modal loop; the only dialog in this desktop is ours.
void CALLBACK DriveBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowW(L"#32770", nullptr);
    if (!gScript || gScript->done || !dlg || !IsWindowVisible(dlg)) return;
    gScript->done = true;
    KillTimer(nullptr, id);
    HWND edit = GetDlgItem(dlg, kInputBoxEditId);
    gScript->seen = {TextOf(edit), TextOf(dlg), TextOf(GetDlgItem(dlg, kInputBoxPromptId))};
    SetWindowTextW(edit, gScript->typed.c_str());
    if (gScript->command == WM_CLOSE)
        PostMessageW(dlg, WM_CLOSE, 0, 0);
    else
        PostMessageW(dlg, WM_COMMAND, gScript->command, 0);
}

TEST(InputBox, ShowsPromptTitleAndDefaultAndGivesTheTextOnlyOnOk) {
    const wchar_t* prompt = L"表示する比率を、パーセントで入力してください。";
    struct Case {
        const wchar_t* typed;
        UINT command;
        std::optional<std::wstring> reply;
    };
    const Case cases[] = {
        {L"75", IDOK, L"75"},
        {L"", IDOK, L""},  // an empty box is an empty reply, not a Cancel
        {L"75", IDCANCEL, std::nullopt},
        {L"75", WM_CLOSE, std::nullopt},
    };
    for (const Case& c : cases) {
        BoxScript script{c.typed, c.command, false, {}};
        gScript = &script;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveBox);
        EXPECT_EQ(InputBox(nullptr, prompt, L"Plumbo!!", L"100"), c.reply) << c.command;
        KillTimer(nullptr, timer);
        gScript = nullptr;
        EXPECT_EQ(script.seen, (std::vector<std::wstring>{L"100", L"Plumbo!!", prompt}));
    }
}

}  // namespace
}  // namespace plumbo
