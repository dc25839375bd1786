#include "driver/driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "state/command_ids.h"

namespace e2e {

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L"\\/"));
}

std::wstring MakeTempDir(const wchar_t* tag) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    static int counter = 0;
    for (;;) {
        std::wstring dir = std::wstring(tmp) + L"plumbo-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) +
                           L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(h);
    return out;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    CloseHandle(h);
    return ok;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitFor(const std::function<bool()>& done, int timeoutMs, int stepMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return done();
        Sleep(stepMs);
    }
}

void Pause(int ms) { Sleep(ms); }

bool Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) {
    Kill();
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          dir.empty() ? nullptr : dir.c_str(), &si, &pi_) != FALSE;
}

bool Process::Running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(int timeoutMs) {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void Process::Kill() {
    if (!pi_.hProcess) return;
    if (Running()) {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
    pi_ = {};
}

namespace {
struct FindArgs {
    DWORD pid;
    const wchar_t* cls;
    bool visibleOnly;
    std::vector<HWND>* out;
};
BOOL CALLBACK FindProc(HWND h, LPARAM lp) {
    auto* a = reinterpret_cast<FindArgs*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != a->pid) return TRUE;
    wchar_t cls[128];
    GetClassNameW(h, cls, 128);
    if (a->cls && wcscmp(cls, a->cls) != 0) return TRUE;
    if (a->visibleOnly && !IsWindowVisible(h)) return TRUE;
    a->out->push_back(h);
    return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className, bool visibleOnly) {
    std::vector<HWND> out;
    FindArgs a{pid, className, visibleOnly, &out};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&a));
    return out;
}

HWND WindowOf(DWORD pid, const wchar_t* className, bool visibleOnly) {
    auto v = WindowsOf(pid, className, visibleOnly);
    return v.empty() ? nullptr : v.front();
}

RECT WindowRectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

RECT ClientRectOnScreen(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    POINT o{0, 0};
    ClientToScreen(h, &o);
    OffsetRect(&r, o.x, o.y);
    return r;
}

Plumbo::~Plumbo() {
    // Asked to end as "終了" ends it: under Wine a program that has shown the save dialog
    // does not die of TerminateProcess, and would hold the test's output open.
    if (HWND form = MenuForm()) PostMessageW(form, WM_COMMAND, static_cast<WPARAM>(plumbo::CommandId::Exit), 0);
    proc_.WaitExit(5000);
    proc_.Kill();
    if (!dir_.empty()) {
        for (const wchar_t* f : {L"plumbo.exe", L"plumbo.ini", L"plHelp.html"}) DeleteFileW((dir_ + L"\\" + f).c_str());
        RemoveDirectoryW(dir_.c_str());
    }
}

bool Plumbo::Start(const std::string& iniText) {
    dir_ = MakeTempDir(L"run");
    if (dir_.empty()) return false;
    std::wstring bin = BinDir();
    if (!CopyFileW((bin + L"\\plumbo.exe").c_str(), (dir_ + L"\\plumbo.exe").c_str(), FALSE)) return false;
    CopyFileW((bin + L"\\plHelp.html").c_str(), (dir_ + L"\\plHelp.html").c_str(), FALSE);
    if (!iniText.empty() && !WriteFileBytes(IniPath(), iniText)) return false;
    return proc_.Start(dir_ + L"\\plumbo.exe", L"", dir_);
}

bool Plumbo::WaitResident(int timeoutMs) {
    bool ok = WaitFor(
        [&] {
            return MenuForm() && Viewer() && HorizontalRuler() && VerticalRuler() && FileExists(IniPath()) &&
                   !WindowOf(Pid(), L"PlumboAbout");
        },
        timeoutMs);
    Pause(500);  // the tray icon is drawn by the desktop's own process
    return ok;
}

HWND Plumbo::MenuForm() const { return WindowOf(Pid(), L"PlumboMenuForm"); }
HWND Plumbo::Viewer() const { return WindowOf(Pid(), L"PlumboViewer"); }

HWND Plumbo::HorizontalRuler() const {
    for (HWND h : WindowsOf(Pid(), L"PlumboRuler"))
        if (!GetWindow(h, GW_OWNER)) return h;
    return nullptr;
}

HWND Plumbo::VerticalRuler() const {
    for (HWND h : WindowsOf(Pid(), L"PlumboRuler"))
        if (GetWindow(h, GW_OWNER)) return h;
    return nullptr;
}

void Plumbo::ShowRulersByDoubleClick() {
    Pause(static_cast<int>(GetDoubleClickTime()) + 100);
    POINT p = TrayIconPoint();
    DoubleClick(p.x, p.y);
}

namespace {

// The layout of our menus: true marks a separator.
const std::vector<bool> kControlMenu = {false, false, false, true, false, false, true, false};
const std::vector<bool> kRulerMenu = {false, true, false, false, true, false};
const std::vector<bool> kRulerSetMenu = {false, false, false, false, true, false, false, true, false};

std::vector<HWND> OpenPopupMenus() {
    std::vector<HWND> out;
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, L"#32768", nullptr)) != nullptr)
        if (IsWindowVisible(h)) out.push_back(h);
    return out;
}

// Which item (separators not counted) of an open menu is highlighted, read from the screen:
// -1 when none is. Items are of one height, separators of another, inside a thin border.
int HighlightedItem(HWND popup, const std::vector<bool>& layout) {
    RECT r = WindowRectOf(popup);
    Image img = GrabScreen(r);
    COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    uint32_t want = (GetRValue(hl) << 16) | (GetGValue(hl) << 8) | GetBValue(hl);
    int top = -1, bottom = -1;
    // A row is highlighted when a good part of it has the colour: the icon's tool tip may lie
    // over part of the menu.
    for (int y = 0; y < img.height; ++y) {
        int n = 0;
        for (int x = 0; x < img.width; ++x) n += img.At(x, y) == want;
        if (n > img.width / 4) {
            if (top < 0) top = y;
            bottom = y;
        }
    }
    if (top < 0) return -1;
    int itemHeight = bottom - top + 1;
    int items = 0, seps = 0;
    for (bool sep : layout) (sep ? seps : items)++;
    const int border = 3;
    int sepHeight = seps ? (img.height - 2 * border - items * itemHeight) / seps : 0;
    int y = border, index = 0, best = -1, bestDist = 1 << 30;
    for (bool sep : layout) {
        if (!sep) {
            int d = std::abs(y - top);
            if (d < bestDist) {
                bestDist = d;
                best = index;
            }
            ++index;
        }
        y += sep ? sepHeight : itemHeight;
    }
    return best;
}

// Moves the highlight of an open menu to an item by key, checking on the screen where it
// went: a key pressed while the menu is still starting up may land elsewhere.
bool HighlightItem(HWND popup, const std::vector<bool>& layout, int item) {
    for (int attempt = 0; attempt < 12; ++attempt) {
        int now = HighlightedItem(popup, layout);
        if (now == item) return true;
        PressKey(now < 0 || now < item ? VK_DOWN : VK_UP);
        Pause(120);
    }
    return HighlightedItem(popup, layout) == item;
}

bool WalkOpenMenu(const std::vector<std::vector<bool>>& layouts, const std::vector<int>& path) {
    if (!WaitPopupMenu()) {
        fprintf(stderr, "no pop-up menu opened\n");
        return false;
    }
    Pause(300);
    std::vector<HWND> seen;
    for (size_t level = 0; level < path.size(); ++level) {
        HWND popup = nullptr;
        WaitFor([&] {
            for (HWND h : OpenPopupMenus())
                if (std::find(seen.begin(), seen.end(), h) == seen.end()) popup = h;
            return popup != nullptr;
        });
        if (!popup) {
            fprintf(stderr, "submenu %zu did not open\n", level);
            break;
        }
        seen.push_back(popup);
        if (!HighlightItem(popup, layouts[level], path[level])) {
            fprintf(stderr, "could not highlight item %d of menu level %zu\n", path[level], level);
            break;
        }
        if (level + 1 < path.size()) {
            PressKey(VK_RIGHT);
            Pause(300);
        } else {
            PressKey(VK_RETURN);
            if (WaitNoPopupMenu()) return true;
        }
    }
    fprintf(stderr, "the pop-up menu did not close\n");
    for (int i = 0; i < 3 && OpenPopupMenu(); ++i) {
        PressKey(VK_ESCAPE);
        Pause(200);
    }
    return false;
}
}  // namespace

void ClickTrayIcon(bool right) {
    // Two presses on the icon within the double-click time are a double-click, not two presses.
    static DWORD last = 0;
    DWORD wait = GetDoubleClickTime() + 100;
    DWORD since = GetTickCount() - last;
    if (since < wait) Pause(static_cast<int>(wait - since));
    POINT p = TrayIconPoint();
    Click(p.x, p.y, right);
    last = GetTickCount();
}

bool Plumbo::ChooseControlMenu(int item) {
    ClickTrayIcon(true);
    return WalkOpenMenu({kControlMenu}, {item});
}

bool Plumbo::ClickRulerMenu(HWND ruler, int item) {
    RECT r = WindowRectOf(ruler);
    Click((r.left + r.right) / 2, r.top, true);
    if (!WaitPopupMenu()) return false;
    // The pointer goes down the menu until the item lights up under it, then clicks.
    const RECT m = WindowRectOf(OpenPopupMenu());
    for (int y = m.top + 4; y < m.bottom - 2; y += 3) {
        MoveMouse((m.left + m.right) / 2, y);
        if (WaitFor([&] { return HighlightedItem(OpenPopupMenu(), kRulerMenu) == item; }, 100, 20)) {
            Click((m.left + m.right) / 2, y);
            return WaitNoPopupMenu();
        }
    }
    return false;
}

bool Plumbo::ChooseRulerMenu(HWND ruler, const std::vector<int>& path) {
    // On the ruler's frame: with the transparent look its body lets clicks through.
    RECT r = WindowRectOf(ruler);
    Click((r.left + r.right) / 2, r.top, true);
    return WalkOpenMenu({kRulerMenu, kRulerSetMenu}, path);
}

bool Target::Start(int left, int top, int width, int height, const std::wstring& title,
                   const std::wstring& extraArgs) {
    std::wstring args = std::to_wstring(left) + L" " + std::to_wstring(top) + L" " + std::to_wstring(width) + L" " +
                        std::to_wstring(height) + L" \"" + title + L"\" " + extraArgs;
    if (!proc_.Start(BinDir() + L"\\testtarget.exe", args, BinDir())) return false;
    WaitFor([&] { return (hwnd_ = WindowOf(proc_.Pid(), L"PlumboTestTarget", true)) != nullptr; }, 10000);
    Pause(200);
    return hwnd_ != nullptr;
}

bool Target::Activate() {
    // A click on the caption, as a person brings a window to the front.
    RECT r = WindowRectOf(hwnd_);
    Click(r.left + 60, r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + GetSystemMetrics(SM_CYFRAME));
    return WaitFor([&] { return GetForegroundWindow() == hwnd_; });
}

namespace {
void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        in.mi.dx = MulDiv(x, 65535, w - 1);
        in.mi.dy = MulDiv(y, 65535, h - 1);
    }
    SendInput(1, &in, sizeof in);
}
}  // namespace

void MoveMouse(int x, int y) {
    SetCursorPos(x, y);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    WaitFor([&] {
        POINT p{};
        return GetCursorPos(&p) && p.x == x && p.y == y;
    }, 1000, 10);
}

void Click(int x, int y, bool right) {
    // A second click in the same place within the double-click time would be a double-click
    // (a caption click would maximise the window): wait it out, as a person pausing would.
    static DWORD lastTick = 0;
    static POINT lastPt{-10000, -10000};
    DWORD since = GetTickCount() - lastTick;
    if (since <= GetDoubleClickTime() && std::abs(lastPt.x - x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        std::abs(lastPt.y - y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        Pause(static_cast<int>(GetDoubleClickTime() - since) + 50);
    lastTick = GetTickCount();
    lastPt = {x, y};
    MoveMouse(x, y);
    // The buttons carry the point too: under Wine a press without one has been seen to land
    // where the pointer was before the move (a right press on another window's caption opened
    // that window's system menu).
    constexpr DWORD kAt = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendMouse((right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN) | kAt, x, y);
    Pause(40);
    SendMouse((right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP) | kAt, x, y);
    Pause(100);
}

void DoubleClick(int x, int y) {
    MoveMouse(x, y);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
        Pause(20);
        SendMouse(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
        Pause(60);
    }
    Pause(200);
}

void Drag(int fromX, int fromY, int toX, int toY) {
    MoveMouse(fromX, fromY);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pause(150);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        int x = fromX + (toX - fromX) * i / steps, y = fromY + (toY - fromY) * i / steps;
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
        Pause(40);
    }
    Pause(150);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pause(300);
}

bool ClickAndWait(HWND control, const std::function<bool()>& done) {
    RECT r = WindowRectOf(control);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return WaitFor(done);
}

void PressKey(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pause(30);
}

void PressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    for (WORD vk : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = vk;
        in.push_back(down);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *it;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(up);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Pause(30);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = c;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        Pause(20);
    }
}

namespace {

std::wstring UnixToWindows(std::wstring path) {
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return L"Z:" + path;
}

// Runs a shell command line on the Linux side and gives what it printed. Wine starts Linux
// programs without a process handle to wait on, so the command leaves a file behind when it
// is done (renamed into place, so it is never seen half written).
std::string RunOnLinux(const std::wstring& command) {
    static int counter = 0;
    const std::wstring done =
        L"/tmp/plumbo-keys-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    std::wstring line =
        L"Z:\\bin\\sh -c \"(" + command + L") >" + done + L".part 2>&1; mv " + done + L".part " + done + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return "?";
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    const std::wstring doneFile = UnixToWindows(done);
    if (!WaitFor([&] { return FileExists(doneFile); }, 10000, 10)) return "?";
    std::string out = ReadFileBytes(doneFile);
    DeleteFileW(doneFile.c_str());
    return out;
}

}  // namespace

void XKeys(const std::wstring& keys) { RunOnLinux(L"/usr/bin/xdotool key --delay 60 " + keys); }
std::string XFocus() { return RunOnLinux(L"/usr/bin/xdotool getwindowfocus getwindowname"); }

bool WaitXFocusOn(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    const std::string want = std::string(utf8) + "\n";
    return WaitFor([&] { return XFocus() == want; }, 3000, 0);
}

POINT TrayIconPoint() {
    // The desktop's taskbar lays tray icons out from its right end, 20 pixels apart.
    RECT r = WindowRectOf(FindWindowW(L"Shell_TrayWnd", nullptr));
    return {r.right - 10, (r.top + r.bottom) / 2};
}

HWND OpenPopupMenu() {
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, L"#32768", nullptr)) != nullptr)
        if (IsWindowVisible(h)) return h;
    return nullptr;
}

bool WaitPopupMenu(int timeoutMs) { return WaitFor([] { return OpenPopupMenu() != nullptr; }, timeoutMs); }
bool WaitNoPopupMenu(int timeoutMs) { return WaitFor([] { return OpenPopupMenu() == nullptr; }, timeoutMs); }

std::vector<MetafileText> MetafileTexts(HENHMETAFILE emf) {
    std::vector<MetafileText> out;
    EnumEnhMetaFile(
        nullptr, emf,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM l) -> int {
            if (rec->iType != EMR_EXTTEXTOUTW) return 1;
            const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
            const auto* chars =
                reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(rec) + t->emrtext.offString);
            reinterpret_cast<std::vector<MetafileText>*>(l)->push_back(
                {std::wstring(chars, t->emrtext.nChars), {t->emrtext.ptlReference.x, t->emrtext.ptlReference.y}});
            return 1;
        },
        &out, nullptr);
    return out;
}

Image GrabScreen(const RECT& r) {
    Image img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    if (img.width <= 0 || img.height <= 0) return img;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, img.width, img.height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, img.width, img.height, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = img.width;
    bi.bmiHeader.biHeight = -img.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    img.pixels.resize(static_cast<size_t>(img.width) * img.height);
    GetDIBits(mem, bmp, 0, img.height, img.pixels.data(), &bi, DIB_RGB_COLORS);
    for (auto& p : img.pixels) p &= 0xFFFFFF;
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return img;
}

bool SavePng(const Image& img, const std::wstring& path) {
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = img.width;
    ih.biHeight = -img.height;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    size_t bytes = img.pixels.size() * 4;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = static_cast<DWORD>(fh.bfOffBits + bytes);
    std::string out(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    out.append(reinterpret_cast<const char*>(img.pixels.data()), bytes);
    return WriteFileBytes(path, out);
}

}  // namespace e2e
