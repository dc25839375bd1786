// What the query reads of a window of our own, and the re-drawing of it as a metafile.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "emf_records.h"
#include "core/numeric.h"
#include "vector/player_win.h"
#include "vector/query_win.h"

namespace plumbo {
namespace {

const wchar_t kFrameClass[] = L"PlumboQueryTestFrame";
const wchar_t kPrefixedClass[] = L"ThunderRT6Frame";  // normalises to "Frame"

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    for (const wchar_t* name : {kFrameClass, kPrefixedClass}) {
        wc.lpszClassName = name;
        RegisterClassW(&wc);
    }
    done = true;
}

HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, HWND parent) {
    return CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

using Quad = std::array<int32_t, 4>;
Quad Of(const Rect32& r) { return {r.left, r.top, r.right, r.bottom}; }
Quad Of(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
Quad OuterOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return Of(r);
}

// A window of our own with a menu bar and one control of each kind the query treats apart.
class QueryWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClasses();
        menu = CreateMenu();
        AppendMenuW(menu, MF_STRING, 1, L"&File");
        AppendMenuW(menu, MF_STRING, 2, L"  表示(&V)  ");
        top = CreateWindowExW(0, kFrameClass, L"Query テスト", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 500, 400,
                              nullptr, menu, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(top);
        push = Child(L"Button", L"OK", WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, top);
        check = Child(L"Button", L"Check", WS_VISIBLE | BS_AUTOCHECKBOX, 10, 40, 100, 17, top);
        edit = Child(L"Edit", L"line1\r\nline2", WS_VISIBLE | WS_BORDER | ES_MULTILINE | WS_HSCROLL | WS_VSCROLL, 10, 70,
                     200, 100, top);
        combo = Child(L"ComboBox", L"", WS_VISIBLE | CBS_DROPDOWN, 220, 10, 150, 200, top);
        SetWindowTextW(combo, L"typed");
        dropList = Child(L"ComboBox", L"", WS_VISIBLE | CBS_DROPDOWNLIST, 220, 40, 150, 200, top);
        hidden = Child(L"Static", L"hidden", SS_LEFT, 10, 180, 100, 20, top);
        Child(L"Static", L"inside hidden", WS_VISIBLE, 0, 0, 50, 10, hidden);
        // 78 units, then a pair that a cut at 79 would split.
        longText = std::wstring(78, L'x') + static_cast<wchar_t>(0xD842) + static_cast<wchar_t>(0xDFB7) + L"yz";
        longStatic = Child(L"Static", longText.c_str(), WS_VISIBLE, 10, 210, 300, 20, top);
        frame = Child(kPrefixedClass, L"Frame caption", WS_VISIBLE, 250, 80, 200, 150, top);
        inFrame = Child(L"Button", L"Inner", WS_VISIBLE | BS_PUSHBUTTON, 10, 20, 80, 24, frame);
        UpdateWindow(top);
    }
    void TearDown() override {
        if (top) DestroyWindow(top);
    }

    HMENU menu = nullptr;
    HWND top = nullptr, push = nullptr, check = nullptr, edit = nullptr, combo = nullptr, dropList = nullptr;
    HWND hidden = nullptr, longStatic = nullptr, frame = nullptr, inFrame = nullptr;
    std::wstring longText;
};

TEST_F(QueryWindow, ChildrenAndStylesAndAGoneTargetIsAbandoned) {
    std::vector<HWND> all;
    ASSERT_TRUE(GetAllDescendants(top, all));
    // Every descendant, the combo's edit field and the frame's button included.
    EXPECT_GT(all.size(), 8u + 2u);
    EXPECT_NE(std::find(all.begin(), all.end(), inFrame), all.end());
    std::vector<HWND> none;
    EXPECT_TRUE(GetAllDescendants(push, none));
    EXPECT_TRUE(none.empty());

    EXPECT_TRUE(HasStyle(edit, WS_HSCROLL | WS_DISABLED));
    EXPECT_FALSE(HasStyle(hidden, WS_VISIBLE));

    DestroyWindow(top);
    EXPECT_FALSE(GetAllDescendants(top, none));
    EXPECT_FALSE(QueryTarget(top));
    EXPECT_FALSE(RedrawWindowAsMeta(top, nullptr, TwipsPerPixel{15, 15}));
    EXPECT_FALSE(QueryTarget(nullptr));
    top = nullptr;
}

TEST_F(QueryWindow, RecordsHoldWhatTheDrawersRead) {
    auto t = QueryTarget(top);
    ASSERT_TRUE(t);
    EXPECT_EQ(Of(t->window.window), OuterOf(top));
    EXPECT_EQ(t->window.style, static_cast<uint32_t>(GetWindowLongW(top, GWL_STYLE)));
    EXPECT_EQ(t->window.text, L"Query テスト");
    const SystemMetrics& m = t->metrics;
    EXPECT_EQ((std::array{m.cyCaption, m.cxSize, m.cySize, m.cxHThumb, m.cyVThumb}),
              (std::array{GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXSIZE), GetSystemMetrics(SM_CYSIZE),
                          GetSystemMetrics(SM_CXHTHUMB), GetSystemMetrics(SM_CYVTHUMB)}));

    const auto& c = t->window.children;
    ASSERT_EQ(c.size(), 8u);
    const HWND handles[] = {push, check, edit, combo, dropList, hidden, longStatic, frame};
    // Classes as GetControlClass gives them: "ThunderRT6Frame" is a "Frame"; a hidden one is not read.
    const wchar_t* classes[] = {L"Button", L"Button", L"Edit", L"ComboBox", L"ComboBox", L"", L"Static", L"Frame"};
    // Texts are read only where a drawer shows them; the 79-unit cut never splits a pair.
    const std::wstring texts[] = {L"OK", L"Check", L"line1\r\nline2", L"", L"", L"", longText.substr(0, 78),
                                  L"Frame caption"};
    for (size_t i = 0; i < c.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c[i].className, classes[i]);
        EXPECT_EQ(c[i].style, static_cast<uint32_t>(GetWindowLongW(handles[i], GWL_STYLE)));
        EXPECT_EQ(c[i].text, texts[i]);
        if (handles[i] != hidden) {
            EXPECT_EQ(Of(c[i].window), OuterOf(handles[i]));
        }
    }
    RECT client{};
    GetClientRect(edit, &client);
    EXPECT_EQ(Of(c[2].client), Of(client));
    EXPECT_LT(c[2].client.right, c[2].window.right - c[2].window.left);  // room for the vertical bar

    EXPECT_TRUE(c[3].hasDescendant);
    EXPECT_EQ(c[3].firstDescendantText, L"typed");
    EXPECT_TRUE(c[3].children.empty()) << "children a drawer does not visit are not read";
    EXPECT_FALSE(c[4].hasDescendant);
    EXPECT_TRUE(c[5].children.empty()) << "nothing of what is inside a hidden control";

    ASSERT_EQ(c[7].children.size(), 1u);
    EXPECT_EQ(c[7].children[0].text, L"Inner");
    EXPECT_EQ(Of(c[7].children[0].window), OuterOf(inFrame));

    // The menu bar's captions, trimmed, with their rectangles.
    ASSERT_EQ(t->menuItems.size(), 2u);
    EXPECT_EQ(t->menuItems[0].text, L"&File");
    EXPECT_EQ(t->menuItems[1].text, L"表示(&V)");
    for (UINT i = 0; i < 2; ++i) {
        RECT r{};
        ASSERT_TRUE(GetMenuItemRect(top, menu, i, &r));
        EXPECT_EQ(Of(t->menuItems[i].rect), Of(r));
    }
}

TEST_F(QueryWindow, RedrawsTheWindowAsAMetafile) {
    const Quad r = OuterOf(top);
    const int w = r[2] - r[0], h = r[3] - r[1];
    auto result = RedrawWindowAsMeta(top, nullptr, TwipsPerPixel{15, 15});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->naturalWidth, w);
    EXPECT_EQ(result->naturalHeight, h);
    ASSERT_EQ(result->picture.Kind(), PictureKind::EnhMetafile);
    auto lines = test::Describe(result->picture.EnhMetafile());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], test::Fmt("HEADER frame 0,0,%ld,%ld", static_cast<long>(RoundHalfEvenD(w * 2540.0 / 96)),
                                  static_cast<long>(RoundHalfEvenD(h * 2540.0 / 96))));
    // The outer box comes first, at the window's size (kept inclusive in the record).
    auto firstRect = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("RECTANGLE", 0) == 0; });
    ASSERT_NE(firstRect, lines.end());
    EXPECT_EQ(*firstRect, test::Fmt("RECTANGLE 0,0,%ld,%ld", w - 1, h - 1));
    std::string all = test::Dump(lines);
    for (const char* text : {"'Query テスト'", "'OK'", "'Check'", "'typed'", "'Frame caption'", "'Inner'", "'File'"})
        EXPECT_NE(all.find(text), std::string::npos) << text << "\n" << all;
    EXPECT_EQ(all.find("hidden"), std::string::npos);
}

// A window whose thread does not answer: its text is given up after the short time-out.
TEST(ReadWindowText, HungWindowGivesEmptyTextQuickly) {
    RegisterClasses();
    HWND stuck = nullptr;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        stuck = CreateWindowExW(0, kFrameClass, L"stuck", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        SetEvent(ready);
        WaitForSingleObject(release, 5000);  // no message loop while waiting
        DestroyWindow(stuck);
    });
    WaitForSingleObject(ready, 5000);
    ASSERT_TRUE(stuck);
    auto start = std::chrono::steady_clock::now();
    std::wstring text = ReadWindowText(stuck);
    auto took = std::chrono::steady_clock::now() - start;
    SetEvent(release);
    owner.join();
    CloseHandle(ready);
    CloseHandle(release);
    EXPECT_TRUE(text.empty());
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 2000);
}

}  // namespace
}  // namespace plumbo
