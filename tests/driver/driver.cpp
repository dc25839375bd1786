#include "driver/driver.h"

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ranges>
#include <sstream>

#include "platform/gdi_win.h"
#include "state/command_ids.h"

namespace e2e {

namespace {

// A mouse event at a point: the buttons carry the point too, as under Wine a press without one
// has been seen to land where the pointer was before the move (a right press on another
// window's caption opened that window's system menu; a press where the last drag ended).
INPUT MouseAt(DWORD flags, int x, int y) {
    INPUT in{INPUT_MOUSE, {}};
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    return in;
}

DWORD lastPressTick = 0;

// Presses and releases at one point, in one SendInput: the system takes a batch whole, so
// under load no pause of ours can come between them (two presses of a double-click sent
// apart were once more than the double-click time apart, and the rulers never showed). None is
// made when the pointer did not get there; the test's own wait for what the presses should
// bring about fails then.
void PressAt(int x, int y, std::initializer_list<DWORD> buttons) {
    SetCursorPos(x, y);
    MovePointer(x, y);
    if (!WaitFor([&] {
            POINT p{};
            return GetCursorPos(&p) && p.x == x && p.y == y;
        }, 5000, 10))
        return;
    // A press within the double-click time of the last one would make a double-click with it (a
    // caption click would maximise the window, a second press on the tray icon show the rulers,
    // whatever was clicked in between): wait it out, as a person pausing would. The pointer waits
    // where it presses next: resting on the tray icon it would bring up the icon's tip, a window
    // that comes and goes while a test looks at the screen.
    const DWORD since = GetTickCount() - lastPressTick;
    const DWORD wait = GetDoubleClickTime() + 100;
    if (since < wait) Sleep(static_cast<int>(wait - since));
    std::vector<INPUT> in;
    for (DWORD button : buttons) in.push_back(MouseAt(button, x, y));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    lastPressTick = GetTickCount();
}

// The tray icon of the program: the first icon at the right end of the taskbar, which lays
// tray icons out from its right end, 20 pixels apart.
POINT TrayIconPoint() {
    RECT r = WindowRectOf(FindWindowW(L"Shell_TrayWnd", nullptr));
    return {r.right - 10, (r.top + r.bottom) / 2};
}

// The pop-up menus on the screen, front to back: a submenu before the menu it opened from.
std::vector<HWND> OpenMenus() {
    std::vector<HWND> open;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"#32768", nullptr)) != nullptr;)
        if (IsWindowVisible(h)) open.push_back(h);
    return open;
}

}  // namespace

void MovePointer(int x, int y) {
    INPUT in = MouseAt(0, x, y);
    SendInput(1, &in, sizeof in);
}

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    const std::wstring p(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return p.substr(0, p.find_last_of(L"\\/"));
}

std::wstring MakeTempDir(const wchar_t* tag) {
    // Wine gives out process ids again, and a failed run may leave its folder behind.
    static int counter = 0;
    const std::wstring stem = (std::filesystem::temp_directory_path() / L"plumbo-").wstring() + tag + L"-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-";
    for (;;) {
        const std::wstring dir = stem + std::to_wstring(++counter);
        if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitFor(const std::function<bool()>& done, int timeoutMs, int stepMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        // This thread's own windows (a program started in the test process) go on working.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(stepMs), QS_ALLINPUT);
    }
}

bool Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir, HANDLE output) {
    Kill();
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{.cb = sizeof si, .dwFlags = output ? STARTF_USESTDHANDLES : 0u, .hStdOutput = output,
                    .hStdError = output};
    return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                          dir.empty() ? nullptr : dir.c_str(), &si, &pi_) != FALSE;
}

bool Process::Running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Process::WaitIdle(int timeoutMs) { return pi_.hProcess && WaitForInputIdle(pi_.hProcess, timeoutMs) == 0; }

bool Process::WaitExit(int timeoutMs) { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0; }

void Process::Kill() {
    if (!pi_.hProcess) return;
    if (Running() && TerminateProcess(pi_.hProcess, 1)) WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
    pi_ = {};
}

std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className, bool visibleOnly, const wchar_t* title,
                            HWND parent) {
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = FindWindowExW(parent, h, className, title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if ((!pid || owner == pid) && (!visibleOnly || IsWindowVisible(h))) found.push_back(h);
    }
    return found;
}

HWND WindowOf(DWORD pid, const wchar_t* className, bool visibleOnly, const wchar_t* title, HWND parent) {
    auto v = WindowsOf(pid, className, visibleOnly, title, parent);
    return v.empty() ? nullptr : v.front();
}

HWND TrackingWindowOf(DWORD pid) { return WindowOf(pid, L"PlumboTracking", false, nullptr, HWND_MESSAGE); }

RECT WindowRectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

RECT ClientRectOnScreen(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT OnFrame(HWND window, HWND frame) {
    RECT r = WindowRectOf(window);
    const RECT outer = WindowRectOf(frame);
    OffsetRect(&r, -outer.left, -outer.top);
    return r;
}

Plumbo::~Plumbo() {
    // Asked to end as "終了" ends it: under Wine a program that has shown the save dialog
    // does not die of TerminateProcess, and would hold the test's output open.
    if (HWND form = MenuForm()) PostMessageW(form, WM_COMMAND, static_cast<WPARAM>(plumbo::CommandId::Exit), 0);
    proc_.WaitExit(5000);
    proc_.Kill();
    std::error_code ignored;  // a folder left behind is no failure of the test
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

bool Plumbo::Start(const std::string& iniText) {
    // Each step that can fail says so with the system's reason: a start that fails is rare
    // enough that its cause must be read from the one run that shows it.
    auto failed = [](const char* step) {
        std::fprintf(stderr, "Plumbo::Start: %s failed, error %lu\n", step, GetLastError());
        return false;
    };
    dir_ = MakeTempDir(L"run");
    if (dir_.empty()) return failed("making its folder");
    if (!CopyFileW((BinDir() + L"\\plumbo.exe").c_str(), (dir_ + L"\\plumbo.exe").c_str(), FALSE))
        return failed("copying plumbo.exe");
    if (!iniText.empty() && !WriteFileBytes(IniPath(), iniText)) return failed("writing plumbo.ini");
    return proc_.Start(dir_ + L"\\plumbo.exe", L"", dir_) || failed("starting plumbo.exe");
}

bool Plumbo::WaitResident(int timeoutMs) {
    // The icon is drawn by the desktop's own process, after our windows are made.
    return WaitFor([&] { return MenuForm() && Viewer() && HorizontalRuler() && VerticalRuler() && FileExists(IniPath()) &&
                                !WindowOf(Pid(), L"PlumboAbout") && TrayIconShown(); }, timeoutMs);
}

bool TrayIconShown() {
    const POINT p = TrayIconPoint();
    const Image img = GrabScreen({p.x - 8, p.y - 8, p.x + 8, p.y + 8});
    return std::count(img.pixels.begin(), img.pixels.end(), img.pixels.front()) < static_cast<long>(img.pixels.size()) - 20;
}

HWND Plumbo::MenuForm() const { return WindowOf(Pid(), L"PlumboMenuForm"); }
HWND Plumbo::Viewer() const { return WindowOf(Pid(), L"PlumboViewer"); }

HWND RulerOf(DWORD pid, bool horizontal) {
    // The vertical ruler is owned by the horizontal one. Under Wine it is let go for a moment
    // each time the two are stacked again, so the pair is read when that moment has passed.
    // Looked at once before waiting: a wait pumps this thread's messages, which an in-process
    // test's own rulers must not see at every look.
    HWND found = nullptr;
    auto pair = [&] {
        const std::vector<HWND> rulers = WindowsOf(pid, L"PlumboRuler");
        for (HWND v : rulers)
            if (HWND h = GetWindow(v, GW_OWNER); std::find(rulers.begin(), rulers.end(), h) != rulers.end())
                return (found = horizontal ? h : v) != nullptr;
        return false;
    };
    if (!pair()) WaitFor(pair, 5000, 10);
    return found;
}

std::wstring TextOf(HWND h) {
    wchar_t buf[512] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &n);
    return std::wstring(buf, n);
}

void Plumbo::ShowRulersByDoubleClick() { DoubleClick(TrayIconPoint().x, TrayIconPoint().y); }

void ClickTrayIcon(bool right) { Click(TrayIconPoint().x, TrayIconPoint().y, right); }

bool Plumbo::ChooseControlMenu(int item) {
    ClickTrayIcon(true);
    if (!WaitMenus(1)) return false;
    // The first Down lights the first item.
    std::wstring keys;
    for (int i = 0; i <= item; ++i) keys += L"Down ";
    XKeys(keys + L"Return");
    return WaitMenus(0);
}

bool WaitInFrontAt(HWND window, int x, int y) {
    // Wine keeps a Z order of its own, and under Wine an activated window is raised on the X
    // server by a request of its own program, which may come after our rulers were stacked: a
    // press goes where the X server says.
    // Past Wine's drive for the Linux root, "Z:".
    const std::wstring script = std::filesystem::path(BinDir()).generic_wstring().substr(2) +
                                L"/x_window_at.py " + std::to_wstring(x) + L" " + std::to_wstring(y);
    return WaitFor([&] {
        if (WindowFromPoint({x, y}) != window) return false;
        // The rectangle of the window the X server shows at the point.
        std::istringstream out(RunOnLinux(L"/usr/bin/python3 " + script));
        int left = 0, top = 0, width = 0, height = 0;
        if (!(out >> left >> top >> width >> height)) return false;
        const RECT shown{left, top, left + width, top + height};
        const RECT rect = WindowRectOf(window);
        return EqualRect(&shown, &rect) != FALSE;
    });
}

bool OpenRulerMenu(HWND ruler) {
    const RECT r = WindowRectOf(ruler);
    if (!WaitInFrontAt(ruler, (r.left + r.right) / 2, r.top)) return false;
    Click((r.left + r.right) / 2, r.top, true);
    return WaitMenus(1);
}

bool Plumbo::ClickRulerMenu(HWND ruler, int item) {
    if (!OpenRulerMenu(ruler)) return false;
    // Under Wine another program's menu cannot be asked where its items lie: they are found on
    // a picture of it, each as the run of rows holding the menu's text colour (a line of text
    // may have a gap of a row or two; separators and the frame are of other colours), once the
    // picture shows that many.
    const RECT m = WindowRectOf(OpenMenus().front());
    const COLORREF c = GetSysColor(COLOR_MENUTEXT);
    const COLORREF text = RGB(GetBValue(c), GetGValue(c), GetRValue(c));  // as read
    auto lines = [&] {
        const Image img = GrabScreen(m);
        std::vector<std::pair<int, int>> found;  // the first and last row of each line of text
        for (int y = 0; y < img.height; ++y) {
            if (std::count(img.pixels.begin() + y * img.width, img.pixels.begin() + (y + 1) * img.width, text) == 0) continue;
            if (found.empty() || y - found.back().second > 3) found.emplace_back(y, y);
            found.back().second = y;
        }
        return found;
    };
    std::vector<std::pair<int, int>> found;
    if (!WaitFor([&] { return (found = lines()).size() > static_cast<size_t>(item); })) return false;
    Click((m.left + m.right) / 2, m.top + (found[item].first + found[item].second) / 2);
    return WaitMenus(0);
}

bool Target::Start(int left, int top, int width, int height, const std::wstring& title,
                   const std::wstring& extraArgs) {
    std::wstring args = std::to_wstring(left) + L" " + std::to_wstring(top) + L" " + std::to_wstring(width) + L" " +
                        std::to_wstring(height) + L" \"" + title + L"\" " + extraArgs;
    if (!proc_.Start(BinDir() + L"\\" + program_, args, BinDir())) return false;
    WaitFor([&] { return (hwnd_ = WindowOf(proc_.Pid(), L"PlumboTestTarget", true)) != nullptr; }, 10000);
    // Painted and waiting for input, so its first paints do not land on what a test reads.
    return hwnd_ && proc_.WaitIdle();
}

bool Target::Activate() {
    // A click in its client area's upper right corner, as a person brings a window to the front,
    // away from rulers laid along it, inside or out. Not on its caption: there Wine starts the
    // window's move loop, which under load began after the click had been released, held the
    // mouse, and took the next press meant for a ruler.
    const RECT r = ClientRectOnScreen(hwnd_);
    Click(r.right - 4, r.top + 4);
    // Done only once its thread has set its keyboard focus and answers a message: under Wine
    // that is when it asks the X server to raise it and to give it the X focus, which under load
    // came after the screen had been seen to show the rulers above it, and after a ruler's menu
    // had taken the focus. (WaitForInputIdle tells nothing here: Wine signals it for good the
    // first time a program waits for input.)
    const DWORD thread = GetWindowThreadProcessId(hwnd_, nullptr);
    auto focused = [&] {
        GUITHREADINFO info{.cbSize = sizeof(GUITHREADINFO)};
        return GetForegroundWindow() == hwnd_ && GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr;
    };
    return WaitFor(focused) && SendMessageTimeoutW(hwnd_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr) != 0;
}

bool StartWithTarget(Plumbo& app, Target& target, const std::wstring& targetArgs, bool rulers,
                     const std::string& iniText) {
    if (!app.Start(iniText) || !app.WaitResident()) return false;
    if (!target.Start(300, 200, 400, 300, L"Green target", targetArgs)) return false;
    if (rulers) app.ShowRulersByDoubleClick();
    return target.Activate();
}

void Click(int x, int y, bool right) {
    const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    PressAt(x, y, {down, right ? DWORD{MOUSEEVENTF_RIGHTUP} : DWORD{MOUSEEVENTF_LEFTUP}});
}

void DoubleClick(int x, int y) {
    PressAt(x, y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

bool DragWindow(HWND window, int fromX, int fromY, int toX, int toY) {
    auto inMoveLoop = [&] {
        GUITHREADINFO info{.cbSize = sizeof(GUITHREADINFO)};
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMOVESIZE) &&
               info.hwndMoveSize == window;
    };
    auto xMoveTo = [](int x, int y) { return L" mousemove --sync " + std::to_wstring(x) + L" " + std::to_wstring(y); };
    const RECT start = WindowRectOf(window);
    if (!WaitInFrontAt(window, fromX, fromY)) return false;
    RunOnLinux(L"/usr/bin/xdotool" + xMoveTo(fromX, fromY) + L" mousedown 1");
    bool followed = WaitFor(inMoveLoop);
    for (int i = 1; i <= 10 && followed; ++i) {
        const int dx = (toX - fromX) * i / 10;
        const int dy = (toY - fromY) * i / 10;
        RunOnLinux(L"/usr/bin/xdotool" + xMoveTo(fromX + dx, fromY + dy));
        followed = WaitFor([&] {
            const RECT r = WindowRectOf(window);
            return r.left - start.left == dx && r.top - start.top == dy;
        });
    }
    RunOnLinux(L"/usr/bin/xdotool mouseup 1");
    return WaitFor([&] { return !inMoveLoop(); }) && followed;
}

void PressKeys(std::initializer_list<WORD> vks) {
    std::vector<INPUT> in(vks.size() * 2, INPUT{INPUT_KEYBOARD, {}});
    size_t down = 0, up = in.size();
    for (WORD vk : vks) {
        in[down++].ki.wVk = vk;
        in[--up].ki = KEYBDINPUT{vk, 0, KEYEVENTF_KEYUP, 0, 0};
    }
    // Under Wine a thread that handles an X focus or crossing event sets the whole key state to
    // the X keyboard's (its KeymapNotify), where injected keys are up. Each pointer move warps
    // the X pointer, which makes such events for the window under it, and that window's thread
    // may handle them only after the mover has gone on: in a loop of a click on another
    // program's window and Ctrl+Alt+C, one chord in 200 to 400 lost its Ctrl and its hotkey never
    // came. Those threads stand still while the keys go in (none lost in 20 000), and what they
    // handle afterwards finds the keys up on both sides. They are the threads, of other processes,
    // of the window in front and of the window under the pointer: the ones the X server gives
    // focus and crossing events to (one thread of both is stopped twice, and resumed twice).
    POINT pointer{};
    GetCursorPos(&pointer);
    std::vector<HANDLE> stopped;
    for (HWND window : {GetForegroundWindow(), WindowFromPoint(pointer)}) {
        DWORD pid = 0;
        const DWORD id = window ? GetWindowThreadProcessId(window, &pid) : 0;
        if (!id || pid == GetCurrentProcessId()) continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, id);
        if (thread && SuspendThread(thread) != static_cast<DWORD>(-1)) stopped.push_back(thread);
        else if (thread) CloseHandle(thread);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    for (HANDLE thread : stopped) {
        ResumeThread(thread);
        CloseHandle(thread);
    }
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> in(text.size() * 2, INPUT{INPUT_KEYBOARD, {}});
    for (size_t i = 0; i < in.size(); ++i)
        in[i].ki = KEYBDINPUT{0, text[i / 2], static_cast<DWORD>(KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0)), 0, 0};
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

std::wstring LinuxScratchPath() {
    wchar_t prefix[1024] = {};
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
    return L"/tmp/plumbo-" + std::to_wstring(std::hash<std::wstring>{}(prefix) % 1000000007) + L"-" +
           std::to_wstring(GetCurrentProcessId());
}

// Wine starts Linux programs without a process handle to wait on, so the command leaves a file
// behind when it is done (renamed into place, so it is never seen half written).
std::string RunOnLinux(const std::wstring& command) {
    static int counter = 0;
    const std::wstring done = LinuxScratchPath() + L"-linux-" + std::to_wstring(++counter);
    std::wstring line =
        L"Z:\\bin\\sh -c \"(" + command + L") >" + done + L".part 2>&1; mv " + done + L".part " + done + L"\"";
    STARTUPINFOW si{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return "?";
    // For a Linux program Wine 8 gives no process handle, and a thread handle and ids taken from
    // its own stack: closing that "handle" could close one of ours.
    if (pi.hProcess) {
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    const std::wstring doneFile = std::filesystem::path(L"Z:" + done).make_preferred().wstring();
    if (!WaitFor([&] { return FileExists(doneFile); }, 10000, 10)) return "?";
    std::string out = ReadFileBytes(doneFile);
    DeleteFileW(doneFile.c_str());
    return out;
}

void XKeys(const std::wstring& keys) { RunOnLinux(L"/usr/bin/xdotool key --delay 60 " + keys); }
std::string XFocus() { return RunOnLinux(L"/usr/bin/xdotool getwindowfocus getwindowname"); }

bool WaitXFocusOn(HWND window, const std::wstring& keys) {
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, TextOf(window).c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    const std::string want = std::string(utf8) + "\n";
    if (!WaitFor([&] { return XFocus() == want; }, 3000)) return false;
    if (!keys.empty()) XKeys(keys);
    return true;
}

bool WaitMenus(size_t open) { return WaitFor([&] { return OpenMenus().size() == open; }, 3000); }

std::vector<MetafileText> MetafileTexts(HENHMETAFILE emf) {
    std::vector<MetafileText> out;
    EnumEnhMetaFile(
        nullptr, emf,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM l) -> int {
            if (rec->iType != EMR_EXTTEXTOUTW) return 1;
            const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
            const auto* chars =
                reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(rec) + t->emrtext.offString);
            const RECTL& c = t->emrtext.rcl;
            const RECT clip = (t->emrtext.fOptions & ETO_CLIPPED) ? RECT{c.left, c.top, c.right, c.bottom} : RECT{};
            reinterpret_cast<std::vector<MetafileText>*>(l)->push_back(
                {std::wstring(chars, t->emrtext.nChars), {t->emrtext.ptlReference.x, t->emrtext.ptlReference.y}, clip});
            return 1;
        },
        &out, nullptr);
    return out;
}

std::vector<ShownText> ShownBy(const Target& target) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / (L"plumbo-shown-" + std::to_wstring(target.Pid()) + L".txt");
    if (!WaitFor([&] { return FileExists(path); })) return {};
    const std::string bytes = ReadFileBytes(path);
    DeleteFileW(path.c_str());
    std::wstring all(bytes.size(), L'\0');
    all.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), all.data(),
                                   static_cast<int>(all.size())));
    const RECT outer = WindowRectOf(target.Hwnd());
    std::vector<ShownText> shown;
    std::wistringstream lines(all);
    for (std::wstring line; std::getline(lines, line);) {
        const size_t a = line.find(L'\t'), b = line.rfind(L'\t');
        ShownText& s = shown.emplace_back(ShownText{line.substr(0, a), line.substr(a + 1, b - a - 1), {}});
        std::wistringstream(line.substr(b + 1)) >> s.rect.left >> s.rect.top >> s.rect.right >> s.rect.bottom;
        OffsetRect(&s.rect, -outer.left, -outer.top);
    }
    return shown;
}

bool DrawnWhereShown(const std::vector<MetafileText>& texts, const ShownText& shown) {
    const RECT& r = shown.rect;
    auto within = [](LONG value, LONG low, LONG high) { return value >= low - 2 && value <= high + 2; };
    auto edge = [](LONG value, LONG want) { return std::abs(value - want) <= 2; };
    auto letters = std::views::filter([](wchar_t c) { return !std::iswspace(c); });
    std::wstring joined;
    for (const MetafileText& t : texts) {
        const RECT& c = t.clip;
        // A text placed at a point, not cut to a box: a group box's caption on its top line.
        if (shown.kind == L"at" && t.text == shown.text && within(t.at.x, r.left, r.right) && within(t.at.y, r.top, r.bottom)) return true;
        const bool cut = shown.kind == L"item"
                             ? edge(c.left, r.left) && edge(c.top, r.top) && edge(c.right, r.right) &&
                                   edge(c.bottom, r.bottom)
                             : within(c.left, r.left, r.right) && within(c.right, r.left, r.right) &&
                                   within(c.top, r.top, r.bottom) && within(c.bottom, r.top, r.bottom);
        if (!cut || c.right <= c.left || !within(t.at.x, r.left, r.right) || !within(t.at.y, r.top, r.bottom))
            continue;
        const bool begins = !t.text.empty() && (shown.text.starts_with(t.text) || t.text.starts_with(shown.text));
        if (shown.kind == L"line" ? t.text == shown.text : shown.kind == L"cut" && begins) return true;
        joined += t.text;
    }
    return shown.kind != L"line" && std::ranges::equal(joined | letters, shown.text | letters);
}

namespace {

// The pixels of an area of a device context, as 0x00RRGGBB.
Image PixelsOf(HDC from, const RECT& r) {
    Image img{r.right - r.left, r.bottom - r.top, {}};
    if (img.width <= 0 || img.height <= 0) return img;
    BITMAPINFO bi{{sizeof bi.bmiHeader, img.width, -img.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};  // rows top down
    void* bits = nullptr;
    plumbo::MemoryDc mem(from);
    plumbo::Bitmap dib(CreateDIBSection(from, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    plumbo::SelectGuard select(mem.Get(), dib.Get());
    BitBlt(mem.Get(), 0, 0, img.width, img.height, from, r.left, r.top, SRCCOPY);
    GdiFlush();
    img.pixels.resize(static_cast<size_t>(img.width) * img.height);
    if (bits) std::copy_n(static_cast<const uint32_t*>(bits), img.pixels.size(), img.pixels.begin());
    for (auto& p : img.pixels) p &= 0xFFFFFF;
    return img;
}

}  // namespace

Image GrabScreen(const RECT& r) { return PixelsOf(plumbo::WindowDc(nullptr).Get(), r); }

Image PaintedOn(COLORREF paper, int width, int height, const std::function<void(HDC, const RECT&)>& draw) {
    plumbo::WindowDc screen(nullptr);
    plumbo::MemoryDc dc(screen.Get());
    plumbo::Bitmap page(CreateCompatibleBitmap(screen.Get(), width, height));
    plumbo::SelectGuard select(dc.Get(), page.Get());
    const RECT all{0, 0, width, height};
    SetDCBrushColor(dc.Get(), paper);
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    draw(dc.Get(), all);
    return PixelsOf(dc.Get(), all);
}

double ClientShare(HWND window, uint32_t colour) {
    const Image img = GrabScreen(ClientRectOnScreen(window));
    return std::ranges::count(img.pixels, colour) / (img.pixels.size() + 1e-9);  // none of none: 0
}

bool ScreenShowsText(const RECT& area, const std::wstring& text, const LOGFONTW& font, COLORREF ink, COLORREF paper) {
    plumbo::Font chosen(CreateFontIndirectW(&font));
    plumbo::MemoryDc measure(nullptr);
    plumbo::SelectGuard measured(measure.Get(), chosen.Get());
    SIZE size{};
    GetTextExtentPoint32W(measure.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    const Image want = PaintedOn(paper, size.cx, size.cy, [&](HDC dc, const RECT&) {
        plumbo::SelectGuard selectFont(dc, chosen.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ink);
        TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    });
    const Image shown = GrabScreen(area);
    const int all = static_cast<int>(want.pixels.size());
    for (int y = 0; all && y + want.height <= shown.height; ++y) {
        for (int x = 0; x + want.width <= shown.width; ++x) {
            int same = 0;
            while (same < all && shown.At(x + same % want.width, y + same / want.width) == want.pixels[same]) ++same;
            if (same == all) return true;
        }
    }
    return false;
}

void EmptyTheClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(held)";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
        text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

}  // namespace e2e
