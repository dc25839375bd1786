// The viewer's picture, the raster grab and the asynchronous capture, the viewer window (menu
// states, commands, placement, zoom, painting, closing) and the input box, inside the test
// process (windows made here, not plumbo's).
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "capture/raster_capture_win.h"
#include "capture/viewer_win.h"
#include "core/texts.h"
#include "platform/gdi_win.h"
#include "platform/input_box_win.h"
#include "platform/picture_win.h"
#include "platform/window_win.h"
#include "state/program_win.h"
#include "test_pictures.h"

namespace plumbo {
namespace {

// Handles this thread's messages until done() holds; false if it still does not after
// timeoutMs. Timers (RunLater among them) fire from here.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

HBITMAP MakeBitmap(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    return b;
}

// A bitmap picture of one colour.
Picture SolidPicture(int w, int h, COLORREF colour) {
    HBITMAP b = MakeBitmap(w, h);
    {
        WindowDc screen(nullptr);
        MemoryDc mem(screen.Get());
        SelectGuard sel(mem.Get(), b);
        RECT r{0, 0, w, h};
        SetDCBrushColor(mem.Get(), colour);
        FillRect(mem.Get(), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    return PictureFromBitmap(b, nullptr);
}

COLORREF ScreenPixel(int x, int y) {
    WindowDc screen(nullptr);
    return GetPixel(screen.Get(), x, y) & 0xFFFFFF;
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
        // On the screen once the desktop shows our colours where the window stands.
        const RECT r = WindowRect();
        return PumpUntil([&] { return painted_ && ScreenPixel(r.left + 5, r.top + 5) == kLeftColour; });
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_PAINT) return Window::HandleMessage(msg, wp, lp);
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
        painted_ = true;
        return 0;
    }

private:
    bool painted_ = false;
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

// ---- The viewer window ----

// The menus as the viewer sees them: what it enabled and what it posted.
class FakeCommands : public CommandService {
public:
    void Check(CommandId, bool) override {}
    bool IsChecked(CommandId) const override { return false; }
    void Enable(CommandId id, bool enabled) override { this->enabled[id] = enabled; }
    void PopUp(CommandId, HWND, POINT) override {}
    void Post(CommandId id) override { posted.push_back(id); }

    std::map<CommandId, bool> enabled;
    std::vector<CommandId> posted;
};

// A menu bar like the shell's, with one more long item so that it wraps in a narrow viewer
// (a window narrower than the system's smallest cannot be had).
HMENU ViewerMenuBar() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, static_cast<UINT>(CommandId::CopyToClipboard), L"クリップボードへコピー");
    HMENU zoom = CreatePopupMenu();
    AppendMenuW(zoom, MF_STRING, static_cast<UINT>(CommandId::Zoom50), L"５０％");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(zoom), L"表示(&V)");
    AppendMenuW(bar, MF_STRING, static_cast<UINT>(CommandId::SaveWindowsMetafile), L"ウインドウズメタファイル(&W)");
    return bar;
}

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(viewer.Create(ViewerMenuBar(), nullptr)); }

    // Outer left and top, client width and height.
    std::vector<int> Placement() const {
        RECT r = viewer.WindowRect(), c = viewer.ClientRect();
        return {r.left, r.top, c.right, c.bottom};
    }

    FakeCommands commands;
    Viewer viewer{commands};
};

TEST_F(ViewerTest, StartsHiddenAndUnownedWithTheMenuBarItWasGiven) {
    EXPECT_FALSE(IsWindowVisible(viewer.hwnd()));
    EXPECT_EQ(GetWindow(viewer.hwnd(), GW_OWNER), nullptr) << "a taskbar button of its own when shown";
    EXPECT_EQ(viewer.Window(), viewer.hwnd());
    EXPECT_NE(GetMenu(viewer.hwnd()), nullptr);
}

TEST_F(ViewerTest, ShowEnablesTheModesMenuItemsAndNeverTouchesCopy) {
    using C = CommandId;
    const std::map<CommandId, bool> rasterItems = {
        {C::SaveBitmap, true}, {C::SaveEnhancedMetafile, false}, {C::SaveWindowsMetafile, false},
        {C::Zoom150, false},   {C::Zoom100, false},              {C::Zoom50, false},
        {C::ZoomTyped, false},
    };
    const std::map<CommandId, bool> metafileItems = {
        {C::SaveBitmap, true}, {C::SaveEnhancedMetafile, true}, {C::SaveWindowsMetafile, true},
        {C::Zoom150, true},    {C::Zoom100, true},              {C::Zoom50, true},
        {C::ZoomTyped, true},
    };
    struct Case {
        ViewerMode mode;
        const std::map<CommandId, bool>* items;
    };
    // Each mode after the other, so neither relies on the state the last one left.
    for (const Case& c : {Case{ViewerMode::Metafile, &metafileItems}, Case{ViewerMode::Bitmap, &rasterItems},
                          Case{ViewerMode::Metafile, &metafileItems}}) {
        SCOPED_TRACE(c.mode == ViewerMode::Bitmap ? "bitmap mode" : "metafile mode");
        commands.enabled.clear();
        viewer.Show(SolidPicture(4, 4, RGB(1, 2, 3)), c.mode, SIZE{4, 4});
        EXPECT_EQ(commands.enabled, *c.items);
        EXPECT_EQ(viewer.Mode(), c.mode);
        EXPECT_TRUE(IsWindowVisible(viewer.hwnd()));
    }
}

TEST_F(ViewerTest, ShowKeepsThePictureWhenGivenNoneAndTakesOwnershipOtherwise) {
    Picture first = SolidPicture(8, 6, RGB(1, 2, 3));
    const HBITMAP firstBitmap = first.Bitmap();
    viewer.Show(std::move(first), ViewerMode::Bitmap, SIZE{8, 6});
    viewer.Show(Picture{}, ViewerMode::Bitmap, SIZE{8, 6});
    EXPECT_EQ(viewer.Shown().Bitmap(), firstBitmap) << "an empty picture keeps what the viewer held";
    viewer.Show(SolidPicture(2, 2, RGB(4, 5, 6)), ViewerMode::Bitmap, SIZE{2, 2});
    EXPECT_NE(viewer.Shown().Bitmap(), firstBitmap);
    EXPECT_EQ(GetObjectType(firstBitmap), 0u) << "the replaced picture is released";
    EXPECT_EQ(viewer.NaturalSize().cx, 2);
    EXPECT_EQ(viewer.NaturalSize().cy, 2);
}

TEST_F(ViewerTest, MenuChoicesArePostedNotRun) {
    viewer.PlaceClient(120, 80, 400, 300);
    viewer.Show(test::HalfBlackMetafile(4000, 3000), ViewerMode::Metafile, SIZE{400, 300});
    SendMessageW(viewer.hwnd(), WM_COMMAND, MAKEWPARAM(static_cast<UINT>(CommandId::Zoom50), 0), 0);
    SendMessageW(viewer.hwnd(), WM_COMMAND, MAKEWPARAM(static_cast<UINT>(CommandId::CopyToClipboard), 0), 0);
    EXPECT_EQ(commands.posted, (std::vector<CommandId>{CommandId::Zoom50, CommandId::CopyToClipboard}));
    EXPECT_EQ(Placement(), (std::vector<int>{120, 80, 400, 300})) << "the zoom itself waits for the command queue";
}

TEST_F(ViewerTest, TheCloseBoxOnlyHides) {
    viewer.Show(SolidPicture(4, 4, RGB(1, 2, 3)), ViewerMode::Bitmap, SIZE{4, 4});
    ASSERT_TRUE(IsWindowVisible(viewer.hwnd()));
    SendMessageW(viewer.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(viewer.hwnd()));
    EXPECT_TRUE(IsWindow(viewer.hwnd()));
    EXPECT_FALSE(viewer.Shown().Empty()) << "and keeps the picture";
}

TEST_F(ViewerTest, PlacedByItsClientAreaEvenWhereTheMenuBarWraps) {
    viewer.Show(SolidPicture(4, 4, RGB(1, 2, 3)), ViewerMode::Bitmap, SIZE{4, 4});
    struct Case {
        const char* name;
        bool minimisedFirst;
        int left, top, width, height;
    };
    const Case cases[] = {
        {"a capture at (100, 50) of 300 x 200", false, 148, 98, 300, 200},
        {"wide", false, 120, 80, 400, 300},
        {"narrow: the menu bar takes two lines", false, 60, 70, 160, 100},
        {"wide again: one line", false, 120, 80, 400, 300},
        {"minimised", true, 90, 60, 250, 150},
    };
    int oneLineFrame = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.minimisedFirst) ShowWindow(viewer.hwnd(), SW_MINIMIZE);
        viewer.PlaceClient(c.left, c.top, c.width, c.height);
        EXPECT_FALSE(IsIconic(viewer.hwnd()));
        EXPECT_EQ(Placement(), (std::vector<int>{c.left, c.top, c.width, c.height}));
        RECT r = viewer.WindowRect();
        const int frame = (r.bottom - r.top) - c.height;
        if (c.width == 400) oneLineFrame = frame;
        if (c.width == 160) {
            EXPECT_GT(frame, oneLineFrame) << "the row tests nothing unless the bar wraps";
        }
    }
}

TEST_F(ViewerTest, ZoomSizesTheClientFromTheNaturalSizeKeepingTheCorner) {
    viewer.PlaceClient(120, 80, 400, 300);
    viewer.Show(test::HalfBlackMetafile(4000, 3000), ViewerMode::Metafile, SIZE{400, 300});
    struct Case {
        double factor;
        int width, height;
    };
    // Each zoom starts from the natural 400 x 300, not from the last zoom.
    for (const Case& c : {Case{0.5, 200, 150}, Case{1.5, 600, 450}, Case{0.75, 300, 225}, Case{1.0, 400, 300}}) {
        viewer.Zoom(c.factor);
        EXPECT_EQ(Placement(), (std::vector<int>{120, 80, c.width, c.height})) << c.factor;
    }
    // A bitmap always shows at its own size: no zoom.
    viewer.Show(SolidPicture(40, 30, RGB(1, 2, 3)), ViewerMode::Bitmap, SIZE{40, 30});
    viewer.Zoom(1.5);
    EXPECT_EQ(Placement(), (std::vector<int>{120, 80, 400, 300}));
}

TEST_F(ViewerTest, PaintsABitmapAtItsOwnSizeAndAMetafileOverTheWholeClient) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
    constexpr COLORREF kPicture = RGB(210, 40, 120);
    viewer.PlaceClient(100, 90, 200, 100);
    POINT origin{0, 0};
    ClientToScreen(viewer.hwnd(), &origin);
    auto at = [&](int x, int y) { return ScreenPixel(origin.x + x, origin.y + y); };

    viewer.Show(SolidPicture(40, 30, kPicture), ViewerMode::Bitmap, SIZE{40, 30});
    ASSERT_TRUE(PumpUntil([&] { return at(2, 2) == kPicture; })) << "the bitmap from the top-left corner";
    EXPECT_EQ(at(39, 29), kPicture);
    EXPECT_EQ(at(41, 15), face) << "and no wider than itself";
    EXPECT_EQ(at(20, 31), face) << "nor taller";

    viewer.Show(test::HalfBlackMetafile(4000, 3000), ViewerMode::Metafile, SIZE{151, 113});
    ASSERT_TRUE(PumpUntil([&] { return at(190, 90) == RGB(0, 0, 0); })) << "stretched to the far corner";
    EXPECT_EQ(at(5, 5), RGB(255, 255, 255)) << "on white";
    EXPECT_EQ(at(90, 50), RGB(255, 255, 255));
    EXPECT_EQ(at(110, 50), RGB(0, 0, 0));
}

// ---- The asynchronous capture ----

// The rulers as the capture sees them.
class FakeRulers : public RulerService {
public:
    bool Shown() const override { return shown; }
    void Show(bool show) override {
        shown = show;
        shows.push_back(show);
    }
    bool OnTop() const override { return false; }
    void SetOnTop(bool) override {}
    RECT HorizontalRect() const override { return {}; }
    RECT VerticalRect() const override { return {}; }
    void SetLengths(double, double) override {}
    void ApplySettings() override {}
    void SuspendTracking() override { ++suspended; }
    void ResumeTracking() override { --suspended; }

    bool shown = false;
    std::vector<bool> shows;
    int suspended = 0;
};

TEST_F(ViewerTest, CaptureGrabsTheTargetLaterAndPutsEverythingBack) {
    struct Case {
        const char* name;
        bool rulersShown, targetVanishes;
    };
    const Case cases[] = {
        {"rulers shown", true, false},
        {"rulers hidden", false, false},
        {"target closed before the copy", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto target = std::make_unique<PaintedWindow>();
        ASSERT_TRUE(target->Open(60, 70, 120, 80));
        const RECT outer = target->WindowRect();
        // The viewer is open with an earlier picture, over the target's corner; it must not be
        // in the new picture.
        Picture earlier = SolidPicture(30, 20, RGB(1, 2, 3));
        const HBITMAP earlierBitmap = earlier.Bitmap();
        viewer.PlaceClient(outer.left, outer.top, 100, 60);
        viewer.Show(std::move(earlier), ViewerMode::Metafile, SIZE{30, 20});
        SetWindowPos(viewer.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        FakeRulers rulers;
        rulers.shown = c.rulersShown;
        Program program;
        program.target.hwnd = target->hwnd();
        program.rulers = &rulers;
        program.viewer = &viewer;

        CaptureTargetAsBitmap(program);
        // Nothing is copied yet: rulers and viewer are out of the way, tracking waits.
        EXPECT_FALSE(rulers.shown);
        EXPECT_EQ(rulers.suspended, 1);
        EXPECT_FALSE(IsWindowVisible(viewer.hwnd()));
        EXPECT_EQ(viewer.Shown().Bitmap(), earlierBitmap);
        CaptureTargetAsBitmap(program);
        EXPECT_EQ(rulers.suspended, 1) << "a second capture while one waits is ignored";
        EXPECT_EQ(rulers.shows.size(), 1u);

        if (c.targetVanishes) target.reset();
        ASSERT_TRUE(PumpUntil([&] { return rulers.suspended == 0; })) << "the copy ran and tracking resumed";
        EXPECT_EQ(rulers.shown, c.rulersShown) << "the rulers as they were";
        EXPECT_TRUE(IsWindowVisible(viewer.hwnd()));
        if (c.targetVanishes) {
            EXPECT_EQ(viewer.Shown().Bitmap(), earlierBitmap) << "no new picture";
            EXPECT_EQ(viewer.Mode(), ViewerMode::Metafile);
            continue;
        }
        const int w = outer.right - outer.left, h = outer.bottom - outer.top;
        EXPECT_EQ(viewer.Mode(), ViewerMode::Bitmap);
        EXPECT_EQ(viewer.NaturalSize().cx, w);
        EXPECT_EQ(viewer.NaturalSize().cy, h);
        EXPECT_EQ(Placement(), (std::vector<int>{outer.left + kViewerOffsetPx, outer.top + kViewerOffsetPx, w, h}));
        std::vector<COLORREF> px = Pixels(viewer.Shown().Bitmap(), {0, 0, w, h});
        EXPECT_EQ(px[5 * w + 5], kLeftColour) << "the target as it painted itself";
        EXPECT_EQ(px[15 * w + 40], kStripeColour);
        EXPECT_EQ(px[5 * w + (w - 6)], kRightColour);
    }
}

// A program that stops answering must not stop us: the capture only asks the target to
// repaint, it never waits for it.
TEST_F(ViewerTest, CaptureOfATargetThatDoesNotAnswerDoesNotWaitForIt) {
    HWND stuck = nullptr;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        stuck = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"stuck", WS_POPUP | WS_VISIBLE, 40, 40, 120, 80,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetEvent(ready);
        WaitForSingleObject(release, 10000);  // no message loop while waiting
        DestroyWindow(stuck);
    });
    WaitForSingleObject(ready, 5000);
    ASSERT_TRUE(stuck);
    FakeRulers rulers;
    Program program;
    program.target.hwnd = stuck;
    program.rulers = &rulers;
    program.viewer = &viewer;
    const auto start = std::chrono::steady_clock::now();
    CaptureTargetAsBitmap(program);
    const bool copied = PumpUntil([&] { return rulers.suspended == 0; });
    const auto took = std::chrono::steady_clock::now() - start;
    SetEvent(release);
    owner.join();
    CloseHandle(ready);
    CloseHandle(release);
    EXPECT_TRUE(copied);
    EXPECT_EQ(viewer.Mode(), ViewerMode::Bitmap);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1000)
        << "waited for a program that does not answer";
}

// ---- Input box and the typed zoom ----

struct BoxScript {
    std::wstring typed;  // text to put in the box
    UINT command;        // IDOK, IDCANCEL, or WM_CLOSE to close it by its frame
    bool done;
    std::vector<std::wstring> seen;  // the default text, the title and the prompt
    HWND owner;                      // what the box names as its owner
    bool ownerEnabled;               // whether that owner took input meanwhile
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
    gScript->owner = GetWindow(dlg, GW_OWNER);
    gScript->ownerEnabled = gScript->owner && IsWindowEnabled(gScript->owner);
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
        BoxScript script{c.typed, c.command, false, {}, nullptr, false};
        gScript = &script;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveBox);
        EXPECT_EQ(InputBox(nullptr, prompt, L"Plumbo!!", L"100"), c.reply) << c.command;
        KillTimer(nullptr, timer);
        gScript = nullptr;
        EXPECT_EQ(script.seen, (std::vector<std::wstring>{L"100", L"Plumbo!!", prompt}));
    }
}

TEST_F(ViewerTest, TypedZoomIsAskedOverTheDisabledViewerAndCancelKeepsTheZoom) {
    viewer.PlaceClient(120, 80, 400, 300);
    viewer.Show(test::HalfBlackMetafile(4000, 3000), ViewerMode::Metafile, SIZE{400, 300});
    struct Case {
        const wchar_t* typed;
        UINT command;
        int width, height;  // the client afterwards
    };
    // 50 % of the natural size; then Cancel and closing the box leave that zoom alone.
    for (const Case& c : {Case{L"50", IDOK, 200, 150}, Case{L"150", IDCANCEL, 200, 150},
                          Case{L"150", WM_CLOSE, 200, 150}, Case{L"75%", IDOK, 300, 225}}) {
        SCOPED_TRACE(testing::Message() << c.command << " with " << c.typed);
        BoxScript script{c.typed, c.command, false, {}, nullptr, true};
        gScript = &script;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveBox);
        viewer.ZoomTyped();
        KillTimer(nullptr, timer);
        gScript = nullptr;
        ASSERT_TRUE(script.done) << "the box was never seen";
        EXPECT_EQ(script.seen, (std::vector<std::wstring>{L"100", Texts().zoomTitle, Texts().zoomPrompt}));
        EXPECT_EQ(script.owner, viewer.hwnd());
        EXPECT_FALSE(script.ownerEnabled) << "the viewer takes no input while the box is open";
        EXPECT_TRUE(IsWindowEnabled(viewer.hwnd())) << "and takes it again afterwards";
        EXPECT_EQ(Placement(), (std::vector<int>{120, 80, c.width, c.height}));
    }
}

}  // namespace
}  // namespace plumbo
