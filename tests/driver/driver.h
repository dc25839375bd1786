#pragma once
// Drives the real plumbo.exe in the Wine desktop the way a person does: the mouse on the tray
// icon and the rulers, keys in menus and dialogs; and reads the results from outside.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace e2e {

// The folder of the test executable: plumbo.exe and testtarget.exe lie beside it.
std::wstring BinDir();
std::wstring MakeTempDir(const wchar_t* tag);
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000, int stepMs = 50);

// What the system says of an error, its first line: the reason a message of the program gives.
inline std::wstring SystemReason(DWORD error) {
    wchar_t t[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, t, 512, nullptr);
    return std::wstring(t, wcscspn(t, L"\r\n"));
}
// Whether a text holds each of the parts, in this order.
template <class S> bool Names(const S& text, std::initializer_list<S> parts, size_t at = 0) {
    for (const S& p : parts) {
        at = text.find(p, at);
        if (at == S::npos) return false;
        at += p.size();
    }
    return true;
}

class Process {
public:
    Process() = default;
    ~Process() { Kill(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // output: where its standard output and error go (none: nowhere).
    bool Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
               HANDLE output = nullptr);
    bool Running() const;
    bool WaitExit(int timeoutMs);
    DWORD ExitCode() const {
        DWORD c = STILL_ACTIVE;
        return GetExitCodeProcess(pi_.hProcess, &c) ? c : STILL_ACTIVE;
    }
    // Until its message loop first waits for input (under Wine: ever after).
    bool WaitIdle(int timeoutMs = 5000);
    void Kill();
    DWORD Pid() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_{};
};

// Top-level windows of a process (0: of any) by class (none: any) and title (none: any), in Z
// order; the message-only ones with parent HWND_MESSAGE.
std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className, bool visibleOnly = false,
                            const wchar_t* title = nullptr, HWND parent = nullptr);
HWND WindowOf(DWORD pid, const wchar_t* className, bool visibleOnly = false, const wchar_t* title = nullptr,
              HWND parent = nullptr);
RECT WindowRectOf(HWND h);
// A window's text, asked with a time limit: the window may belong to a program that hangs.
std::wstring TextOf(HWND h);
// A ruler of a program: the vertical one is owned by the horizontal one.
HWND RulerOf(DWORD pid, bool horizontal);
// The message-only window through which a program's rulers follow their target.
HWND TrackingWindowOf(DWORD pid);
// Waits until a press at (x, y) would reach window: a press goes to the window Wine has in
// front at its point, and rulers are stacked above their target again a little after it is
// activated, which under load can be a while.
bool WaitInFrontAt(HWND window, int x, int y);
// A ruler's menu opened by a right click on its middle, once it is in front there.
bool OpenRulerMenu(HWND ruler);
RECT ClientRectOnScreen(HWND h);
// A window's rectangle relative to the outer corner of `frame`, as a metafile of it is laid out.
RECT OnFrame(HWND window, HWND frame);

// A fresh copy of plumbo.exe in its own folder, so each test starts with no settings file.
class Plumbo {
public:
    ~Plumbo();
    // iniText: the settings file to start with; empty leaves the folder without one.
    bool Start(const std::string& iniText = {});
    bool WaitResident(int timeoutMs = 15000);
    bool Running() const { return proc_.Running(); }
    bool WaitExit(int timeoutMs) { return proc_.WaitExit(timeoutMs); }
    DWORD Pid() const { return proc_.Pid(); }
    const std::wstring& Dir() const { return dir_; }
    std::wstring IniPath() const { return dir_ + L"\\plumbo.ini"; }
    HWND MenuForm() const;  // hidden: the tray icon's window
    HWND Viewer() const;
    HWND HorizontalRuler() const { return RulerOf(Pid(), true); }
    HWND VerticalRuler() const { return RulerOf(Pid(), false); }

    // Through the tray icon.
    void ShowRulersByDoubleClick();
    // Right-click the tray icon and choose an item of the control menu by X keys, by its
    // position (separators not counted): 0 表示, 1 非表示, 2 設定, 3 ﾊﾞｰｼﾞｮﾝ情報, 4 ヘルプ, 5 終了.
    bool ChooseControlMenu(int item);
    // Right-click a ruler and click an item of its menu with the mouse.
    bool ClickRulerMenu(HWND ruler, int item);

private:
    std::wstring dir_;
    Process proc_;
};

// A window of another thread of this process that answers no message until this goes, made
// with `style` (WS_VISIBLE for one on the screen); it holds the clipboard meanwhile when asked
// to. The two threads meet on Win32 events: std::latch in MinGW's GCC 12 library, which has no
// futex to wait on, now and then misses a wake-up (seen as a hang about once in 70 runs, the
// thread still waiting after the count reached zero).
struct StuckWindow {
    // The thread is made last of all (its member is the last), once the rest is there, and is
    // joined first.
    explicit StuckWindow(DWORD style, bool holdsClipboard = false)
        : thread([=, this] {
              window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"stuck", style, 40, 40, 120, 80, nullptr,
                                       nullptr, nullptr, nullptr);
              if (holdsClipboard) OpenClipboard(window);
              SetEvent(made.get());
              WaitForSingleObject(release.get(), INFINITE);
              if (holdsClipboard) CloseClipboard();
              DestroyWindow(window);
          }) {
        WaitForSingleObject(made.get(), INFINITE);
    }
    ~StuckWindow() { SetEvent(release.get()); }
    using Event = std::unique_ptr<void, decltype(&CloseHandle)>;
    HWND window = nullptr;
    Event made{CreateEventW(nullptr, TRUE, FALSE, nullptr), CloseHandle};
    Event release{CreateEventW(nullptr, TRUE, FALSE, nullptr), CloseHandle};
    std::jthread thread;
};

// The target program of the tests: a plain window at a given place and size. testtarget32.exe
// is the same built as a 32-bit program.
class Target {
public:
    explicit Target(std::wstring program = L"testtarget.exe") : program_(std::move(program)) {}
    bool Start(int left, int top, int width, int height, const std::wstring& title = L"Plumbo test target",
               const std::wstring& extraArgs = L"");
    HWND Hwnd() const { return hwnd_; }
    DWORD Pid() const { return proc_.Pid(); }
    // Brings it to the front with a click in its client area; true once it is the foreground
    // window, has set its keyboard focus and answers messages again.
    bool Activate();
    void Kill() { proc_.Kill(); }

private:
    std::wstring program_;
    Process proc_;
    HWND hwnd_ = nullptr;
};

// Plumbo resident in the tray, with a settings file of iniText (empty: none), and a target
// titled "Green target" started at (300, 200), 400 x 300, and brought to the front; when asked,
// the rulers are shown by the tray icon before, so that they lay themselves along it.
bool StartWithTarget(Plumbo& app, Target& target, const std::wstring& targetArgs, bool rulers = false,
                     const std::string& iniText = {});

// Input, in screen pixels.
// A move as the mouse makes it, by SendInput alone: after SetCursorPos a move to the same
// point is no move, and Wine then calls no mouse hook.
void MovePointer(int x, int y);
void Click(int x, int y, bool right = false);
void DoubleClick(int x, int y);
// A drag of a window that moves with the pointer in the system's move loop, in ten steps of the
// X server's own pointer: it goes on only once the loop has started, and each step once the
// window has followed the last (under load a drag sent at a person's pace ended before the loop
// had begun). X events, because under Wine SendInput's moves warp the X pointer and under load
// the warp's motion came back late, in the middle of a drag, and carried the ruler off to where
// an earlier click had been. The Wine desktop fills the X screen from its corner, so the points
// are the same. It begins once the X server shows the window at the start (see WaitInFrontAt).
// False, with the button let go, when that, the loop or a step does not come.
bool DragWindow(HWND window, int fromX, int fromY, int toX, int toY);
// Keys pressed in order and let go in the reverse order, by one SendInput: one key, or a chord
// such as Ctrl+Alt+R. The threads of the window in front and of the window under the pointer are
// stopped meanwhile, so that under Wine none of them drops the held keys halfway.
void PressKeys(std::initializer_list<WORD> vks);
void TypeText(const std::wstring& text);

// Runs a shell command line on the Linux side under Wine and gives what it printed, its errors
// too; "?" when it could not be run. A Windows path Z:\x\y is the Linux path /x/y.
std::string RunOnLinux(const std::wstring& command);
// A Linux path in /tmp for this run's scratch files, "/tmp/plumbo-<prefix>-<process id>": Wine
// numbers the processes of each prefix from the same start, so runs side by side in prefixes of
// their own would meet under the process id alone.
std::wstring LinuxScratchPath();

// Keys typed on the X server's keyboard (xdotool names, "Down Down Return"): they reach the X
// window holding the X keyboard focus, by another road than SendInput's.
void XKeys(const std::wstring& keys);
// The title of the X window holding the keyboard, for failure messages.
std::string XFocus();
// Until the X keyboard focus is with a window, told by its title; then keys typed there, if any.
// False, and no key typed, when the focus does not come.
bool WaitXFocusOn(HWND window, const std::wstring& keys = {});

void ClickTrayIcon(bool right);
// The program's icon differs from the bare taskbar around it.
bool TrayIconShown();
// Until that many pop-up menus are on the screen, 0 for none.
bool WaitMenus(size_t open);

// The texts a metafile draws, in order, with their reference points in its logical units and,
// for a clipped text, the rectangle it is cut to (all zero when it is not clipped).
struct MetafileText {
    std::wstring text;
    POINT at;
    RECT clip{};
};
std::vector<MetafileText> MetafileTexts(HENHMETAFILE emf);

// What the test target says it shows ("/lists" and "/bars"): each text, its kind ("line",
// "wrap", "item" or "cut", as in tests/target/shown_texts.h) and its rectangle relative to the
// target's outer corner, as a metafile's units are. Empty when the target wrote nothing in time.
struct ShownText {
    std::wstring kind, text;
    RECT rect;
};
std::vector<ShownText> ShownBy(const Target& target);
// Whether a metafile draws a shown text where it is shown: the text itself ("line"), a text of
// which the one begins the other ("cut"), or the lines it is broken into ("wrap", "item") joined,
// spaces aside; each starting within 2 px of its rectangle and cut within that, an item's lines
// cut to that rectangle itself; or ("at") the text itself, starting there and cut to nothing.
bool DrawnWhereShown(const std::vector<MetafileText>& texts, const ShownText& shown);

// The clipboard's Unicode text; "(held)" while another program holds the clipboard.
std::wstring ClipboardText();
// So that what is read next is a new copy, not a text an earlier step or test left there.
void EmptyTheClipboard();

// Screen pixels as 0x00RRGGBB.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Image GrabScreen(const RECT& r);
// What `draw` paints on a page of `paper` of width x height, in the screen's format, as pixels; it
// is given the page's rectangle.
Image PaintedOn(COLORREF paper, int width, int height, const std::function<void(HDC, const RECT&)>& draw);
// The share of a colour among the pixels of a window's client area on the screen; 0 when it has none.
double ClientShare(HWND window, uint32_t colour);
// Whether the screen shows, somewhere in an area, a text as GDI writes it in a font, in ink on
// plain paper, pixel for pixel.
bool ScreenShowsText(const RECT& area, const std::wstring& text, const LOGFONTW& font, COLORREF ink, COLORREF paper);

}  // namespace e2e
