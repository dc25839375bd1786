// "画面キャプチャ" driven from outside: where the viewer opens, what its picture shows, and
// that the rulers come back.
#include <gtest/gtest.h>

#include "driver/driver.h"

using namespace e2e;

namespace {

const std::string kInsideIni =
    "[COLOR]\r\nMEJ=255\r\nLINE=0\r\nNO=0\r\n[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\n";

// Pixels that differ between two images of equal size (all of them when the sizes differ).
int Differences(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
    int n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
    return n;
}

// The part of a window picture that shows the client area (the caption's active colour
// depends on which window the ruler menu left in front, which is not what is compared here).
Image ClientPart(const Image& whole, HWND window) {
    RECT outer = WindowRectOf(window), client = ClientRectOnScreen(window);
    Image part;
    part.width = client.right - client.left;
    part.height = client.bottom - client.top;
    int dx = client.left - outer.left, dy = client.top - outer.top;
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
            part.pixels.push_back(y + dy < whole.height && x + dx < whole.width ? whole.At(x + dx, y + dy) : 0xFF000000u);
    return part;
}

}  // namespace

// Inside placement, so the rulers lie over the target's left and bottom edges and would show
// in a picture that took them along.
TEST(Capture, ViewerOpens48PixelsOffAtTheTargetsSizeShowingItWithoutRulers) {
    Plumbo app;
    ASSERT_TRUE(app.Start(kInsideIni));
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(100, 50, 300, 200));
    target.Activate();
    Pause(300);
    Image bare = ClientPart(GrabScreen(WindowRectOf(target.Hwnd())), target.Hwnd());

    HWND hrz = app.HorizontalRuler(), ver = app.VerticalRuler();
    ASSERT_FALSE(IsWindowVisible(ver));
    app.ShowRulersByDoubleClick();
    target.Activate();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(ver).left == 100 && WindowRectOf(ver).top == 50; }));
    Pause(300);
    ASSERT_GT(Differences(ClientPart(GrabScreen(WindowRectOf(target.Hwnd())), target.Hwnd()), bare), 1000)
        << "the rulers should cover the target";

    // "画面キャプチャ"; the viewer paints its picture.
    ASSERT_TRUE(app.ChooseRulerMenu(hrz, {1}));
    HWND viewer = app.Viewer();
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(viewer) != FALSE; }));
    Pause(400);
    RECT outer = WindowRectOf(viewer), client = ClientRectOnScreen(viewer);
    EXPECT_EQ(outer.left, 148);
    EXPECT_EQ(outer.top, 98);
    EXPECT_EQ(client.right - client.left, 300);
    EXPECT_EQ(client.bottom - client.top, 200);
    EXPECT_FALSE(IsIconic(viewer) || IsZoomed(viewer));
    // The rulers are back, on top of the viewer too; put them aside to see the picture.
    EXPECT_TRUE(IsWindowVisible(hrz));
    EXPECT_TRUE(IsWindowVisible(ver));
    ShowWindow(hrz, SW_HIDE);
    ShowWindow(ver, SW_HIDE);
    Pause(300);
    Image shown = ClientPart(GrabScreen(ClientRectOnScreen(viewer)), target.Hwnd());
    EXPECT_EQ(Differences(shown, bare), 0) << "the target as it was on screen, with no ruler";
    if (HasFailure()) SavePng(shown, MakeTempDir(L"shot") + L"\\capture_viewer.bmp");
    // The zoom items' grey state cannot be read across processes under Wine (GetMenu of another
    // process is unreadable); the viewer's window tests check it in-process.
}
