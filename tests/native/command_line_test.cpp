// plumbo.exe's command line: its words as Windows' own rules split them, and what each asks for.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "rows.h"

namespace plumbo {
namespace {

TEST(CommandLine, WordsAreSplitAsTheCRuntimeSplitsThem) {
    // The examples of Microsoft's "Parsing C++ command-line arguments", and program names.
    const struct { const wchar_t* line; std::vector<std::wstring> want; } rows[] = {
        {LR"(p "a b c" d e)", {L"p", L"a b c", L"d", L"e"}},
        {LR"(p "ab\"c" "\\" d)", {L"p", LR"(ab"c)", LR"(\)", L"d"}},
        {LR"(p a\\\b d"e f"g h)", {L"p", LR"(a\\\b)", L"de fg", L"h"}},
        {LR"(p a\\\"b c d)", {L"p", LR"(a\"b)", L"c", L"d"}},
        {LR"(p a\\\\"b c" d e)", {L"p", LR"(a\\b c)", L"d", L"e"}},
        {LR"(p a"b"" c d)", {L"p", LR"(ab" c d)"}},
        {LR"("C:\Program Files\Plumbo\plumbo.exe"  /out	"C:\My Pictures\x.svg")",
         {LR"(C:\Program Files\Plumbo\plumbo.exe)", L"/out", LR"(C:\My Pictures\x.svg)"}},
        {LR"(C:\a\"b /list "unclosed)", {LR"(C:\a\"b)", L"/list", L"unclosed"}},
        {L"plumbo.exe", {L"plumbo.exe"}},
    };
    ExpectRows(rows, [](auto& r) { return SplitCommandLine(r.line); });
}

// A run told in a line: its kind, the window, the delay, the file and its format; or the problem.
std::wstring Told(const ParsedCommandLine& p) {
    static const wchar_t* runs[] = {L"resident", L"startup", L"exit", L"redraw", L"capture", L"list", L"usage"};
    static const wchar_t* choices[] = {L"front", L"title", L"class", L"process", L"hwnd"};
    static const wchar_t* formats[] = {L"bmp", L"emf", L"wmf", L"png", L"svg"};
    static const wchar_t* problems[] = {L"unknown", L"missing", L"bad", L"conflict", L"twice", L"norun", L"noout", L"ext"};
    if (p.error)
        return problems[static_cast<int>(p.error->problem)] + (L' ' + p.error->word) + L' ' + p.error->other;
    std::wostringstream s;
    const ScriptRequest& r = p.request;
    s << runs[static_cast<int>(r.run)];
    if (r.run == CommandLineRun::Redraw || r.run == CommandLineRun::Capture)
        s << L' ' << choices[static_cast<int>(r.choice)] << L'=' << r.which << (r.handle ? std::to_wstring(r.handle) : L"") << L' '
          << r.delayMs << L' ' << r.out << L' ' << formats[static_cast<int>(r.format)] << (r.pictures ? L" pictures" : L"");
    return s.str();
}

TEST(CommandLine, SwitchesInAnyCaseWithSlashOrDashEachOnceAndTheExtensionGivesTheFormat) {
    const struct { std::vector<std::wstring> words; std::wstring want; } rows[] = {
        {{}, L"resident"},
        {{L"/StartUp", L"/bogus"}, L"startup"},
        {{L"/redraw", L"-EXIT"}, L"exit"},
        {{L"/redraw", L"/window", L"Plumbo test", L"/out", L"x.svg"}, L"redraw title=Plumbo test 0 x.svg svg"},
        {{L"-CAPTURE", L"-Hwnd", L"0x1A2b", L"-OUT:C:\\a b\\x.PNG"}, L"capture hwnd=6699 0 C:\\a b\\x.PNG png"},
        {{L"/capture", L"/class", L"Edit", L"/delay", L"1500", L"/out", L"x.bmp"}, L"capture class=Edit 1500 x.bmp bmp"},
        {{L"/redraw", L"/process:notepad.exe", L"/pictures", L"/out", L"a.b.wmf"}, L"redraw process=notepad.exe 0 a.b.wmf wmf pictures"},
        {{L"/redraw", L"/delay", L"86400000", L"/out", L"x.Emf"}, L"redraw front= 86400000 x.Emf emf"},
        {{L"/list"}, L"list"},
        {{L"-?"}, L"usage"},
        {{L"/HELP", L"/delay", L"5"}, L"usage"},
        {{L"/redraw", L"/bogus"}, L"unknown /bogus "},
        {{L"/redraw", L"x.emf"}, L"unknown x.emf "},
        {{L"/redraw", L"/out"}, L"missing /out "},
        {{L"/capture", L"/hwnd", L"12g", L"/out", L"a.png"}, L"bad /hwnd 12g"},
        {{L"/capture", L"/hwnd", L"0x0", L"/out", L"a.png"}, L"bad /hwnd 0x0"},
        {{L"/redraw", L"/delay", L"-5", L"/out", L"a.emf"}, L"bad /delay -5"},
        {{L"/redraw", L"/delay", L"86400001", L"/out", L"a.emf"}, L"bad /delay 86400001"},
        {{L"/redraw", L"/window", L"", L"/out", L"a.emf"}, L"bad /window "},
        {{L"/redraw:now", L"/out", L"a.emf"}, L"bad /redraw now"},
        {{L"/redraw", L"-Capture"}, L"conflict /redraw -Capture"},
        {{L"/redraw", L"/window", L"a", L"/class", L"b", L"/out", L"a.emf"}, L"conflict /window /class"},
        {{L"/capture", L"/pictures", L"/out", L"a.png"}, L"conflict /capture /pictures"},
        {{L"/list", L"/delay", L"5"}, L"conflict /list /delay"},
        {{L"/redraw", L"/out", L"a.emf", L"/OUT", L"b.emf"}, L"twice /OUT "},
        {{L"/out", L"a.emf"}, L"norun  "},
        {{L"/capture", L"/delay", L"5"}, L"noout /capture "},
        {{L"/capture", L"/out", L"a.svg"}, L"ext /capture .bmp, .png"},
        {{L"/redraw", L"/out", L".svg"}, L"ext /redraw .emf, .wmf, .svg, .png"},
    };
    ExpectRows(rows, [](auto& r) {
        std::vector<std::wstring> words{L"plumbo.exe"};
        words.insert(words.end(), r.words.begin(), r.words.end());
        return Told(ParseCommandLine(words));
    });
}

}  // namespace
}  // namespace plumbo
