#include "shell/command_line_win.h"

#include <cstdint>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "capture/picture_encoders_win.h"
#include "capture/raster_capture_win.h"
#include "core/texts.h"
#include "platform/dpi_win.h"
#include "platform/files_win.h"
#include "platform/gdi_win.h"
#include "platform/modal_win.h"
#include "platform/profile_write_win.h"
#include "platform/ui_task_win.h"
#include "platform/window_reports_win.h"
#include "vector/redraw_win.h"

namespace plumbo {

namespace {

// Where a run's lines go: the handle its starter gave (a file or a pipe, written in UTF-8), else
// the console of the program that started it. Started from Explorer or a scheduled task there
// is none, and the lines go nowhere: a message box would hold a script up until someone came.
class Console {
public:
    explicit Console(DWORD which) {
        HANDLE given = GetStdHandle(which);
        if (given && given != INVALID_HANDLE_VALUE && GetFileType(given) != FILE_TYPE_UNKNOWN) {
            handle_ = given;
        } else if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED) {
            // ERROR_ACCESS_DENIED: attached already, by the other stream.
            owned_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
            if (owned_ != INVALID_HANDLE_VALUE) handle_ = owned_;
        }
        DWORD mode = 0;
        console_ = handle_ && GetConsoleMode(handle_, &mode);
    }
    ~Console() {
        if (owned_ != INVALID_HANDLE_VALUE) CloseHandle(owned_);
    }
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    bool There() const { return handle_ != nullptr; }

    // The text and a line end, each "\n" as "\r\n".
    void Line(const std::wstring& text) const {
        if (!handle_) return;
        std::wstring crlf;
        for (wchar_t c : text + L"\n") crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
        DWORD done = 0;
        if (console_) {
            WriteConsoleW(handle_, crlf.data(), static_cast<DWORD>(crlf.size()), &done, nullptr);
            return;
        }
        const int n = WideCharToMultiByte(CP_UTF8, 0, crlf.data(), static_cast<int>(crlf.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, crlf.data(), static_cast<int>(crlf.size()), bytes.data(), n, nullptr, nullptr);
        WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    }

private:
    HANDLE handle_ = nullptr;
    HANDLE owned_ = INVALID_HANDLE_VALUE;
    bool console_ = false;
};

int Fail(int code, const std::wstring& line) {
    Console(STD_ERROR_HANDLE).Line(line);
    return code;
}

std::wstring HandleText(HWND h) {
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"0x%08llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
    return text;
}

std::wstring TitleOf(HWND h) {
    // Read from the window's own record: no message goes to a program that may hang.
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(h, title.data(), static_cast<int>(title.size()))));
    return title;
}

std::wstring ClassOf(HWND h) {
    wchar_t name[256] = {};
    GetClassNameW(h, name, static_cast<int>(std::size(name)));
    return name;
}

// The file name of the program a window belongs to; empty where the system will not say.
std::wstring ProcessOf(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &size)) size = 0;
    CloseHandle(process);
    path.resize(size);
    return path.substr(path.find_last_of(L"\\/") + 1);
}

std::wstring Upper(std::wstring s) {
    if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// The visible top-level windows, front to back, the compositor's hidden ones left out.
std::vector<HWND> VisibleWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND h, LPARAM p) {
            if (IsWindowVisible(h) && !IsCloaked(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool Matches(HWND h, const ScriptRequest& r) {
    const std::wstring wanted = Upper(r.which);
    switch (r.choice) {
        case WindowChoice::Title:
            return Upper(TitleOf(h)).find(wanted) != std::wstring::npos;
        case WindowChoice::Class:
            return Upper(ClassOf(h)) == wanted;
        case WindowChoice::Process: {
            // "notepad" finds notepad.exe as well.
            const std::wstring name = Upper(ProcessOf(h));
            return name == wanted || name == wanted + L".EXE";
        }
        default:
            return false;
    }
}

// The window the run is about, or null.
HWND ChosenWindow(const ScriptRequest& r) {
    if (r.choice == WindowChoice::Foreground) return GetForegroundWindow();
    if (r.choice == WindowChoice::Handle) {
        HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(r.handle));
        return IsWindow(h) && IsWindowVisible(h) ? h : nullptr;
    }
    // A minimized match only when no other matches: it cannot be taken.
    HWND minimized = nullptr;
    for (HWND h : VisibleWindows())
        if (Matches(h, r)) {
            if (!IsIconic(h)) return h;
            if (!minimized) minimized = h;
        }
    return minimized;
}

std::wstring ChoiceText(const ScriptRequest& r) {
    switch (r.choice) {
        case WindowChoice::Title: return L"/window \"" + r.which + L"\"";
        case WindowChoice::Class: return L"/class " + r.which;
        case WindowChoice::Process: return L"/process " + r.which;
        default: return L"/hwnd " + HandleText(reinterpret_cast<HWND>(static_cast<uintptr_t>(r.handle)));
    }
}

std::wstring WindowText(HWND h) { return HandleText(h) + L" \"" + TitleOf(h) + L"\""; }

std::wstring ArgumentLine(const ArgumentError& e) {
    const UiTexts& t = Texts();
    switch (e.problem) {
        case ArgumentProblem::UnknownSwitch: return FillIn(t.cliUnknownSwitch, {e.word});
        case ArgumentProblem::MissingValue: return FillIn(t.cliMissingValue, {e.word});
        case ArgumentProblem::BadValue: return FillIn(t.cliBadValue, {e.word, e.other});
        case ArgumentProblem::Conflict: return FillIn(t.cliConflict, {e.word, e.other});
        case ArgumentProblem::Repeated: return FillIn(t.cliRepeated, {e.word});
        case ArgumentProblem::NoRun: return t.cliNoRun;
        case ArgumentProblem::NoOut: return FillIn(t.cliNoOut, {e.word});
        case ArgumentProblem::BadExtension: return FillIn(t.cliBadExtension, {e.word, e.other});
    }
    return t.cliNoRun;
}

int ListWindows() {
    const Console out(STD_OUTPUT_HANDLE);
    for (HWND h : VisibleWindows()) {
        // A tab or a line break in a title would break the line's columns.
        std::wstring title = TitleOf(h);
        for (wchar_t& c : title)
            if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
        out.Line(HandleText(h) + L"\t" + ProcessOf(h) + L"\t" + ClassOf(h) + L"\t" + title);
    }
    return kScriptWritten;
}

// Longest a window may take to answer before a re-drawing gives up on it: the re-drawing asks
// its controls one by one and would give a bare frame.
constexpr UINT kAnswerMs = 5000;

// The picture's file, written as the viewer's "保存" writes it; the main loop ends with the code.
void TakeAndWrite(const ScriptRequest& r) {
    auto end = [](int code, const std::wstring& line = {}) {
        if (!line.empty()) Fail(code, line);
        PostQuitMessage(code);
    };
    HWND target = ChosenWindow(r);
    if (!target)
        return end(kScriptNoWindow, r.choice == WindowChoice::Foreground ? std::wstring(Texts().cliNoForeground)
                                                                         : FillIn(Texts().cliNoWindow, {ChoiceText(r)}));
    // Parked at (-32000, -32000) with no size of its own on the screen.
    if (IsIconic(target)) return end(kScriptNotRead, FillIn(Texts().cliMinimized, {WindowText(target)}));
    const TwipsPerPixel tpp = WindowTwipsPerPixel(target);
    Picture picture;
    std::unique_ptr<const RedrawnParts> parts;
    if (r.run == CommandLineRun::Redraw) {
        if (WindowAnswers(target, kAnswerMs))
            if (std::optional<RedrawResult> result = RedrawWindowAsMeta(target, nullptr, tpp, r.pictures)) {
                picture = std::move(result->picture);
                parts = std::move(result->parts);
            }
    } else {
        picture = CaptureWindowNow(target);
    }
    if (picture.Empty()) return end(kScriptNotRead, FillIn(Texts().cliNotRead, {WindowText(target)}));
    std::vector<uint8_t> bytes;
    DWORD error = 0;
    {
        WindowDc screen(nullptr);
        error = PictureFileBytes(picture, r.format, screen.Get(), tpp, bytes, parts.get());
    }
    auto written = [path = r.out, end](DWORD error) {
        if (error) return end(kScriptNotWritten, FillIn(Texts().cliNotWritten, {path, SystemErrorText(error)}));
        end(kScriptWritten);
    };
    if (error) return written(error);
    ReplaceFileContents(r.out, bytes, written);
}

}  // namespace

std::optional<int> StartScriptRun(const ParsedCommandLine& parsed) {
    UseLanguage(LanguageForUi(GetUserDefaultUILanguage()));
    if (parsed.error) return Fail(kScriptBadArguments, ArgumentLine(*parsed.error));
    const ScriptRequest& r = parsed.request;
    if (r.run == CommandLineRun::List) return ListWindows();
    if (r.run == CommandLineRun::Usage) {
        const Console out(STD_OUTPUT_HANDLE);
        if (out.There())
            out.Line(Texts().cliUsage);
        else
            ModalMessageBox(nullptr, Texts().cliUsage, Texts().messageTitle, MB_OK | MB_ICONINFORMATION);
        return kScriptWritten;
    }
    // Without a delay at once: a timer's least wait would be added to every run.
    if (r.delayMs == 0)
        TakeAndWrite(r);
    else
        RunLater(r.delayMs, [r] { TakeAndWrite(r); });
    return std::nullopt;
}

}  // namespace plumbo
