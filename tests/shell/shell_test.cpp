// The whole program inside the test process: started in a folder of its own, driven through its
// command table as the menus drive it, and read through its state, its settings file and the
// screen. The window it follows and acts on belongs to another program (testtarget.exe), as
// Plumbo never follows its own windows. Dialogs are answered from a second thread, the way a
// person answers them while the program waits in the dialog's loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <sddl.h>
#include <tlhelp32.h>

#include "core/calibration.h"
#include "core/texts.h"
#include "driver/driver.h"
#include "platform/folders_win.h"
#include "platform/modal_win.h"
#include "platform/monitor_win.h"
#include "platform/private_messages_win.h"
#include "platform/profile_write_win.h"
#include "platform/ui_task_win.h"
#include "platform/window_reports_win.h"
#include "shell/startup_win.h"
#include "state/hotkeys_win.h"

namespace plumbo {
namespace {

using namespace e2e;

const std::string kNoPictures = "[VECTOR]\r\nPICTURES=FALSE\r\n";
std::string Ini(const char* rulerColour, bool onTop, bool transparent, bool inside) {
    auto flag = [](bool b) { return b ? "TRUE" : "FALSE"; };
    return std::string("[COLOR]\r\nMEJ=") + rulerColour + "\r\nLINE=16711680\r\nNO=0\r\n[SHOW]\r\nZORDER=" +
           flag(onTop) + "\r\nTRANSPARENT=" + flag(transparent) + "\r\nINSIDE=" + flag(inside) +
           "\r\nCURSOR=TRUE\r\n[HOTKEY]\r\nRULERS=Ctrl+Alt+R\r\nCAPTURE=Ctrl+Alt+C\r\nREDRAW=Ctrl+Alt+V\r\nSIZE=Ctrl+Alt+S\r\n"
           "MEASURE=Ctrl+Alt+M\r\n" + kNoPictures;
}
const std::string kNewFile = Ini("16777215", true, false, false);

// A visible top-level window of ours by class.
HWND Ours(const wchar_t* cls) { return WindowOf(GetCurrentProcessId(), cls, true); }
HWND WaitOurs(const wchar_t* cls) {
    HWND h = nullptr;
    WaitFor([&] { return (h = Ours(cls)) != nullptr; });
    return h;
}


// Answers the message box that comes next with OK; gives its text.
std::wstring AnswerMessage() {
    HWND box = WaitOurs(L"#32770");
    if (!box) return L"(no message)";
    std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindowVisible(box); });
    return text;
}

// The texts of the message boxes that `act` shows, each answered with OK.
std::vector<std::wstring> MessagesWhile(const std::function<void()>& act) {
    std::vector<std::wstring> messages;
    std::atomic<bool> done = false;  // read by the other thread
    std::thread person([&] {
        while (!done)
            if (WaitFor([&] { return done || Ours(L"#32770"); }) && !done) messages.push_back(AnswerMessage());
    });
    act();
    done = true;
    person.join();
    return messages;
}

// One message, naming each of the parts in this order: a file, the system's reason.
testing::AssertionResult SaidOnce(const std::vector<std::wstring>& said, std::initializer_list<std::wstring> parts) {
    return said.size() == 1 && e2e::Names(said[0], parts) ? testing::AssertionSuccess() : testing::AssertionFailure() << testing::PrintToString(said);
}


HWND RulerOf(bool horizontal) { return e2e::RulerOf(GetCurrentProcessId(), horizontal); }
HWND TrackingWindow() { return e2e::TrackingWindowOf(GetCurrentProcessId()); }

// A push button pressed without waiting for what it opens.
void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

uint32_t PixelAt(int x, int y) { return GrabScreen({x, y, x + 1, y + 1}).At(0, 0); }
// Far from the ticks and numbers: near the far end of the body.
uint32_t BodyPixel(const RECT& r) { return PixelAt(r.right - 4, r.top + 2); }

std::tuple<LONG, LONG, LONG, LONG> Corners(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
std::pair<LONG, LONG> Size(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

int Dpi(int axis) { return GetDeviceCaps(WindowDc(nullptr).Get(), axis); }

// Length of the tick standing in a column of the horizontal ruler: tick-coloured pixels up
// from its bottom edge, as drawn on the screen.
int TickLength(const Image& img, int x) {
    int n = 0;
    for (int y = img.height - 1; y >= 0 && img.At(x, y) == 0x0000FFu; --y) ++n;
    return n;
}

class ShellTest : public testing::Test {
protected:
    static int FailedParts() {
        return testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    }
    void Start(const std::string& ini = kNewFile) {
        dir_ = e2e::MakeTempDir(L"shell");
        if (!ini.empty()) e2e::WriteFileBytes(IniPath(), ini);
        ASSERT_TRUE(shell_.Start(GetModuleHandleW(nullptr), dir_ + L"\\"));
    }
    void TearDown() override {
        ResetReports();
        SetCreateFileProbe(nullptr);
        for (const wchar_t* f : {L"plumbo.ini", L"plHelp.html", L"plHelp_en.html"}) DeleteFileW((dir_ + L"\\" + f).c_str());
        RemoveDirectoryW(dir_.c_str());
    }
    std::wstring IniPath() const { return dir_ + L"\\plumbo.ini"; }
    std::string IniText() const { return e2e::ReadFileBytes(IniPath()); }
    Program& program() { return shell_.program(); }
    RECT Horizontal() { return program().rulers->HorizontalRect(); }
    RECT Vertical() { return program().rulers->VerticalRect(); }
    // What the viewer holds, as the copy other programs get: its bytes, records and frame's size.
    std::tuple<DWORD, DWORD, double, double> Held() {
        Choose(CommandId::CopyToClipboard);
        ENHMETAHEADER h{};
        if (OpenClipboard(nullptr)) {
            GetEnhMetaFileHeader(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), sizeof h, &h);
            CloseClipboard();
        }
        const RECTL& frame = h.rclFrame;
        return {h.nBytes, h.nRecords, double(frame.right - frame.left), double(frame.bottom - frame.top)};
    }

    // As if chosen from a menu; returns once it has run (a modal window's loop included).
    void Choose(CommandId id) {
        program().commands->Post(id);
        WaitFor([] { return true; }, 0);
    }
    // Runs a command that shows the viewer; true once it is on the screen.
    bool Shows(CommandId id) {
        Choose(id);
        return WaitFor([&] { return IsWindowVisible(program().viewer->Window()) != FALSE; });
    }
    // The measuring mode, switched to a way by its key unless `way` is 0.
    HWND Measuring(WPARAM way = 0) {
        Choose(CommandId::Measure);
        HWND window = WaitOurs(L"PlumboMeasure");
        EXPECT_TRUE(window) << "no measuring mode";
        if (window && way) SendMessageW(window, WM_KEYDOWN, way, 0);
        return window;
    }
    // Runs a command that opens a modal window, while `user` acts on it from another thread. A
    // user who failed ends the window's loop with a quit, which the loop passes on and Choose
    // drops: the window would otherwise wait for ever for an answer that is not coming. Only
    // this user's failures count: a quit after an earlier check had failed ended a dialog's loop
    // before the user's own answer reached it, and the next command waited for ever.
    void ChooseWhile(CommandId id, const std::function<void()>& user) {
        std::jthread person([&, ui = GetCurrentThreadId()] {
            const int failedBefore = FailedParts();
            user();
            if (FailedParts() > failedBefore) PostThreadMessageW(ui, WM_QUIT, 0, 0);
        });
        Choose(id);
    }
    // The same, `user` given the window of ours of class `cls` the command opens.
    void ChooseIn(CommandId id, const wchar_t* cls, const std::function<void(HWND)>& user) {
        ChooseWhile(id, [&] {
            HWND window = WaitOurs(cls);
            ASSERT_TRUE(window) << "no window of class " << testing::PrintToString(std::wstring(cls));
            user(window);
        });
    }

    // The rulers shown and laid along a target of another program, started here unless it runs.
    void RulersAlong(bool inside = false) {
        if (!target_.Hwnd()) { ASSERT_TRUE(target_.Start(300, 200, 400, 300)); }
        Choose(CommandId::ShowRulers);
        SetForegroundWindow(target_.Hwnd());
        ASSERT_TRUE(WaitFor([&] { return Laid(inside); }));
    }
    // Outside above and left of the frame, or inside along its left and bottom edges.
    bool LaidAlong(const RECT& t, bool inside) {
        const RECT h = Horizontal(), v = Vertical();
        const int hh = h.bottom - h.top, vw = v.right - v.left;
        if (inside)
            return v.left == t.left && v.top == t.top && v.bottom == t.bottom && h.left == t.left &&
                   h.top == t.bottom - hh && h.right == t.right;
        return h.left == t.left && h.top == t.top - hh && h.right == t.right && v.left == t.left - vw &&
               v.top == t.top && v.bottom == t.bottom;
    }
    // Along the window `w`, or along the target.
    bool Laid(bool inside, HWND w = nullptr) { return LaidAlong(WindowRectOf(w ? w : target_.Hwnd()), inside); }

    // Each unit's ticks stand on the screen where the unit puts them on a monitor of dpi: along
    // the horizontal ruler, 400 pixels long, from its zero point, its outer edge on the target's,
    // in that monitor's pixels. A calibration stretches the millimetres and inches by a scale,
    // never the pixels, whose ticks stand exactly. Which tick each unit has where is the layout's
    // rule (tested natively); here, a long and a medium one of each unit drawn in place.
    void TicksStandWhereEachUnitPutsThem(int dpi, double scale = 1.0) {
        MovePointer(0, 0);  // its mark, left by an earlier test over a column read here, is no tick
        const RECT c = e2e::ClientRectOnScreen(RulerOf(true));
        const int zero = WindowRectOf(RulerOf(true)).left - c.left;
        const double cm = dpi / 2.54;
        struct Column { CommandId unit; double x; int twips; };  // x: pixels from the zero point
        for (const Column& col :
             {Column{CommandId::UnitPixels, 32, 200}, {CommandId::UnitPixels, 16, 150},
              {CommandId::UnitMillimetres, 5 * cm, 200}, {CommandId::UnitMillimetres, cm / 2, 150},
              {CommandId::UnitInchEighths, dpi / 2.0, 150}, {CommandId::UnitInchTenths, 2.0 * dpi, 200}}) {
            SCOPED_TRACE(testing::Message() << "unit " << static_cast<int>(col.unit) << " at " << col.x);
            Choose(col.unit);
            const bool pixels = col.unit == CommandId::UnitPixels;
            const int x = zero + static_cast<int>(std::lround(pixels ? col.x : col.x * scale));
            // The tick nearest the column, within a pixel of rounding.
            auto nearest = [&] {
                const Image img = GrabScreen(c);
                return pixels ? TickLength(img, x)
                              : std::max({TickLength(img, x - 1), TickLength(img, x), TickLength(img, x + 1)});
            };
            const long length = std::lround(col.twips * dpi / 1440.0);
            EXPECT_TRUE(WaitFor([&] { return std::abs(nearest() - length) <= 1; })) << nearest();
        }
    }

    Shell shell_;
    std::wstring dir_;
    e2e::Target target_;  // the window the rulers follow, another program's: started before it is needed
};

// ---- Every text whole, in the language and at the resolution of the run ----

// The captions of a window's controls that do not show whole in the control's own font, each
// with the room it needs and the room it has.
std::vector<std::wstring> CutCaptions(HWND window) {
    std::vector<std::wstring> cut;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(c, cls, 16);
        const std::wstring text = TextOf(c);
        const LONG kind = GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        const bool label = _wcsicmp(cls, L"Static") == 0, box = kind == BS_AUTOCHECKBOX || kind == BS_AUTORADIOBUTTON;
        if (text.empty() || (!label && _wcsicmp(cls, L"Button") != 0)) continue;
        RECT client{}, need{};
        GetClientRect(c, &client);
        // What a control draws beside its caption, in pixels at 96 DPI: a check or option box and
        // 4 after it, or a push button's or group box's edge of 4 on each side.
        const int edges = label ? 0 : box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 2 * 4;
        const LONG room = need.right = client.right - MulDiv(edges, Dpi(LOGPIXELSX), 96);
        // A label wraps at words, so its lines must fit its height as well.
        WindowDc dc(c);
        SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        DrawTextW(dc.Get(), text.c_str(), -1, &need, DT_CALCRECT | (label ? DT_WORDBREAK : DT_SINGLELINE));
        if (need.right > room || (label && need.bottom > client.bottom))
            cut.push_back(text + L" needs " + std::to_wstring(need.right) + L"x" + std::to_wstring(need.bottom));
    }
    return cut;
}

// The pixels of texts and frames in a rectangle of the screen over the version box's blue or the
// measuring bar's grey and blue, which hold little red.
int WrittenIn(const RECT& r) { return int(std::ranges::count_if(GrabScreen(r).pixels, [](uint32_t c) { return (c >> 16) > 0x60; })); }

// Run in the user's language (under Wine the process's locale: "shell.english" runs it in
// English) and again at 144 dpi in both, as is the version box's test. The file is the one Japanese runs write, with red
// rulers: read, applied and written back the same way in either language.
TEST_F(ShellTest, EveryDialogAndTheMeasuringBarShowTheirTextsWholeAndShareTheSettingsFile) {
    ASSERT_NO_FATAL_FAILURE(Start(Ini("255", true, false, false)));
    for (auto [cls, caption] : {std::pair{L"PlumboSettings", Texts().settingsCaption}, {L"PlumboSize", Texts().sizeCaption}}) {
        HWND dialog = WindowOf(GetCurrentProcessId(), cls);
        EXPECT_EQ(std::pair(TextOf(dialog), CutCaptions(dialog)), std::pair(std::wstring(caption), std::vector<std::wstring>{}));
    }
    // The red preview shows whole below its caption, its numbers below its top edge.
    ChooseIn(CommandId::OpenSettings, L"PlumboSettings", [&](HWND dialog) {
        const RECT p = e2e::ClientRectOnScreen(FindWindowExW(dialog, nullptr, L"PlumboSettingsPreview", nullptr));
        EXPECT_TRUE(WaitFor([&] { return std::ranges::count(GrabScreen({p.left, p.top, p.right, p.top + 1}).pixels, 0xFF0000u) == p.right - p.left; }));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    EXPECT_EQ(BodyPixel(Horizontal()), 0xFF0000u);
    // The input box is made when asked for, from a template of its own; the zoom is typed for
    // re-drawn pictures.
    ASSERT_TRUE(Shows(CommandId::RedrawAsVector));
    ChooseIn(CommandId::ZoomTyped, L"#32770", [&](HWND box) {
        EXPECT_EQ(CutCaptions(box), std::vector<std::wstring>{}) << "input box";
        Press(box, IDCANCEL);
    });
    // The measuring bar lies whole on the screen, and each way, chosen, is a blue cell whose name
    // keeps off its edges: measured in another font than it is written in, it would run over them.
    HWND measuring = Measuring();
    const LONG screen = GetSystemMetrics(SM_CXSCREEN), grey = 0x303030u, blue = 0x0078D7u;
    // Where a colour's first and last pixels lie along the screen's top row.
    auto run = [&](LONG colour) {
        const auto px = GrabScreen({0, 0, screen, 1}).pixels;
        return std::pair(LONG(std::ranges::find(px, colour) - px.begin()), LONG(px.rend() - std::find(px.rbegin(), px.rend(), colour)));
    };
    EXPECT_TRUE(WaitFor([&] { return run(grey).first > 0 && run(grey).second < screen; }));
    for (const char way : {'1', '2', '3', '4', '5'}) {
        const auto before = run(blue);
        SendMessageW(measuring, WM_KEYDOWN, way, 0);
        EXPECT_TRUE(WaitFor([&] { return run(blue) != before; })) << way;
        const auto [left, right] = run(blue);
        const LONG h = LONG(std::ranges::count(GrabScreen({left, 0, left + 1, 100}).pixels, blue));
        EXPECT_EQ(WrittenIn({left, 0, left + 1, h}) + WrittenIn({right - 1, 0, right, h}), 0) << way;
    }
    SendMessageW(measuring, WM_KEYDOWN, VK_ESCAPE, 0);
    Choose(CommandId::PlaceInside);
    EXPECT_EQ(IniText(), Ini("255", true, false, true));
}

// ---- The rulers ----

// The threads of this process: under Wine the rulers' poll and the watch of the pointer for their
// cursor mark are two of them while they are shown.
size_t OurThreads() {
    size_t count = 0;
    HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{sizeof entry, 0, 0, 0, 0, 0, 0};
    for (BOOL more = Thread32First(all, &entry); more; more = Thread32Next(all, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(all);
    return count;
}

TEST_F(ShellTest, RulersFollowTheTargetWhereverPlacedWithTicksWhereTheUnitPutsThemAtEitherMonitorsDpi) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const size_t hidden = OurThreads();
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    ASSERT_EQ(OurThreads(), hidden + 2) << "no poll or no watch of the pointer";
    EXPECT_TRUE(program().commands->IsChecked(CommandId::ShowRulers));

    // A placement shows at the target's next change, a move and a resize; the settings file's
    // tests see it stored.
    Choose(CommandId::PlaceInside);
    SetWindowPos(target_.Hwnd(), nullptr, 260, 190, 480, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return Laid(true); })) << "inside";
    // Nothing is laid along one of our windows, the desktop or the taskbar: a look is made once
    // each is in front, as the poll asks for one.
    for (HWND front : {RulerOf(false), GetDesktopWindow(), FindWindowW(L"Shell_TrayWnd", nullptr)}) {
        ASSERT_TRUE(SetForegroundWindow(front) && WaitFor([&] { return GetForegroundWindow() == front; }));
        SendMessageW(TrackingWindow(), kPolledChangeMessage, 0, 0);
        EXPECT_TRUE(Laid(true) && program().target.hwnd == target_.Hwnd()) << "followed " << front;
    }
    // A target that rises into the topmost band above the rulers finds them above it again,
    // shown where they lie over it. Under Wine its activation stacks them again up to four
    // times over a while (at once and later, for the change and for its focus), which may meet
    // a rise: it rises more often than that.
    SetForegroundWindow(target_.Hwnd());
    for (int rise = 0; rise < 6; ++rise) {
        SetWindowPos(target_.Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const RECT ruler = Horizontal();
        const POINT spot{ruler.right - 4, ruler.top + 2};  // where BodyPixel looks
        ASSERT_TRUE(WaitFor([&] { return WindowFromPoint(spot) == RulerOf(true) && BodyPixel(ruler) == 0xFFFFFFu; }))
            << "rise " << rise;
    }
    Choose(CommandId::PlaceOutside);
    SetWindowPos(target_.Hwnd(), nullptr, 240, 170, 420, 280, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return Laid(false); })) << "outside again";
    EXPECT_NE(IniText().find("INSIDE=FALSE\r\n"), std::string::npos);

    TicksStandWhereEachUnitPutsThem(Dpi(LOGPIXELSY));

    // Wine has one monitor: what Windows sends a ruler that comes to stand on a monitor of another
    // resolution is sent here. The ruler takes that monitor's thickness and scale, and the pair is
    // laid along the target again; one the user drags takes the rectangle Windows suggests.
    auto tell = [](bool horizontal, int dpi, RECT suggested) {
        SendMessageW(RulerOf(horizontal), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    };
    const int own = Dpi(LOGPIXELSY), other = own == 144 ? 96 : 144;
    for (bool horizontal : {true, false}) tell(horizontal, other, WindowRectOf(RulerOf(horizontal)));
    // 500 twips: 50 pixels at 144 dpi, 33 at 96.
    const int thickness = std::lround(500.0 * other / 1440);
    EXPECT_TRUE(WaitFor([&] { return Horizontal().bottom - Horizontal().top == thickness && Laid(false); }));
    EXPECT_EQ(Vertical().right - Vertical().left, thickness);
    TicksStandWhereEachUnitPutsThem(other);

    SendMessageW(RulerOf(true), WM_ENTERSIZEMOVE, 0, 0);
    tell(true, own, RECT{100, 90, 700, 140});
    SendMessageW(RulerOf(true), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Corners(Horizontal()), std::tuple(100L, 90L, 700L, 90 + std::lround(500.0 * own / 1440)));

    Choose(CommandId::HideRulers);
    EXPECT_FALSE(IsWindowVisible(RulerOf(true)) || IsWindowVisible(RulerOf(false))) << "a ruler is on the screen";
    EXPECT_TRUE(program().commands->IsChecked(CommandId::HideRulers));
    EXPECT_TRUE(WaitFor([&] { return OurThreads() == hidden; })) << "the poll goes on";
}

// A line across each ruler where the pointer is, once it moved; none once switched off.
TEST_F(ShellTest, RulersMarkThePointerUntilSwitchedOffAndStandAsideWhileTheTargetIsMinimizedOrCloaked) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    const RECT h = e2e::ClientRectOnScreen(RulerOf(true)), v = e2e::ClientRectOnScreen(RulerOf(false));
    // Each ruler on its own, in the tick colour where no tick reaches: the horizontal ruler's top
    // row, the vertical one's left column.
    auto marks = [&](POINT at) { return std::pair(PixelAt(at.x, h.top) == 0x0000FFu, PixelAt(v.left, at.y) == 0x0000FFu); };
    const POINT places[] = {{h.left + 37, v.top + 53}, {h.left + 90, v.top + 20}, {h.left + 61, v.top + 75}};
    // Moved at once after the rulers came or the mark was switched on, before the watch's thread
    // may have run; switched off, each ruler is looked at where the pointer is, then moved. Again
    // with a hook that hears nothing, as one Windows dropped or one under a window of an elevated
    // program: the looks tell the moves.
    for (bool hooked : {false, true})
    for (auto [on, at] : {std::pair(true, places[0]), {false, places[0]}, {false, places[1]}, {true, places[2]}, {true, places[1]}}) {
        if (hooked) Reports().hookPointer = [](HOOKPROC) { return reinterpret_cast<HHOOK>(uintptr_t{1}); };
        program().settings.showCursor = on;
        program().rulers->ApplySettings();
        MovePointer(at.x, at.y);
        for (bool horizontal : {true, false}) RedrawWindow(RulerOf(horizontal), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_TRUE(WaitFor([&] { return marks(at) == std::pair(on, on); })) << hooked << on << " " << at.x << "," << at.y;
    }

    // A window off the screen is measured no more: minimised (a caption far away, possibly still
    // in front) or cloaked (its virtual desktop left). The rulers hide until it is back, then
    // stand along it; a command asked for the minimised one says so.
    bool cloaked = false;
    Reports().cloaked = [&](HWND w) { return cloaked && w == target_.Hwnd(); };
    // Each wait asks for a look, as the poll does.
    auto shown = [&, h = Horizontal()] { SendMessageW(TrackingWindow(), kPolledChangeMessage, 0, 0);
        return IsWindowVisible(RulerOf(true)) + IsWindowVisible(RulerOf(false)) + (BodyPixel(h) == 0xFFFFFFu); };
    for (bool minimise : {true, false}) {
        if (minimise) ShowWindow(target_.Hwnd(), SW_SHOWMINIMIZED);
        cloaked = !minimise;
        ASSERT_TRUE(GetForegroundWindow() == target_.Hwnd() && IsIconic(target_.Hwnd()) == minimise);
        EXPECT_TRUE(WaitFor([&] { return shown() == 0; })) << minimise;
        EXPECT_TRUE(program().rulers->Shown());
        for (CommandId id : minimise ? std::vector{CommandId::CaptureBitmap, CommandId::RedrawAsVector, CommandId::SetTargetSize} : std::vector<CommandId>{})
            EXPECT_EQ(MessagesWhile([&] { Choose(id); }), std::vector<std::wstring>{L"ウインドウが最小化されています。元のサイズに戻してから、もう一度実行してください。"});
        if (minimise) ShowWindow(target_.Hwnd(), SW_RESTORE);
        cloaked = false;
        EXPECT_TRUE(WaitFor([&] { return shown() == 3 && Laid(false); })) << minimise;
    }
}

// A copy run as administrator made the mutex with rights above ours: another copy runs, and the
// user is told where it is.
TEST_F(ShellTest, ACopyRunningAsAdministratorIsAnotherCopy) {
    PSECURITY_DESCRIPTOR noAccess = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:", SDDL_REVISION_1, &noAccess, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, noAccess, FALSE};
    HANDLE held = CreateMutexW(&attributes, FALSE, L"Local\\Plumbo.SingleInstance");
    EXPECT_EQ(MessagesWhile([&] { EXPECT_FALSE(shell_.Start(GetModuleHandleW(nullptr), L"C:\\")); }),
              std::vector<std::wstring>{L"Plumbo は管理者として既に実行されています。通知領域のアイコンからお使いください。"});
    CloseHandle(held);
    LocalFree(noAccess);
}

// ---- The size dialog ----

constexpr int kWidthBox = 201, kHeightBox = 202, kFirstUnitOption = 210;

// Types a size into the size dialog (no height: its box kept) and presses OK.
void TypeSize(HWND dlg, const wchar_t* width, const wchar_t* height = nullptr) {
    for (auto [box, text] : {std::pair{kWidthBox, width}, {kHeightBox, height}})
        if (text) SetWindowTextW(GetDlgItem(dlg, box), text);
    Press(dlg, IDOK);
}

TEST_F(ShellTest, SizeDialogOpensOnTheTargetInTheRulersUnitRefusesBadValuesSetsTheSizeOrNamesTheOneKept) {
    // An existing file is kept as it is and applied: not on top.
    const std::string mine = Ini("16777215", false, false, false);
    ASSERT_NO_FATAL_FAILURE(Start(mine));
    EXPECT_EQ(IniText(), mine);
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    e2e::Target other;
    ASSERT_TRUE(other.Start(700, 420, 300, 200, L"Other"));
    SetForegroundWindow(target_.Hwnd());
    ASSERT_TRUE(WaitFor([&] { return Laid(false); }));

    ChooseIn(CommandId::SetTargetSize, L"PlumboSize", [&](HWND dlg) {
        EXPECT_EQ(std::pair(WindowRectOf(dlg).left, WindowRectOf(dlg).top), std::pair(300L, 200L));
        // Every other window of ours waits.
        for (bool horizontal : {true, false}) EXPECT_FALSE(IsWindowEnabled(RulerOf(horizontal))) << horizontal;
        // 400 x 300 pixels in whole millimetres, floored: 105 x 79 at 96 dpi.
        EXPECT_EQ(TextOf(GetDlgItem(dlg, kWidthBox)), std::to_wstring(400 * 254 / 10 / Dpi(LOGPIXELSX)));
        EXPECT_EQ(TextOf(GetDlgItem(dlg, kHeightBox)), std::to_wstring(300 * 254 / 10 / Dpi(LOGPIXELSY)));
        SendMessageW(GetDlgItem(dlg, kFirstUnitOption + 2), BM_CLICK, 0, 0);
        EXPECT_EQ(TextOf(GetDlgItem(dlg, kWidthBox)), L"400") << "a unit re-reads the size in it";
        SendMessageW(GetDlgItem(dlg, kFirstUnitOption), BM_CLICK, 0, 0);
        // Another window brought forward meanwhile does not become the target.
        SetForegroundWindow(other.Hwnd());
        // Which typed value is refused for what is tested natively (SizeDialog); here, that the
        // refusal names its box and the dialog stays.
        for (auto [width, height, named] : {std::tuple{L"abc", L"200", L"幅(W)"}, {L"79", L"99999", L"高さ(H)"}}) {
            TypeSize(dlg, width, height);
            EXPECT_NE(AnswerMessage().find(named), std::wstring::npos) << width << " x " << height;
            EXPECT_TRUE(IsWindowVisible(dlg));
        }
        // Back in front when the dialog closes, where the rulers follow it at once.
        SetForegroundWindow(target_.Hwnd());
        // 100 x 50 mm, typed in full width as an input method does: at 96 pixels per inch
        // 377.95 and 188.98, so 378 x 189.
        TypeSize(dlg, L"１００", L"　５０．０");
    });
    // The typed size reaches the target, not the window brought forward meanwhile.
    const RECT t = WindowRectOf(target_.Hwnd());
    EXPECT_EQ(std::tuple(t.left, t.top, t.right - t.left, t.bottom - t.top),
              std::tuple(300L, 200L, std::lround(100 / 25.4 * Dpi(LOGPIXELSX)), std::lround(50 / 25.4 * Dpi(LOGPIXELSY))));
    EXPECT_EQ(Horizontal().right - Horizontal().left, t.right - t.left) << "the ruler takes the new width at once";
    EXPECT_FALSE(program().rulers->OnTop()) << "ZORDER=FALSE is kept";

    // In pixels it opens in pixels, and Cancel changes nothing.
    Choose(CommandId::UnitPixels);
    ChooseIn(CommandId::SetTargetSize, L"PlumboSize", [&](HWND dlg) {
        EXPECT_EQ(SendMessageW(GetDlgItem(dlg, kFirstUnitOption + 2), BM_GETCHECK, 0, 0), BST_CHECKED);
        SetWindowTextW(GetDlgItem(dlg, kWidthBox), L"420");
        Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(WindowRectOf(target_.Hwnd()).right, t.right);

    // A window that does not take the size (here one that does not answer) is named with the
    // size it has. (A maximized or half-hidden window's rulers are seen on the screen from
    // outside, in the rulers' end-to-end tests.)
    e2e::StuckWindow stuck(WS_POPUP | WS_VISIBLE);
    program().target.hwnd = stuck.window;
    ChooseIn(CommandId::SetTargetSize, L"PlumboSize", [&](HWND dlg) {
        TypeSize(dlg, L"300");
        EXPECT_NE(AnswerMessage().find(L"120 × 80"), std::wstring::npos);
    });
}

// ---- The settings dialog ----

constexpr int kRulerColourButton = 102, kTickColourButton = 103, kOkButton = 105, kCancelButton = 106,
              kInsideOption = 109, kPicturesCheck = 111, kCaptureKeyNone = 221, kRulersKey = 210, kRedrawKey = 212,
              kSizeKey = 213, kCursorCheck = 113, kMeasureKeyNone = 224;
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;  // the standard colour dialog's

// Picks a colour in the colour dialog a button opens; OK or Cancel.
void PickColour(HWND dlg, int button, COLORREF colour, int answer, std::wstring* opensOn = nullptr) {
    Press(dlg, button);
    HWND cd = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND h : e2e::WindowsOf(GetCurrentProcessId(), L"#32770", true))
            if (GetDlgItem(h, kRedEdit)) cd = h;
        return cd != nullptr;
    }));
    for (auto [edit, value] : {std::pair{kRedEdit, GetRValue(colour)}, {kGreenEdit, GetGValue(colour)}, {kBlueEdit, GetBValue(colour)}}) {
        if (opensOn) *opensOn += (edit == kRedEdit ? L"" : L",") + TextOf(GetDlgItem(cd, edit));
        SetWindowTextW(GetDlgItem(cd, edit), std::to_wstring(value).c_str());
    }
    PostMessageW(cd, WM_COMMAND, answer, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(cd) && IsWindowEnabled(dlg); }));
}

// Runs of one colour along a row of an image.
int Runs(const Image& img, int y, uint32_t colour) {
    int runs = 0;
    for (int x = 0; x < img.width; ++x) runs += img.At(x, y) == colour && (x == 0 || img.At(x - 1, y) != colour);
    return runs;
}

// Whether a key is free for this thread to take, rather than held by the program.
bool KeyFree(UINT modifiers, UINT key) { return RegisterHotKey(nullptr, 1, modifiers, key) && UnregisterHotKey(nullptr, 1); }

TEST_F(ShellTest, SettingsDialogPreviewsPicksAndStoresOnlyOnOk) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ChooseIn(CommandId::OpenSettings, L"PlumboSettings", [&](HWND dlg) {
        const RECT r = WindowRectOf(dlg);
        // With the rulers hidden: centred in whole twips, so within a pixel.
        EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1);
        EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 1);
        // The preview: a white body, 88 blue ticks, 9 of them long enough to reach 175 twips.
        const RECT p = e2e::ClientRectOnScreen(FindWindowExW(dlg, nullptr, L"PlumboSettingsPreview", nullptr));
        Image img;
        EXPECT_TRUE(WaitFor([&] { return Runs(img = GrabScreen(p), img.height - 2, 0x0000FFu) == 88; }))
            << Runs(img, img.height - 2, 0x0000FFu);
        EXPECT_EQ(Runs(img, img.height - 1 - 175 * Dpi(LOGPIXELSY) / 1440, 0x0000FFu), 9);
        // A cancelled pick leaves the preview; a picked one shows in it; Cancel drops both.
        std::wstring opensOn;
        PickColour(dlg, kTickColourButton, RGB(9, 9, 9), IDCANCEL, &opensOn);
        EXPECT_EQ(opensOn, L"0,0,255") << "opens on the colour being edited";
        EXPECT_EQ(BodyPixel(p), 0xFFFFFFu);
        PickColour(dlg, kRulerColourButton, RGB(0, 128, 0), IDOK);
        EXPECT_TRUE(WaitFor([&] { return BodyPixel(p) == 0x008000u; })) << "the preview shows the pick";
        SendMessageW(GetDlgItem(dlg, kInsideOption), BM_CLICK, 0, 0);
        // Moved to 144 dpi and back, it takes the rectangle Windows suggests, and the OK button
        // (5400, 180, 1155 x 375 twips) its place and a 9-point font there; the old font is freed.
        HWND ok = GetDlgItem(dlg, kOkButton);
        const RECT was = WindowRectOf(dlg);
        for (auto [dpi, place] : {std::pair{144, RECT{540, 18, 656, 56}}, {96, RECT{360, 12, 437, 37}}}) {
            const HFONT old = reinterpret_cast<HFONT>(SendMessageW(ok, WM_GETFONT, 0, 0));
            const RECT suggested{100, 50, 100 + (was.right - was.left) * dpi / 96, 50 + (was.bottom - was.top) * dpi / 96};
            SendMessageW(dlg, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
            RECT r = WindowRectOf(ok), d = WindowRectOf(dlg);
            MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
            LOGFONTW lf{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(ok, WM_GETFONT, 0, 0)), sizeof lf, &lf);
            EXPECT_EQ(std::tuple(Corners(r), lf.lfHeight, d.right, d.bottom, GetObjectType(old)),
                      std::tuple(Corners(place), -9L * dpi / 72, suggested.right, suggested.bottom, 0UL)) << dpi;
        }
        Press(dlg, kCancelButton);
    });
    EXPECT_EQ(IniText(), kNewFile);

    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    const RECT h = Horizontal(), v = Vertical();
    ChooseIn(CommandId::OpenSettings, L"PlumboSettings", [&](HWND dlg) {
        // At the rulers' corner, the rulers out of its way meanwhile.
        EXPECT_NEAR(WindowRectOf(dlg).left, h.left, 1);
        EXPECT_NEAR(WindowRectOf(dlg).top, v.top, 1);
        EXPECT_FALSE(IsWindowVisible(RulerOf(true)) || IsWindowVisible(RulerOf(false))) << "a ruler is on the screen";
        EXPECT_TRUE(KeyFree(MOD_CONTROL | MOD_ALT, 'R')) << "the keys are released, to be typed into the boxes";
        PickColour(dlg, kRulerColourButton, RGB(0, 128, 0), IDOK);
        PickColour(dlg, 104, RGB(1, 2, 3), IDOK);  // the numbers' colour
        // Inside, pictures on; capture switched off; the size dialog's key moved and chosen for
        // re-drawing too; the rulers given a key that this thread, another program as far as
        // Plumbo can tell, holds. The two that cannot be had are named in one message and stored
        // as none. Typed alone, F5 stays alone and a letter gets Ctrl+Alt. The cursor mark and
        // the measuring key switched off too.
        for (int id : {kInsideOption, kPicturesCheck, kCaptureKeyNone, kCursorCheck, kMeasureKeyNone})
            SendMessageW(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
        for (int box : {kSizeKey, kRedrawKey})
            SendMessageW(GetDlgItem(dlg, box), HKM_SETHOTKEY, MAKEWORD('S', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
        for (auto [key, shown] : {std::pair<WPARAM, LRESULT>{VK_F5, VK_F5}, {'U', MAKEWORD('U', HOTKEYF_CONTROL | HOTKEYF_ALT)}}) {
            SendMessageW(GetDlgItem(dlg, kRulersKey), WM_KEYDOWN, key, 0);
            EXPECT_EQ(SendMessageW(GetDlgItem(dlg, kRulersKey), HKM_GETHOTKEY, 0, 0), shown) << key;
        }
        ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'U'));
        Press(dlg, kOkButton);
        EXPECT_NE(AnswerMessage().find(L" Ctrl+Alt+U, Ctrl+Shift+S "), std::wstring::npos);
        UnregisterHotKey(nullptr, 1);
    });
    // MEJ = RGB(0, 128, 0); LINE untouched; NO = RGB(1, 2, 3) = 0x030201.
    EXPECT_EQ(IniText(), "[COLOR]\r\nMEJ=32768\r\nLINE=16711680\r\nNO=197121\r\n"
                         "[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=FALSE\r\nINSIDE=TRUE\r\nCURSOR=FALSE\r\n"
                         "[HOTKEY]\r\nRULERS=NONE\r\nCAPTURE=NONE\r\nREDRAW=Ctrl+Shift+S\r\nSIZE=NONE\r\nMEASURE=NONE\r\n"
                         "[VECTOR]\r\nPICTURES=TRUE\r\n");
    // Registered again: the new key held, the ones switched off given back.
    EXPECT_FALSE(KeyFree(MOD_CONTROL | MOD_SHIFT, 'S'));
    for (UINT key : {'R', 'C', 'M'}) EXPECT_TRUE(KeyFree(MOD_CONTROL | MOD_ALT, key)) << key;
    EXPECT_TRUE(WaitFor([&] { return BodyPixel(Horizontal()) == 0x008000u && BodyPixel(Vertical()) == 0x008000u; }))
        << "both rulers recoloured";
}

// "Windows の起動時に開始する" shows whether the Run key holds the value, whoever wrote it;
// "Ｏ．Ｋ" after a click writes this program quoted, with /startup, or removes the value. A key
// locked as a policy locks it is said to be, not passed over.
TEST_F(ShellTest, StartWithWindowsShowsTheRunValueAndOkWritesOrRemovesIt) {
    ASSERT_NO_FATAL_FAILURE(Start());
    HKEY run = nullptr;
    ASSERT_FALSE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &run, nullptr));
    std::vector<BYTE> open(4096);  // the key's own access, put back after each row
    DWORD bytes = static_cast<DWORD>(open.size());
    ASSERT_FALSE(RegGetKeySecurity(run, DACL_SECURITY_INFORMATION, open.data(), &bytes));
    PSECURITY_DESCRIPTOR locked = nullptr;  // no one may set a value (KEY_SET_VALUE, 2)
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &locked, nullptr));
    const std::wstring installed = L"\"C:\\Programs\\Plumbo\\plumbo.exe\" /startup",
                       ours = L"\"" + e2e::BinDir() + L"\\shell_tests.exe\" /startup";
    struct Row { std::wstring before; bool click; int button; bool lock; std::wstring after; };  // "": no value
    for (const Row& row : {Row{L"", true, kCancelButton, false, L""}, Row{L"", true, kOkButton, false, ours},
                           Row{installed, false, kOkButton, false, installed}, Row{installed, true, kOkButton, false, L""},
                           Row{L"", true, kOkButton, true, L""}}) {
        RegDeleteValueW(run, L"Plumbo");
        if (!row.before.empty())
            RegSetValueExW(run, L"Plumbo", 0, REG_SZ, reinterpret_cast<const BYTE*>(row.before.c_str()),
                           static_cast<DWORD>((row.before.size() + 1) * sizeof(wchar_t)));
        RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, row.lock ? locked : open.data());
        bool shown = false;
        const std::vector<std::wstring> said = MessagesWhile([&] {
            ChooseIn(CommandId::OpenSettings, L"PlumboSettings", [&](HWND dlg) {
                HWND box = FindWindowExW(dlg, nullptr, L"BUTTON", Texts().setStartWithWindows);
                shown = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
                if (row.click) SendMessageW(box, BM_CLICK, 0, 0);
                Press(dlg, row.button);
            });
        });
        RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, open.data());
        wchar_t after[600] = {};
        bytes = sizeof after - sizeof *after;
        RegQueryValueExW(run, L"Plumbo", nullptr, nullptr, reinterpret_cast<BYTE*>(after), &bytes);
        EXPECT_EQ(std::tuple(shown, std::wstring(after), row.lock ? bool(SaidOnce(said, {e2e::SystemReason(ERROR_ACCESS_DENIED)})) : said.empty()),
                  std::tuple(!row.before.empty(), row.after, true)) << row.click << row.button << testing::PrintToString(said);
    }
    LocalFree(locked);
    RegDeleteValueW(run, L"Plumbo");
    RegCloseKey(run);
}

// ---- The settings file's messages and keys ----

// Another resolution, as Windows changes it, with WM_DISPLAYCHANGE to every window (Wine's
// virtual desktop has 1280 x 800 and 1024 x 768 among its modes); 0 x 0 puts the prefix's back.
bool SetResolution(DWORD width, DWORD height) {
    DEVMODEW mode{.dmSize = sizeof(DEVMODEW), .dmFields = DM_PELSWIDTH | DM_PELSHEIGHT, .dmPelsWidth = width, .dmPelsHeight = height};
    return ChangeDisplaySettingsExW(nullptr, width ? &mode : nullptr, nullptr, width ? CDS_FULLSCREEN : 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

// A folder where the file should be: it can be neither read nor made. One message for the
// whole file, naming it, and the program goes on with the defaults; its writes, failing too,
// say nothing more.
TEST_F(ShellTest, AnUnusableFileIsReportedOnceAndTheDefaultsAreUsed) {
    dir_ = e2e::MakeTempDir(L"shell");
    ASSERT_TRUE(CreateDirectoryW(IniPath().c_str(), nullptr));
    const std::vector<std::wstring> messages = MessagesWhile([&] {
        ASSERT_TRUE(shell_.Start(GetModuleHandleW(nullptr), dir_ + L"\\"));
        Choose(CommandId::PlaceInside);
    });
    RemoveDirectoryW(IniPath().c_str());
    EXPECT_TRUE(SaidOnce(messages, {dir_ + L"\\plumbo.ini"}));
    EXPECT_TRUE(program().rulers->OnTop());
}

// A program folder that takes no new file (Program Files): the settings go to %APPDATA%\Plumbo
// and are read from there at the next start. A file beside the program is used all the same,
// and nothing moves between the two.
TEST_F(ShellTest, AProgramFolderThatTakesNoFileKeepsTheSettingsInAppData) {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_TRUE(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH));
    const std::wstring elsewhere = appData + std::wstring(L"\\Plumbo\\plumbo.ini");
    DeleteFileW(elsewhere.c_str());
    SetCreateFileProbe([](const std::wstring&) { return false; });
    ASSERT_NO_FATAL_FAILURE(Start(""));
    Choose(CommandId::PlaceInside);
    Program next{.folder = dir_ + L"\\"};
    next.settingsFile.path = next.IniPath();
    EXPECT_EQ(std::tuple(next.settingsFile.path, next.settingsFile.Load().inside, e2e::FileExists(IniPath())),
              std::tuple(elsewhere, true, false));
    ASSERT_TRUE(e2e::WriteFileBytes(IniPath(), kNewFile));
    EXPECT_EQ(std::pair(next.IniPath(), e2e::ReadFileBytes(elsewhere)), std::pair(IniPath(), Ini("16777215", true, false, true)));
    DeleteFileW(elsewhere.c_str());
}

// The file's keys: a bare R would take every R typed anywhere, so it is unreadable and gets its
// default back; F5 types nothing and is taken alone. A key another program holds at start-up is
// named and left unused for the run, and stays in the file for a run when it is free.
// Then the file cannot be written (root under Wine writes a read-only file all the same, so the
// profile writer fails instead): the first write that fails is said, with the system's reason,
// and only that one; the program goes on with the settings it holds.
TEST_F(ShellTest, TheFilesKeysAreTakenAsTheyMayBeAndAFailedWriteIsSaidOnceWithTheSystemsReason) {
    const std::string head = kNewFile.substr(0, kNewFile.find("RULERS=")) + "RULERS=";
    const std::string rest = "\r\nCAPTURE=NONE\r\nREDRAW=F5\r\nSIZE=Ctrl+Alt+C\r\nMEASURE=Ctrl+Alt+M\r\n";
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'C'));
    std::vector<std::wstring> messages = MessagesWhile([&] { Start(head + "R" + rest); });
    UnregisterHotKey(nullptr, 1);
    EXPECT_TRUE(SaidOnce(messages, {L"Ctrl+Alt+C"}));
    EXPECT_EQ(IniText(), head + "Ctrl+Alt+R" + rest + kNoPictures);
    EXPECT_EQ(std::tuple(KeyFree(0, 'R'), KeyFree(0, VK_F5), KeyFree(MOD_CONTROL | MOD_ALT, 'C')), std::tuple(true, false, true));

    SetProfileWriter([](const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*) -> DWORD { return ERROR_ACCESS_DENIED; });
    messages = MessagesWhile([&] { for (CommandId id : {CommandId::PlaceInside, CommandId::TransparentLook}) Choose(id); });
    SetProfileWriter(nullptr);
    EXPECT_TRUE(SaidOnce(messages, {dir_ + L"\\plumbo.ini", e2e::SystemReason(ERROR_ACCESS_DENIED)}));
    EXPECT_TRUE(program().commands->IsChecked(CommandId::PlaceInside) && program().settings.transparent);
}

// ---- True millimetres ----

constexpr int kCalibrationBox = 302, kCalibrationReset = 303;

// The monitor's section, named as the program names the monitor: the rulers and the dialogs
// all stand on Wine's one monitor.
std::string CalibrationSection(const char* pixelsPerMm) {
    const std::wstring path = MonitorDevicePath(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
    const std::wstring id = MonitorIdentity(MonitorEdid(path), path);
    return "[CALIBRATION " + std::string(id.begin(), id.end()) + "]\r\nPIXELS_PER_MM=" + pixelsPerMm + "\r\n";
}

// The file, as an older copy wrote it, says the line of 100 of Windows' millimetres measures
// 80 mm on this monitor: ticks of millimetres and inches, and the size dialog's millimetres, are
// 1.25 times Windows' own. Its resolution is taken to be today's, and written at the next save.
// Measured again in "設定": a length no monitor shows is refused, 94.5 mm is stored with the
// resolution; at 1024 x 768 the panel's 1280 pixels across are 1024, so the line measures
// 94.5 x 1280 / 1024 = 118.1 mm. "元に戻す" removes the section.
TEST_F(ShellTest, ACalibratedMonitorHasTrueMillimetresOnItsRulersAndInTheSizeDialogSetInTheSettings) {
    const double pxPerMm = Dpi(LOGPIXELSX) / 25.4;
    const std::string calibrated = CalibrationSection(Dpi(LOGPIXELSX) == 96 ? "4.724409" : "7.086614");
    ASSERT_TRUE(SetResolution(1280, 800));
    const std::shared_ptr<void> back(nullptr, [](void*) { SetResolution(0, 0); });
    ASSERT_NO_FATAL_FAILURE(Start(kNewFile + calibrated));
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    TicksStandWhereEachUnitPutsThem(Dpi(LOGPIXELSY), 1.25);
    Choose(CommandId::PlaceOutside);  // a save, of what the file holds
    EXPECT_EQ(IniText(), kNewFile + calibrated + "RESOLUTION=1280x800\r\n");
    Choose(CommandId::UnitMillimetres);
    ChooseIn(CommandId::SetTargetSize, L"PlumboSize", [&](HWND dlg) {
        // 400 pixels are 84.67 true millimetres at 96 dpi; 100 x 50 of them 472.44 x 236.22 px.
        EXPECT_EQ(TextOf(GetDlgItem(dlg, kWidthBox)), std::to_wstring(static_cast<int>(400 / (1.25 * pxPerMm))));
        TypeSize(dlg, L"100", L"50");
    });
    EXPECT_EQ(Size(WindowRectOf(target_.Hwnd())),
              std::pair(std::lround(125 * pxPerMm), std::lround(62.5 * pxPerMm)));
    // And the measuring mode: a box of one true inch, corners included.
    const int inch = std::lround(1.25 * Dpi(LOGPIXELSX));
    HWND mode = Measuring('1');
    for (auto [msg, at] : {std::pair{WM_LBUTTONDOWN, 10}, {WM_LBUTTONUP, 10 + inch - 1}}) SendMessageW(mode, msg, 0, MAKELPARAM(at, at));
    EXPECT_EQ(e2e::ClipboardText(), L"25.4 \u00D7 25.4 mm");
    SendMessageW(mode, WM_KEYDOWN, VK_ESCAPE, 0);

    // The box shows what the line measures; the line, between its end marks, is 100 of
    // Windows' millimetres on the screen.
    ChooseIn(CommandId::OpenSettings, L"PlumboSettings", [&](HWND dlg) {
        EXPECT_EQ(TextOf(GetDlgItem(dlg, kCalibrationBox)), L"80");
        const RECT line = e2e::ClientRectOnScreen(FindWindowExW(dlg, nullptr, L"PlumboCalibrationLine", nullptr));
        auto marks = [&] {
            const Image img = GrabScreen(line);
            std::vector<int> black;
            for (int x = 0; x < img.width; ++x)
                if (img.At(x, 0) == 0 && img.At(x, img.height - 1) == 0) black.push_back(x);
            return black.size() == 2 ? black[1] - black[0] : -static_cast<int>(black.size());
        };
        EXPECT_TRUE(WaitFor([&] { return marks() == std::lround(100 * pxPerMm); })) << marks();
        SetWindowTextW(GetDlgItem(dlg, kCalibrationBox), L"300");
        Press(dlg, kOkButton);
        EXPECT_NE(AnswerMessage().find(L"200"), std::wstring::npos) << "the longest length named";
        SetWindowTextW(GetDlgItem(dlg, kCalibrationBox), L"94.5");
        Press(dlg, kOkButton);
    });
    EXPECT_EQ(IniText(), kNewFile + CalibrationSection(Dpi(LOGPIXELSX) == 96 ? "3.999500" : "5.999250") + "RESOLUTION=1280x800\r\n");
    ASSERT_TRUE(SetResolution(1024, 768));
    ChooseIn(CommandId::OpenSettings, L"PlumboSettings", [&](HWND dlg) {
        EXPECT_EQ(TextOf(GetDlgItem(dlg, kCalibrationBox)), L"118.1");
        Press(dlg, kCalibrationReset);
        Press(dlg, kOkButton);
    });
    EXPECT_EQ(IniText(), kNewFile);
}

// A hotkey as the system hands it over, under the id the program registered it with.
void PostHotKey(const Program& program, HotKeyAction action) {
    PostMessageW(program.mainWindow, WM_HOTKEY, static_cast<WPARAM>(kHotKeyCommands[static_cast<int>(action)].second), 0);
}

// A key acts on another program's window in front, and from one of our own windows on the window
// the rulers follow; the rulers' key shows them (that a press hides them again is the hotkey
// policy's rule, tested natively, and the end-to-end hotkeys' test hides them so).
TEST_F(ShellTest, HotKeysRunTheirCommandsOnTheWindowInFront) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(target_.Start(300, 200, 400, 300) && target_.Activate());
    PostHotKey(program(), HotKeyAction::Rulers);
    EXPECT_TRUE(WaitFor([&] { return program().rulers->Shown() && Laid(false); })) << "the rulers' key";
    HWND viewer = program().viewer->Window();
    auto offered = [&](CommandId save) { return !(GetMenuState(GetMenu(viewer), static_cast<UINT>(save), MF_BYCOMMAND) & MF_GRAYED); };
    PostHotKey(program(), HotKeyAction::Capture);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == viewer; }));
    // A captured bitmap is saved as PNG too, but neither as a metafile nor as SVG.
    EXPECT_EQ(std::tuple(offered(CommandId::SaveEnhancedMetafile), offered(CommandId::SavePng), offered(CommandId::SaveSvg)),
              std::tuple(false, true, false));
    EXPECT_EQ(program().target.hwnd, target_.Hwnd());
    PostHotKey(program(), HotKeyAction::Redraw);  // the viewer in front: the target behind it
    EXPECT_TRUE(WaitFor([&] { return offered(CommandId::SaveEnhancedMetafile) && offered(CommandId::SaveSvg); }));
}

// ---- Measuring ----

// On a still picture of a green client area and of a window of a toolkit's controls, whose sizes
// the window manager gives: each way measures them, a click copies and keeps, Shift keeps the one
// before, Ctrl+C copies all; Esc leaves the screen and the rulers as they were. The wheel sets how
// far a colour may stray, on grey bands at known distances.
TEST_F(ShellTest, MeasuringOnAStillPictureGivesTheTargetsSizesCopiesThemAndLeavesNothingBehind) {
    ASSERT_NO_FATAL_FAILURE(Start());
    e2e::Target toolkit;
    ASSERT_TRUE(toolkit.Start(60, 40, 780, 440, L"Toolkit", L"/toolkit"));
    ASSERT_TRUE(target_.Start(100, 50, 300, 200, L"Measured", L"/color 65280"));
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    Choose(CommandId::UnitPixels);
    const RECT t = e2e::ClientRectOnScreen(target_.Hwnd()), ruler = Horizontal();
    const POINT middle{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
    const std::wstring size = std::to_wstring(t.right - t.left) + L" \u00D7 " + std::to_wstring(t.bottom - t.top) + L" px";
    auto send = [](HWND window, UINT msg, POINT screen, WPARAM keys = 0) {
        ScreenToClient(window, &screen);
        SendMessageW(window, msg, keys, MAKELPARAM(screen.x, screen.y));
    };
    HWND window = Measuring('2');
    EXPECT_EQ(Corners(WindowRectOf(window)),
              std::tuple(0L, 0L, LONG{GetSystemMetrics(SM_CXSCREEN)}, LONG{GetSystemMetrics(SM_CYSCREEN)}));
    EXPECT_NE(BodyPixel(ruler), 0xFFFFFFu) << "a ruler in the picture";
    // A clipboard another program holds changes the bar's last item until a copy succeeds.
    const RECT top{0, 0, GetSystemMetrics(SM_CXSCREEN), 40};
    const auto barBefore = GrabScreen(top).pixels;
    {
        e2e::StuckWindow holder(0, true);  // holds the clipboard
        send(window, WM_LBUTTONUP, middle);
    }
    // Said in the bar's last cell, white on its grey, in its font: the GUI font at 9 points.
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = -MulDiv(9, Dpi(LOGPIXELSY), 72);
    const std::wstring notCopied = CurrentLanguage() == UiLanguage::Japanese ? L"クリップボードにコピーできませんでした"
                                                                              : L"Not copied: the clipboard is in use";
    auto said = [&] { return ScreenShowsText(top, notCopied, font, 0xFFFFFF, 0x303030); };
    EXPECT_TRUE(WaitFor(said)) << "a failed copy not said";
    send(window, WM_LBUTTONUP, middle);
    EXPECT_EQ(ClipboardText(), size);
    EXPECT_TRUE(WaitFor([&] { return GrabScreen(top).pixels == barBefore; }));
    // The lines run across the green to its edges, in the marks' magenta.
    EXPECT_TRUE(WaitFor([&] { return PixelAt(t.left + 2, middle.y) == 0xFF00FFu && PixelAt(t.left - 2, middle.y) != 0xFF00FFu; }));
    SendMessageW(window, WM_KEYDOWN, '4', 0);
    send(window, WM_LBUTTONUP, middle, MK_SHIFT);
    EXPECT_EQ(ClipboardText(), std::to_wstring(t.bottom - t.top) + L" px");
    SendMessageW(window, WM_KEYDOWN, '1', 0);
    send(window, WM_LBUTTONDOWN, {t.left + 10, t.top + 20});
    send(window, WM_MOUSEMOVE, {t.left + 60, t.top + 40});
    send(window, WM_LBUTTONUP, {t.left + 129, t.top + 64}, MK_SHIFT);
    EXPECT_EQ(ClipboardText(), L"120 \u00D7 45 px");
    SendMessageW(window, WM_CHAR, 3, 0);
    EXPECT_EQ(ClipboardText(), size + L"\r\n" + std::to_wstring(t.bottom - t.top) + L" px\r\n120 \u00D7 45 px");
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(WaitFor([&] { return Laid(false) && BodyPixel(ruler) == 0xFFFFFFu; })) << "the rulers are not back";

    // The control at (x, y) of a window's client area, measured in the controls' way and copied.
    auto controlAt = [&](e2e::Target& in, int x, int y) {
        const RECT c = e2e::ClientRectOnScreen(in.Hwnd());
        window = in.Activate() && WaitFor([&] { return program().target.hwnd == in.Hwnd(); }) ? Measuring('5') : nullptr;
        if (window) send(window, WM_LBUTTONUP, {c.left + x, c.top + y});
        return window ? ClipboardText() : std::wstring(L"(not measured)");
    };
    // The check list, 140 x 70 at (156, 44) of the client area, 8 right of an edit: known to the
    // re-drawing by its toolkit's name only, it is measured whole, not as the rows it tells
    // assistive technology.
    EXPECT_EQ(controlAt(toolkit, 200, 72), L"140 \u00D7 70 px");
    const RECT c = e2e::ClientRectOnScreen(toolkit.Hwnd());
    EXPECT_TRUE(WaitFor([&] { return PixelAt(c.left + 149, c.top + 79) == 0xFF00FFu; })) << "no gap to the edit";
    send(window, WM_RBUTTONUP, {c.left + 200, c.top + 72});
    EXPECT_FALSE(IsWindow(window));
    // A canvas tells its form only to assistive technology: the label in its group, 176 x 20.
    e2e::Target canvas;
    ASSERT_TRUE(canvas.Start(60, 60, 700, 400, L"Canvas", L"/canvas"));
    EXPECT_EQ(controlAt(canvas, 440, 50), L"176 \u00D7 20 px");
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(window) && IsWindowVisible(RulerOf(true)) && Laid(false, canvas.Hwnd()); })) << "the rulers are not back";

    // Across from the black band of grey ones 1, 6, 30, 31, 40 and 41 apart from it, white beyond
    // (testtarget /bands): the tolerance starts at 30, a notch of the wheel changes it by 5, by 1
    // with Shift, parts of a notch add up, and it stays within 0 and 255.
    e2e::Target bands;
    ASSERT_TRUE(bands.Start(100, 50, 300, 200, L"Bands", L"/bands"));
    const POINT black{e2e::ClientRectOnScreen(bands.Hwnd()).left + 80, e2e::ClientRectOnScreen(bands.Hwnd()).top + 50};
    ASSERT_TRUE(WaitFor([&] { return PixelAt(black.x, black.y) == 0 && PixelAt(black.x - 20, black.y) == 0x010101u; }));
    window = Measuring('3');
    for (const auto& [delta, keys, length] : {std::tuple(0, 0, 80), {240, 0, 120}, {-120, MK_SHIFT, 100}, {60, 0, 100}, {60, 0, 140},
                                              {7200, 0, GetSystemMetrics(SM_CXSCREEN)}, {-120, MK_SHIFT, 140}, {-7200, 0, 20}, {120, MK_SHIFT, 40}}) {
        send(window, WM_MOUSEWHEEL, black, MAKEWPARAM(keys, delta));
        EmptyTheClipboard();
        send(window, WM_LBUTTONUP, black);
        EXPECT_EQ(ClipboardText(), std::to_wstring(length) + L" px") << "after " << delta << (keys ? " with Shift" : "");
    }
    send(window, WM_RBUTTONUP, black);
}

// With the transparent look the rulers step aside for the dialog and come back showing what
// lies behind them.
TEST_F(ShellTest, TheTransparentLookShowsTheScreenBehindAndSurvivesTheDialog) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // Started first: the window that comes last to the front is the one the rulers follow.
    e2e::Target red;
    ASSERT_TRUE(red.Start(900, 500, 200, 150, L"Behind", L"/color 255"));
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    const RECT h = e2e::ClientRectOnScreen(RulerOf(true));
    const uint32_t behind = PixelAt(h.left - 8, h.top + 5);  // the desktop beside the ruler
    ASSERT_NE(behind, 0xFFFFFFu);
    Choose(CommandId::TransparentLook);
    EXPECT_NE(IniText().find("TRANSPARENT=TRUE\r\n"), std::string::npos);
    const POINT spot{h.left + 2, h.top + 2};  // the body, left of the first number
    EXPECT_TRUE(WaitFor([&] { return PixelAt(spot.x, spot.y) == behind; }));
    ChooseIn(CommandId::OpenSettings, L"PlumboSettings", [](HWND dlg) { Press(dlg, kOkButton); });
    EXPECT_TRUE(WaitFor([&] { return PixelAt(spot.x, spot.y) == behind; })) << "the rulers came back transparent";
    // The millimetre tick, 3.78 pixels from the scale's zero at the ruler's outer edge.
    EXPECT_TRUE(WaitFor([&] { return PixelAt(WindowRectOf(RulerOf(true)).left + 4, h.bottom - 1) == 0x0000FFu; }))
        << "ticks drawn over what lies behind";
    // What moves behind shows through at once, the ruler never hidden for it.
    SetWindowPos(red.Hwnd(), target_.Hwnd(), h.left - 50, h.top - 60, 300, 200, SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return PixelAt(spot.x, spot.y) == 0xFF0000u; })) << "the change behind did not show";
    EXPECT_TRUE(program().rulers->Shown());
    Choose(CommandId::TransparentLook);
    EXPECT_TRUE(WaitFor([&] { return PixelAt(spot.x, spot.y) == 0xFFFFFFu; }));
}

// ---- The version box and help ----

// A new folder gets the new file's settings and hidden rulers.
TEST_F(ShellTest, ANewFolderStartsHiddenTheVersionBoxHoldsTheProgramAndHelpSaysWhatIsMissing) {
    ASSERT_NO_FATAL_FAILURE(Start(""));
    EXPECT_EQ(IniText(), kNewFile);
    EXPECT_EQ(std::tuple(program().rulers->Shown(), program().commands->IsChecked(CommandId::HideRulers),
                         IsWindowVisible(program().viewer->Window())), std::tuple(false, true, FALSE));
    ChooseIn(CommandId::ShowVersion, L"PlumboAbout", [&](HWND box) {
        const RECT r = WindowRectOf(box), c = e2e::ClientRectOnScreen(box);
        EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1) << "centred";
        // A gradient from pure blue at the top to near black at the bottom.
        EXPECT_TRUE(WaitFor([&] { return PixelAt(c.right - 2, c.top + 1) == 0x0000FFu; }));
        EXPECT_LT(PixelAt(c.right - 2, c.bottom - 2), 0x20u);
        // Its labels are painted: one cut by its edge would leave pixels on its last column or row.
        EXPECT_EQ(WrittenIn({c.right - 1, c.top, c.right, c.bottom}) + WrittenIn({c.left, c.bottom - 1, c.right, c.bottom}), 0);
        EXPECT_FALSE(IsWindowEnabled(program().viewer->Window())) << "the viewer took input under the box";
        PostMessageW(box, WM_CLOSE, 0, 0);
    });

    // Beside the program lies no page: it says so. With the page of either language, a system that has no program
    // for ".html" (Wine's default prefix) is named as such; one that has one says nothing.
    EXPECT_EQ(MessagesWhile([&] { Choose(CommandId::OpenHelp); }), std::vector<std::wstring>{Texts().helpMissing});
    for (const wchar_t* page : {L"\\plHelp.html", L"\\plHelp_en.html"}) ASSERT_TRUE(e2e::WriteFileBytes(dir_ + page, "<html></html>"));
    wchar_t exe[MAX_PATH] = {};
    const bool handled =
        reinterpret_cast<INT_PTR>(FindExecutableW((dir_ + L"\\plHelp.html").c_str(), nullptr, exe)) > 32;
    EXPECT_EQ(MessagesWhile([&] { Choose(CommandId::OpenHelp); }), std::vector<std::wstring>(!handled, Texts().noAssociatedProgram));
}

// Started with Windows, the program shows no splash; started by the user, the version box greets
// him while the rest is made.
std::vector<std::wstring> shownClasses;
TEST_F(ShellTest, StartedWithWindowsItShowsNoSplash) {
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        wchar_t cls[64] = {};
        if (code == HC_ACTION && m->message == WM_SHOWWINDOW && m->wParam && GetClassNameW(m->hwnd, cls, 64))
            shownClasses.push_back(cls);
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    dir_ = e2e::MakeTempDir(L"shell");
    auto splashShown = [&](bool splash) {
        shownClasses.clear();
        Shell shell;
        EXPECT_TRUE(shell.Start(GetModuleHandleW(nullptr), dir_ + L"\\", splash));
        return std::ranges::find(shownClasses, L"PlumboAbout") != shownClasses.end();
    };
    EXPECT_EQ(std::pair(splashShown(false), splashShown(true)), std::pair(false, true));
    UnhookWindowsHookEx(hook);
}

// ---- Pictures ----

// Inside placement: the rulers lie over the target and would show in a picture that took
// them along.
TEST_F(ShellTest, CaptureOpensTheViewer48PixelsOffShowingTheTargetWithoutRulersAndNeverWaitsForIt) {
    ASSERT_NO_FATAL_FAILURE(Start(Ini("255", true, false, true)));
    ASSERT_TRUE(target_.Start(100, 50, 300, 200, L"Captured", L"/color 65280"));
    const RECT t = e2e::ClientRectOnScreen(target_.Hwnd());
    ASSERT_TRUE(WaitFor([&] { return PixelAt(t.left + 5, t.bottom - 5) == 0x00FF00u; }));
    ASSERT_NO_FATAL_FAILURE(RulersAlong(true));
    ASSERT_TRUE(WaitFor([&] { return PixelAt(t.left + 5, t.bottom - 5) == 0xFF0000u; }));

    // A second capture while the first waits for the screen is ignored: it would leave the
    // tracking suspended for good.
    Choose(CommandId::CaptureBitmap);
    ASSERT_TRUE(Shows(CommandId::CaptureBitmap));
    HWND viewer = program().viewer->Window();
    SetForegroundWindow(target_.Hwnd());
    SetWindowPos(target_.Hwnd(), nullptr, 100, 50, 320, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return Laid(true); })) << "tracking did not resume";
    SetWindowPos(target_.Hwnd(), nullptr, 100, 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT outer = WindowRectOf(viewer), client = e2e::ClientRectOnScreen(viewer);
    EXPECT_EQ(std::tuple(outer.left, outer.top, client.right - client.left, client.bottom - client.top),
              std::tuple(148L, 98L, 300L, 200L));
    EXPECT_TRUE(program().rulers->Shown()) << "the rulers are back";
    // The target's client area in the picture is green where the rulers stood.
    const int dx = t.left - 100, dy = t.top - 50;
    Choose(CommandId::HideRulers);
    EXPECT_TRUE(WaitFor([&] {
        return PixelAt(client.left + dx + 5, client.top + dy + (t.bottom - t.top) - 5) == 0x00FF00u &&
               PixelAt(client.left + dx + 5, client.top + dy + 5) == 0x00FF00u;
    })) << "a ruler in the picture";
    // A bitmap shows at its own size: no zoom. The close box only hides the viewer.
    Choose(CommandId::Zoom50);
    EXPECT_EQ(e2e::ClientRectOnScreen(viewer).right - e2e::ClientRectOnScreen(viewer).left, 300);
    // A re-drawing with no window to draw keeps the bitmap as it was.
    program().target.hwnd = nullptr;
    Choose(CommandId::RedrawAsVector);
    Choose(CommandId::Zoom100);
    EXPECT_EQ(e2e::ClientRectOnScreen(viewer).right - e2e::ClientRectOnScreen(viewer).left, 300) << "after a re-drawing";
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(viewer); }) && IsWindow(viewer)) << "hidden, not destroyed";

    // A target that closes before the copy gives no picture, and says so; one that does not
    // answer is not waited for. Either way everything is put back.
    ASSERT_NO_FATAL_FAILURE(RulersAlong(true));
    Choose(CommandId::CaptureBitmap);
    EXPECT_FALSE(program().rulers->Shown()) << "out of the picture's way while it waits";
    target_.Kill();
    const auto said = MessagesWhile([&] { EXPECT_TRUE(WaitFor([&] { return program().rulers->Shown(); })); });
    EXPECT_EQ(said, std::vector<std::wstring>{L"ウインドウが閉じられました。"});
    EXPECT_FALSE(IsWindowVisible(viewer)) << "a picture of a closed window";

    Choose(CommandId::HideRulers);
    e2e::StuckWindow stuck(WS_POPUP | WS_VISIBLE);
    program().target.hwnd = stuck.window;
    // Nor is the compositor asked to draw it, which waits on the program: it answers nothing
    // until the test ends, so a capture that waited for it would show no picture at all. A
    // window over a corner of it keeps it from being copied from the screen, which it would be
    // whole and uncovered, and which asks nothing of the program either.
    const HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE,
                                       140, 100, 40, 40, nullptr, nullptr, nullptr, nullptr);
    bool rendered = false;
    Reports().desktopComposed = [] { return true; };
    Reports().renderFullContent = [&](HWND, HDC) {
        rendered = true;
        return false;
    };
    EXPECT_TRUE(Shows(CommandId::CaptureBitmap)) << "waited for a program that does not answer";
    EXPECT_FALSE(rendered);
    DestroyWindow(cover);
}


// Where another program's child window lies, by its caption or class, relative to the
// window's outer corner.
RECT ControlRect(HWND target, const wchar_t* name) {
    std::pair<const wchar_t*, HWND> search{name, nullptr};
    EnumChildWindows(  // every descendant, frames' children included
        target,
        [](HWND h, LPARAM l) -> BOOL {
            auto& [name, found] = *reinterpret_cast<std::pair<const wchar_t*, HWND>*>(l);
            wchar_t cls[128] = {};
            GetClassNameW(h, cls, 128);
            if (TextOf(h) == name || !wcscmp(cls, name)) found = h;
            return !found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second ? OnFrame(search.second, target) : RECT{};
}

// The frame, in HIMETRIC, is the target's outer size on its monitor: 400 x 300 pixels are
// 10583 x 7938 at 96 dpi, 7056 x 5292 at 144 ("shell.english144" runs it there). Then a
// re-drawing of a window that has stopped answering says so once, in the user's language
// ("shell.english" runs it in English), and the viewer keeps the picture it showed.
TEST_F(ShellTest, AWindowThatStopsAnsweringIsSaidNotRedrawnAndAFrameIsTheTargetsSizeOnItsMonitor) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    auto frame = [&] {
        EXPECT_TRUE(Shows(CommandId::RedrawAsVector));
        return Held();
    };
    const auto [bytes, records, width, height] = frame();
    EXPECT_NEAR(width, 400 * 2540.0 / Dpi(LOGPIXELSX), 1);
    EXPECT_NEAR(height, 300 * 2540.0 / Dpi(LOGPIXELSY), 1);

    // An older program on today's Windows, as the seam stands in for it: unaware of DPI, stretched
    // by the compositor wherever the monitor is not at 96 dpi. It is read in its own pixels, with
    // this thread switched to its awareness for the walk and back after; Wine's target, which
    // really answers in the screen's pixels, then stands for one 96-dpi pixel each, and the
    // picture is as large as a 400 x 300 window at 96 dpi.
    std::vector<int> switches;
    Reports().desktopComposed = [] { return true; };
    Reports().dpiAwareness = [&](HWND w) { return w == target_.Hwnd() ? DpiAwareness::Unaware : DpiAwareness::PerMonitor; };
    Reports().switchThreadAwareness = [&](DpiAwareness a) {
        switches.push_back(static_cast<int>(a));
        return reinterpret_cast<void*>(1);
    };
    Reports().restoreThreadAwareness = [&](void*) { switches.push_back(-1); };
    const auto before = frame();
    EXPECT_NEAR(std::get<2>(before), 400 * 2540.0 / 96, 1);
    EXPECT_NEAR(std::get<3>(before), 300 * 2540.0 / 96, 1);
    const std::vector<int> stretched{static_cast<int>(DpiAwareness::Unaware), -1};
    EXPECT_EQ(switches, Dpi(LOGPIXELSX) == 96 ? std::vector<int>{} : stretched);

    // Hidden, so that nothing of ours ever waits on it.
    e2e::StuckWindow busy(WS_OVERLAPPEDWINDOW);
    program().target = TargetWindow{busy.window, e2e::WindowRectOf(busy.window), SW_SHOWNORMAL};
    const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    const wchar_t* said = japanese ? L"ウインドウが応答していません。応答するようになってから、もう一度実行してください。"
                                   : L"The window is not responding. Try again once it responds.";
    EXPECT_EQ(MessagesWhile([&] { Choose(CommandId::RedrawAsVector); }), std::vector<std::wstring>{said});
    EXPECT_EQ(Held(), before) << "the viewer lost its picture";
}

TEST_F(ShellTest, RedrawDrawsAnotherProgramsControlsWhereTheyAreAndZooms) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(target_.Start(120, 80, 660, 480, L"Redrawn", L"/controls"));
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    ASSERT_TRUE(Shows(CommandId::RedrawAsVector));
    HWND viewer = program().viewer->Window();
    auto client = [&] { return Size(e2e::ClientRectOnScreen(viewer)); };
    EXPECT_EQ(client(), std::pair(660L, 480L));
    EXPECT_TRUE(program().rulers->Shown()) << "the rulers come back";

    // The copy other programs get: each caption (or, for a class no drawer knows, its class
    // name) in its control, a frame's caption on its top line; hidden controls and what lies in
    // a hidden frame left out; a later sibling painted later.
    Choose(CommandId::CopyToClipboard);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto texts = e2e::MetafileTexts(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)));
    CloseClipboard();
    auto drawn = [&](const wchar_t* name) { return std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.text == name; }); };
    for (const wchar_t* name : {L"Push", L"Default", L"Check", L"Auto", L"Three", L"Radio", L"Group", L"Plain static", L"Outer frame",
                                L"Inner frame", L"Inner push", L"Deep", L"Under", L"Over", L"PlumboGadget",
                                L"PlumboTestDocument"}) {
        SCOPED_TRACE(testing::Message() << std::wstring(name));
        const RECT r = ControlRect(target_.Hwnd(), name);
        ASSERT_LT(r.left, r.right) << "no such control";
        ASSERT_NE(drawn(name), texts.end()) << "not drawn";
        const POINT at = drawn(name)->at;
        EXPECT_TRUE(at.x >= r.left - 1 && at.x < r.right && at.y >= r.top - 8 && at.y < r.bottom)
            << at.x << "," << at.y << " outside " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    for (const wchar_t* hidden : {L"Hidden", L"Hidden frame", L"Inside hidden"})
        EXPECT_EQ(drawn(hidden), texts.end()) << std::wstring(hidden);
    EXPECT_LT(drawn(L"Under"), drawn(L"Over"));

    // Zooms size the client from the natural size around the same corner, beyond the screen too;
    // a typed one is asked in a box over the viewer, which takes no input meanwhile; Cancel
    // keeps the zoom.
    const RECT corner = WindowRectOf(viewer);
    struct Zoom { CommandId command; const wchar_t* typed; UINT answer; LONG width, height; };
    for (const Zoom& z : {Zoom{CommandId::Zoom50, nullptr, 0, 330, 240}, Zoom{CommandId::Zoom150, nullptr, 0, 990, 720},
                          Zoom{CommandId::ZoomTyped, L"７５％", IDOK, 495, 360},
                          Zoom{CommandId::ZoomTyped, L"50", IDCANCEL, 495, 360},
                          Zoom{CommandId::ZoomTyped, L"50", WM_CLOSE, 495, 360}, Zoom{CommandId::ZoomTyped, L"300", IDOK, 1980, 1440}}) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(z.command) << " " << (z.typed ? z.typed : L""));
        ChooseWhile(z.command, [&] {
            if (!z.typed) return;
            HWND box = WaitOurs(L"#32770");  // none: the checks below fail, and the box's loop is ended
            EXPECT_EQ(TextOf(GetDlgItem(box, 100)), L"100");
            EXPECT_EQ(GetWindow(box, GW_OWNER), viewer);
            EXPECT_FALSE(IsWindowEnabled(viewer));
            SetWindowTextW(GetDlgItem(box, 100), z.typed);
            PostMessageW(box, z.answer == WM_CLOSE ? WM_CLOSE : WM_COMMAND, z.answer == WM_CLOSE ? 0 : z.answer, 0);
        });
        EXPECT_EQ(std::tuple(client(), WindowRectOf(viewer).left, WindowRectOf(viewer).top),
                  std::tuple(std::pair(z.width, z.height), corner.left, corner.top));
    }
    // Saved by each command through the dialog, named without an extension: each file begins as its format does.
    const std::wstring saved = e2e::MakeTempDir(L"saved") + L"\\picture";
    for (const auto& [command, file, head] : {std::tuple(CommandId::SaveBitmap, L".bmp", "BM"), {CommandId::SaveWindowsMetafile, L".wmf", "\xD7\xCD\xC6\x9A"},
                                              {CommandId::SaveSvg, L".svg", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "}}) {
        ChooseIn(command, L"#32770", [&](HWND dlg) {
            SetDlgItemTextW(dlg, 0x47C, saved.c_str());  // the name's box
            Press(dlg, IDOK);
        });
        EXPECT_TRUE(WaitFor([&] { return e2e::ReadFileBytes(saved + file).starts_with(head); })) << e2e::ReadFileBytes(saved + file).substr(0, 60);
        DeleteFileW((saved + file).c_str());
    }
    RemoveDirectoryW(saved.substr(0, saved.size() - 8).c_str());
}

// ---- Modal windows ----

// While a window of ours waits for an answer, nothing else of ours takes the front: a key brings
// it forward (a message the system made in it included) and is neither run in it nor kept for
// after it; a capture falling due in a dialog or a menu is taken once that has closed; and a
// log-off inside "設定" brings nothing back.
TEST_F(ShellTest, AWindowWaitingForAnAnswerKeepsTheFrontAndALogOffInItBringsNothingBack) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(RulersAlong());
    // A message the system makes: "ヘルプ" finds no page beside the program.
    ChooseWhile(CommandId::OpenHelp, [&] {
        HWND box = WaitOurs(L"#32770");
        SetForegroundWindow(target_.Hwnd());
        ASSERT_TRUE(box && WaitFor([&] { return GetForegroundWindow() == target_.Hwnd(); }));
        PostHotKey(program(), HotKeyAction::Capture);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; })) << "the key left the message behind";
        AnswerMessage();
    });
    EXPECT_TRUE(program().rulers->Shown()) << "captured after the message";

    // A task due after the copy looks, in the loop of the dialog or menu, and closes it.
    for (const auto& [cls, open] : {std::pair<const wchar_t*, std::function<void()>>{
                                        L"PlumboSettings", [&] { Choose(CommandId::OpenSettings); }},
                                    {L"#32768", [&] { program().commands->PopUp(CommandId::ControlMenu, program().mainWindow, {600, 400}); }}}) {
        Choose(CommandId::CaptureBitmap);
        int looks = 0;  // every 10 ms, for 5 s at most, until the copy has fallen due and waits
        std::function<void()> due = [&, cls = cls] {
            if (!ModalScope::Waiting() && ++looks < 500) return RunLater(10, due);
            HWND window = Ours(cls);
            EXPECT_TRUE(window && ModalScope::Waiting() && !IsWindowVisible(program().viewer->Window())) << "captured over the open window";
            if (!window || !PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0)) PostQuitMessage(0);
        };
        RunLater(0, due);
        open();
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == program().viewer->Window(); })) << "no picture after it closed";
    }

    // The program ends inside the dialog's loop: the quit goes on to the main loop.
    RunLater(0, [&] { SendMessageW(program().mainWindow, WM_ENDSESSION, TRUE, 0); });
    static_cast<MainForm*>(program().commands)->Run(CommandId::OpenSettings);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was lost";
    EXPECT_FALSE(IsWindowVisible(RulerOf(true)) || IsWindowVisible(RulerOf(false))) << "a ruler came back";
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'R')) << "a key came back";
}

// Windows 10 and 11 as the seam stands in for them, around a real window of another program:
// invisible resize borders of 7 pixels at its left, right and bottom, and a second window that
// the compositor hides.
TEST_F(ShellTest, OnTodaysWindowsTheVisibleFrameIsMeasuredSizedAndCapturedAndACloakedWindowIsNoTarget) {
    ASSERT_NO_FATAL_FAILURE(Start(Ini("255", true, false, false)));
    e2e::Target cloaked;
    ASSERT_TRUE(target_.Start(300, 200, 400, 300, L"Framed", L"/color 65280"));
    ASSERT_TRUE(cloaked.Start(760, 420, 200, 150, L"Cloaked"));
    auto visible = [&] {
        const RECT r = WindowRectOf(target_.Hwnd());
        return RECT{r.left + 7, r.top, r.right - 7, r.bottom - 7};
    };
    Reports().extendedFrameBounds = [&](HWND w) { return w == target_.Hwnd() ? std::optional(visible()) : std::nullopt; };
    Reports().cloaked = [&](HWND w) { return w == cloaked.Hwnd(); };
    ASSERT_LT(e2e::ClientRectOnScreen(target_.Hwnd()).left, visible().left) << "Wine's own frame is wider than 7";

    // The rulers touch the visible frame, as the screen shows them: the ruler's red and its one
    // grey edge column right beside the target's green.
    Choose(CommandId::ShowRulers);
    SetForegroundWindow(target_.Hwnd());
    const RECT v = visible();
    EXPECT_TRUE(WaitFor([&] { return LaidAlong(v, false); }));
    EXPECT_TRUE(WaitFor([&] { return PixelAt(v.left - 2, v.top + 150) == 0xFF0000u && PixelAt(v.left, v.top + 150) == 0x00FF00u; }));

    // A cloaked window in front is no target, for the keys as for tracking.
    ASSERT_TRUE(cloaked.Activate());
    SendMessageW(TrackingWindow(), kPolledChangeMessage, 0, 0);  // a look made now, not left to the poll
    EXPECT_FALSE(program().rulers->TargetForeground());
    EXPECT_EQ(program().target.hwnd, target_.Hwnd());
    SetForegroundWindow(target_.Hwnd());

    // The size dialog shows and sets the visible size; Windows is given the borders besides.
    Choose(CommandId::UnitPixels);
    ChooseIn(CommandId::SetTargetSize, L"PlumboSize", [&](HWND dlg) {
        EXPECT_EQ(std::pair(TextOf(GetDlgItem(dlg, kWidthBox)), TextOf(GetDlgItem(dlg, kHeightBox))),
                  std::pair(std::wstring(L"386"), std::wstring(L"293")));
        TypeSize(dlg, L"500", L"250");
    });
    EXPECT_EQ(Size(WindowRectOf(target_.Hwnd())), std::pair(514L, 257L));

    // The capture is the visible frame: the viewer's 100 % is its size, and its left column is
    // the target's green, not Wine's frame.
    ASSERT_TRUE(Shows(CommandId::CaptureBitmap));
    const RECT c = e2e::ClientRectOnScreen(program().viewer->Window());
    EXPECT_EQ(Size(c), std::pair(500L, 250L));
    EXPECT_TRUE(WaitFor([&] { return PixelAt(c.left, c.top + 125) == 0x00FF00u; }));

    // Where the compositor draws the desktop, the screen's copy while it shows all of the window;
    // with a corner covered (by the other window, shown and topmost: the viewer hidden for the copy
    // activates the target, which Wine raises), what the compositor renders of the window (here
    // white within the visible frame, black beyond), or where it cannot, the copy.
    Reports().desktopComposed = [] { return true; };
    bool covering = false;
    Reports().cloaked = [&](HWND w) { return w == cloaked.Hwnd() && !covering; };
    for (auto [covered, renders] : {std::pair(false, true), {true, true}, {true, false}}) {
        covering = covered;
        SetWindowPos(cloaked.Hwnd(), covered ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Reports().renderFullContent = [&](HWND, HDC dc) { return renders && PatBlt(dc, 0, 0, 600, 400, BLACKNESS) &&
                                                                 PatBlt(dc, 7, 0, 500, 250, DSTINVERT); };
        Choose(CommandId::CaptureBitmap);
        const uint32_t want = covered && renders ? 0xFFFFFFu : 0x00FF00u;
        EXPECT_TRUE(WaitFor([&] { return PixelAt(c.left, c.top + 125) == want && PixelAt(c.right - 1, c.top + 125) == want; }))
            << covered << renders;
    }
}

}  // namespace
}  // namespace plumbo
