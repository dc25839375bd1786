// Times "plumbo.exe /redraw" of a window of 1,000 accessible push buttons (testtarget.exe
// "/many 1000", another process), from the process's start to the file written, against the same
// re-drawing and file inside a running copy: RedrawWindowAsMeta, the encoder and the safe replace
// called from this process, warm, as the tray copy calls them. What the start costs is told apart:
// a run for a window that does not exist (it starts, reads its command line, looks for the window
// and ends), the same with its line to this program's console, and the floor, the system's own
// cmd.exe started and ended. Both re-drawings read within the program's budget of 1 s.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "capture/picture_encoders_win.h"
#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "platform/files_win.h"
#include "vector/redraw_win.h"
#include "bench_clock.h"


using namespace plumbo;

namespace {

// The run's exit code; -1 when it could not be started or did not end within a minute. Its
// output goes to NUL, as a script's redirected output goes to a file; without that it looks for
// the console of this program, which under Wine costs the most of all.
int Run(const std::wstring& exe, const std::wstring& args, bool console = false) {
    std::wstring line = L"\"" + exe + L"\" " + args;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = console ? nullptr : CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si{.cb = sizeof si, .dwFlags = console ? 0u : STARTF_USESTDHANDLES, .hStdOutput = nul, .hStdError = nul};
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr,
                                        !console, 0, nullptr, nullptr, &si, &pi);
    if (nul) CloseHandle(nul);
    if (!started) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

int RunPlumbo(const std::wstring& args, bool console = false) { return Run(e2e::BinDir() + L"\\plumbo.exe", args, console); }

// The floor: a program of the system's own that starts and ends at once.
int RunBareProgram() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return Run(std::wstring(system) + L"\\cmd.exe", L"/c exit 2");
}

// The same work inside this process: re-drawn, encoded as EMF, put in the file's place.
bool RedrawInProcess(HWND target, const std::wstring& path) {
    const TwipsPerPixel tpp = WindowTwipsPerPixel(target);
    auto result = RedrawWindowAsMeta(target, nullptr, tpp);
    if (!result) return false;
    std::vector<uint8_t> bytes;
    HDC screen = GetDC(nullptr);
    const DWORD error = PictureFileBytes(result->picture, PictureFileFormat::Emf, screen, tpp, bytes, result->parts.get());
    ReleaseDC(nullptr, screen);
    bool written = false;
    if (!error) ReplaceFileContents(path, bytes, [&](DWORD e) { written = e == 0; });
    return written;
}

// The fastest of runs, taking turns: other work on the machine only ever adds time.
}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    e2e::Target target;
    if (!target.Start(0, 0, 760, 480, L"Bench", L"/many 1000")) return 1;
    const std::wstring dir = e2e::MakeTempDir(L"bench"), inProcess = dir + L"\\in-process.emf",
                       script = dir + L"\\script.emf";
    wchar_t handle[24];
    std::swprintf(handle, 24, L"%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(target.Hwnd())));
    Fastest running, started, startOnly, startConsole, bare;
    constexpr int kRuns = 5;
    for (int run = 0; run <= kRuns; ++run) {
        double t0 = Now();
        if (!RedrawInProcess(target.Hwnd(), inProcess)) return 1;
        const double r = Now() - t0;
        t0 = Now();
        if (RunPlumbo(std::wstring(L"/redraw /hwnd ") + handle + L" /out \"" + script + L"\"") != 0) return 1;
        const double s = Now() - t0;
        t0 = Now();
        // A handle no window has: 4 is never one (handles are multiples of 2 above 0x10000 on
        // Windows, and Wine's start at 0x10020).
        if (RunPlumbo(L"/redraw /hwnd 4 /out x.emf") != 2) return 1;
        const double o = Now() - t0;
        t0 = Now();
        if (RunPlumbo(L"/redraw /hwnd 4 /out x.emf", true) != 2) return 1;
        const double c = Now() - t0;
        t0 = Now();
        if (RunBareProgram() != 2) return 1;
        const double b = Now() - t0;
        if (run == 0) continue;  // the first warms both programs up
        running.Add(r);
        started.Add(s);
        startOnly.Add(o);
        startConsole.Add(c);
        bare.Add(b);
    }
    std::printf("redraw of 1000 accessible buttons to an EMF file, fastest of %d (ms)\n", kRuns);
    std::printf("%-40s %10.1f\n", "inside a running copy", running.ms);
    std::printf("%-40s %10.1f\n", "plumbo.exe /redraw, start to exit", started.ms);
    std::printf("%-40s %10.1f\n", "plumbo.exe start and end alone", startOnly.ms);
    std::printf("%-40s %10.1f\n", "the same, its line to this console", startConsole.ms);
    std::printf("%-40s %10.1f\n", "cmd.exe /c exit 2, start and end", bare.ms);
    std::printf("%-40s %10.1f\n", "difference (what the start costs)", started.ms - running.ms);
    for (const std::wstring& f : {inProcess, script}) DeleteFileW(f.c_str());
    RemoveDirectoryW(dir.c_str());
    return 0;
}
