// "画面キャプチャ" driven from outside: where the viewer opens, what its picture shows, and
// that the rulers come back.
#include <gtest/gtest.h>

#include "driver.h"

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

void HideRulers(Plumbo& app) {
    ShowWindow(app.HorizontalRuler(), SW_HIDE);
    ShowWindow(app.VerticalRuler(), SW_HIDE);
    Pause(300);
}

void SaveOnFailure(const Image& img, const wchar_t* name) {
    SavePng(img, MakeTempDir(L"shot") + L"\\" + name);
}

bool ViewerShown(Plumbo& app) { return IsWindowVisible(app.MenuForm()) != FALSE; }

// Opens the ruler menu on a ruler and chooses "画面キャプチャ"; waits for the viewer.
bool Capture(Plumbo& app, HWND ruler) {
    if (!app.ChooseRulerMenu(ruler, {1})) return false;
    bool shown = WaitFor([&] { return ViewerShown(app); });
    Pause(400);  // the viewer paints its picture
    return shown;
}

}  // namespace

TEST(Capture, ViewerOpens48PixelsOffWithTheTargetsSizeAndShowsTheTarget) {
    Plumbo app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(100, 50, 300, 200));
    app.ShowRulersByDoubleClick();
    target.Activate();
    HWND hrz = app.HorizontalRuler();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(hrz).left == 100 && IsWindowVisible(hrz); }));
    Pause(300);
    Image before = ClientPart(GrabScreen(WindowRectOf(target.Hwnd())), target.Hwnd());

    ASSERT_TRUE(Capture(app, hrz));
    HWND viewer = app.MenuForm();
    RECT outer = WindowRectOf(viewer);
    EXPECT_EQ(outer.left, 148);
    EXPECT_EQ(outer.top, 98);
    RECT client = ClientRectOnScreen(viewer);
    EXPECT_EQ(client.right - client.left, 300);
    EXPECT_EQ(client.bottom - client.top, 200);
    EXPECT_FALSE(IsIconic(viewer) || IsZoomed(viewer));

    Image shown = ClientPart(GrabScreen(client), target.Hwnd());
    EXPECT_EQ(Differences(shown, before), 0) << "the viewer should show the target as it was on screen";
    if (HasFailure()) {
        SaveOnFailure(before, L"capture_before.bmp");
        SaveOnFailure(shown, L"capture_viewer.bmp");
    }
    // The rulers are back and still follow the target.
    EXPECT_TRUE(IsWindowVisible(hrz));
    EXPECT_TRUE(IsWindowVisible(app.VerticalRuler()));
    // The zoom items' grey state cannot be read across processes under Wine (GetMenu of another
    // process is unreadable); it is checked in-process by the viewer's window tests.
}

TEST(Capture, RulersLyingOverTheTargetAreNotInThePicture) {
    Plumbo app;
    // Inside placement: the rulers lie over the target's left and bottom edges.
    ASSERT_TRUE(app.Start(kInsideIni));
    ASSERT_TRUE(app.WaitResident());
    Target target;
    ASSERT_TRUE(target.Start(100, 50, 300, 200));
    target.Activate();
    Pause(300);
    Image bare = ClientPart(GrabScreen(WindowRectOf(target.Hwnd())), target.Hwnd());

    // The rulers were hidden before the command; they are visible after it.
    ASSERT_FALSE(IsWindowVisible(app.VerticalRuler()));
    app.ShowRulersByDoubleClick();
    target.Activate();
    HWND ver = app.VerticalRuler();
    ASSERT_TRUE(WaitFor([&] { return WindowRectOf(ver).left == 100 && WindowRectOf(ver).top == 50; }));
    Pause(300);
    ASSERT_GT(Differences(ClientPart(GrabScreen(WindowRectOf(target.Hwnd())), target.Hwnd()), bare), 1000) << "the rulers should cover the target";

    ASSERT_TRUE(Capture(app, app.HorizontalRuler()));
    HWND viewer = app.MenuForm();
    EXPECT_TRUE(IsWindowVisible(ver));
    EXPECT_TRUE(IsWindowVisible(app.HorizontalRuler()));
    // The rulers are back on top, over the viewer too; put them aside to see the picture.
    HideRulers(app);
    Image first = ClientPart(GrabScreen(ClientRectOnScreen(viewer)), target.Hwnd());
    EXPECT_EQ(Differences(first, bare), 0) << "no ruler in the picture";
    if (HasFailure()) SaveOnFailure(first, L"capture_rulers.bmp");

    RECT outer = WindowRectOf(viewer);
    EXPECT_EQ(outer.left, 148);
    EXPECT_EQ(outer.top, 98);
}
