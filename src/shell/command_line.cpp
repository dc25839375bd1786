#include "shell/command_line.h"

#include <algorithm>
#include <array>
#include <span>

namespace plumbo {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring Lower(std::wstring_view s) {
    std::wstring out(s);
    std::ranges::transform(out, out.begin(), LowerAscii);
    return out;
}

// The formats each run writes, in the order the usage names them.
constexpr std::array kRedrawFormats{PictureFileFormat::Emf, PictureFileFormat::Wmf, PictureFileFormat::Svg,
                                    PictureFileFormat::Png};
constexpr std::array kCaptureFormats{PictureFileFormat::Bmp, PictureFileFormat::Png};

std::span<const PictureFileFormat> FormatsFor(CommandLineRun run) {
    if (run == CommandLineRun::Redraw) return kRedrawFormats;
    return kCaptureFormats;
}

std::optional<PictureFileFormat> FormatOf(std::wstring_view path, CommandLineRun run) {
    const std::wstring lower = Lower(path);
    for (PictureFileFormat f : FormatsFor(run))
        if (lower.ends_with(PictureFileExtension(f)) && lower.size() > PictureFileExtension(f).size()) return f;
    return std::nullopt;
}

// Decimal, within limit.
std::optional<uint64_t> Decimal(std::wstring_view s, uint64_t limit) {
    if (s.empty() || s.size() > 10) return std::nullopt;
    uint64_t v = 0;
    for (wchar_t c : s) {
        if (c < L'0' || c > L'9') return std::nullopt;
        v = v * 10 + static_cast<uint64_t>(c - L'0');
    }
    return v <= limit ? std::optional(v) : std::nullopt;
}

// Hexadecimal as /list prints it, "0x" or not; never 0.
std::optional<uint64_t> Hex(std::wstring_view s) {
    if (s.size() > 2 && s[0] == L'0' && LowerAscii(s[1]) == L'x') s.remove_prefix(2);
    if (s.empty() || s.size() > 16) return std::nullopt;
    uint64_t v = 0;
    for (wchar_t c : s) {
        const wchar_t l = LowerAscii(c);
        const int digit = l >= L'0' && l <= L'9' ? l - L'0' : l >= L'a' && l <= L'f' ? l - L'a' + 10 : -1;
        if (digit < 0) return std::nullopt;
        v = v * 16 + static_cast<uint64_t>(digit);
    }
    return v ? std::optional(v) : std::nullopt;
}

// Long enough for a script to open a menu or start a program; a day at most.
constexpr uint64_t kLongestDelayMs = 24ull * 60 * 60 * 1000;

enum class Switch { Redraw, Capture, List, Usage, Window, Class, Process, Hwnd, Delay, Out, Pictures };

struct SwitchRow {
    const wchar_t* name;
    Switch which;
    bool takesValue;
};
constexpr SwitchRow kSwitches[] = {
    {L"redraw", Switch::Redraw, false},  {L"capture", Switch::Capture, false}, {L"list", Switch::List, false},
    {L"?", Switch::Usage, false},        {L"h", Switch::Usage, false},         {L"help", Switch::Usage, false},
    {L"window", Switch::Window, true},   {L"class", Switch::Class, true},      {L"process", Switch::Process, true},
    {L"hwnd", Switch::Hwnd, true},       {L"delay", Switch::Delay, true},      {L"out", Switch::Out, true},
    {L"pictures", Switch::Pictures, false},
};

bool IsSwitch(std::wstring_view word) { return word.size() > 1 && (word[0] == L'/' || word[0] == L'-'); }

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> words;
    size_t i = 0;
    // The program's name: no escapes, as Windows itself reads it.
    std::wstring name;
    if (i < line.size() && line[i] == L'"') {
        const size_t close = line.find(L'"', 1);
        name = line.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
        i = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && !IsBlank(line[i])) name += line[i++];
    }
    words.push_back(std::move(name));
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::wstring word;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            size_t slashes = 0;
            for (; i < line.size() && line[i] == L'\\'; ++i) ++slashes;
            if (i < line.size() && line[i] == L'"') {
                word.append(slashes / 2, L'\\');
                if (slashes % 2) {
                    word += L'"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    word += L'"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                word.append(slashes, L'\\');
                if (i < line.size() && (quoted || !IsBlank(line[i]))) word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& words) {
    ParsedCommandLine parsed;
    ScriptRequest& r = parsed.request;
    auto fail = [&](ArgumentProblem problem, std::wstring word, std::wstring other = {}) {
        parsed.error = ArgumentError{problem, std::move(word), std::move(other)};
        return parsed;
    };
    if (words.size() <= 1) return parsed;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::wstring lower = Lower(words[i]);
        if (lower == L"/exit" || lower == L"-exit") return r.run = CommandLineRun::Exit, parsed;
        if (lower == L"/startup" || lower == L"-startup") r.run = CommandLineRun::Startup;
    }
    if (r.run == CommandLineRun::Startup) return parsed;

    std::wstring runWord, windowWord;  // as typed, for a conflict's line
    bool delayGiven = false;
    std::vector<Switch> seen;
    std::optional<std::wstring> out;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (!IsSwitch(word)) return fail(ArgumentProblem::UnknownSwitch, word);
        std::wstring_view body = std::wstring_view(word).substr(1);
        std::optional<std::wstring> value;
        if (const size_t colon = body.find(L':'); colon != std::wstring_view::npos) {
            value = std::wstring(body.substr(colon + 1));
            body = body.substr(0, colon);
        }
        const std::wstring typed = word.substr(0, body.size() + 1);
        const std::wstring name = Lower(body);
        const auto row = std::ranges::find_if(kSwitches, [&](const SwitchRow& s) { return name == s.name; });
        if (row == std::end(kSwitches)) return fail(ArgumentProblem::UnknownSwitch, typed);
        if (row->takesValue && !value) {
            if (i + 1 >= words.size()) return fail(ArgumentProblem::MissingValue, typed);
            value = words[++i];
        }
        if (!row->takesValue && value) return fail(ArgumentProblem::BadValue, typed, *value);
        if (std::ranges::find(seen, row->which) != seen.end()) return fail(ArgumentProblem::Repeated, typed);
        seen.push_back(row->which);
        switch (row->which) {
            case Switch::Redraw:
            case Switch::Capture:
            case Switch::List:
            case Switch::Usage:
                if (!runWord.empty()) return fail(ArgumentProblem::Conflict, runWord, typed);
                runWord = typed;
                r.run = row->which == Switch::Redraw    ? CommandLineRun::Redraw
                        : row->which == Switch::Capture ? CommandLineRun::Capture
                        : row->which == Switch::List    ? CommandLineRun::List
                                                        : CommandLineRun::Usage;
                break;
            case Switch::Window:
            case Switch::Class:
            case Switch::Process:
            case Switch::Hwnd:
                if (!windowWord.empty()) return fail(ArgumentProblem::Conflict, windowWord, typed);
                windowWord = typed;
                if (value->empty()) return fail(ArgumentProblem::BadValue, typed, *value);
                if (row->which == Switch::Hwnd) {
                    const auto handle = Hex(*value);
                    if (!handle) return fail(ArgumentProblem::BadValue, typed, *value);
                    r.choice = WindowChoice::Handle;
                    r.handle = *handle;
                } else {
                    r.choice = row->which == Switch::Window  ? WindowChoice::Title
                               : row->which == Switch::Class ? WindowChoice::Class
                                                             : WindowChoice::Process;
                    r.which = *value;
                }
                break;
            case Switch::Delay: {
                delayGiven = true;
                const auto ms = Decimal(*value, kLongestDelayMs);
                if (!ms) return fail(ArgumentProblem::BadValue, typed, *value);
                r.delayMs = static_cast<uint32_t>(*ms);
                break;
            }
            case Switch::Out:
                out = *value;
                break;
            case Switch::Pictures:
                r.pictures = true;
                break;
        }
    }
    // What goes with which run, now that all are known.
    if (runWord.empty()) return fail(ArgumentProblem::NoRun, {});
    if (r.run == CommandLineRun::Usage) {
        parsed.request = {.run = CommandLineRun::Usage};
        return parsed;
    }
    const bool picture = r.run == CommandLineRun::Redraw || r.run == CommandLineRun::Capture;
    if (!picture) {
        if (!windowWord.empty() || delayGiven || out || r.pictures)
            return fail(ArgumentProblem::Conflict, runWord,
                        !windowWord.empty() ? windowWord : delayGiven ? L"/delay" : out ? L"/out" : L"/pictures");
        return parsed;
    }
    if (r.pictures && r.run == CommandLineRun::Capture) return fail(ArgumentProblem::Conflict, runWord, L"/pictures");
    if (!out || out->empty()) return fail(ArgumentProblem::NoOut, runWord);
    const auto format = FormatOf(*out, r.run);
    if (!format) return fail(ArgumentProblem::BadExtension, runWord, ExtensionsFor(r.run));
    r.out = *out;
    r.format = *format;
    return parsed;
}

std::wstring ExtensionsFor(CommandLineRun run) {
    std::wstring list;
    for (PictureFileFormat f : FormatsFor(run)) list += (list.empty() ? L"" : L", ") + std::wstring(PictureFileExtension(f));
    return list;
}

}  // namespace plumbo
