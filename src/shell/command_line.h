#pragma once
// plumbo.exe's command line: the words Windows hands over, and what a script asks of them. Plain
// C++, so the rules are checked natively; the Win32 side (command_line_win.*) carries them out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/file_formats.h"

namespace plumbo {

// The words of a command line as the C runtime and CommandLineToArgvW split them, program name
// first: white space between words; a quoted stretch keeps its spaces; 2n backslashes before a
// quote give n and the quote opens or closes, 2n+1 give n and a quote of the text; "" within
// quotes is a quote of the text; backslashes elsewhere are themselves. The program name ends at
// the first space or at its closing quote, backslashes and all.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

enum class CommandLineRun {
    Resident,  // no words: the tray program
    Startup,   // "/startup": the tray program started with Windows
    Exit,      // "/exit": asks the running copy to end
    Redraw,
    Capture,
    List,
    Usage,     // "/?", "/h", "/help"
};

// The window a run is about.
enum class WindowChoice { Foreground, Title, Class, Process, Handle };

struct ScriptRequest {
    CommandLineRun run = CommandLineRun::Resident;
    WindowChoice choice = WindowChoice::Foreground;
    std::wstring which;       // the title's text, the class name or the process's file name
    uint64_t handle = 0;      // for WindowChoice::Handle
    uint32_t delayMs = 0;
    std::wstring out;         // as typed; relative to the current folder
    PictureFileFormat format = PictureFileFormat::Emf;
    bool pictures = false;

    bool operator==(const ScriptRequest&) const = default;
};

enum class ArgumentProblem {
    UnknownSwitch,  // word: the switch, or a word that is none
    MissingValue,   // word: the switch
    BadValue,       // word: the switch, other: its value
    Conflict,       // word and other: two switches that do not go together
    Repeated,       // word: a switch given twice
    NoRun,          // no /redraw, /capture, /list or /?
    NoOut,          // word: /redraw or /capture
    BadExtension,   // word: /redraw or /capture, other: the extensions it writes
};

struct ArgumentError {
    ArgumentProblem problem;
    std::wstring word, other;
    bool operator==(const ArgumentError&) const = default;
};

// What the words after the program name ask for. Switches begin with '/' or '-', in any case;
// a value follows as the next word or after a colon ("/out:x.png"). "/exit" and "/startup" pass
// over the words beside them, as the copies that wrote them into shortcuts expect; every other
// run takes only its own switches, each once.
struct ParsedCommandLine {
    ScriptRequest request;
    std::optional<ArgumentError> error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& words);

// The extensions a run writes, as the usage and its refusal name them: ".emf, .wmf, .svg, .png"
// for /redraw, ".bmp, .png" for /capture.
std::wstring ExtensionsFor(CommandLineRun run);

}  // namespace plumbo
