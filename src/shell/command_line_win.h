#pragma once
// plumbo.exe /redraw, /capture, /list and /?: a run for a script, beside any copy in the tray and
// without it. It makes no window and leaves the tray copy, its rulers and its keys as they were;
// what it has to say is one line on the console that started it.
#include <optional>

#include "shell/command_line.h"

namespace plumbo {

// Exit codes a script tests.
enum ScriptExit : int {
    kScriptWritten = 0,
    kScriptBadArguments = 1,
    kScriptNoWindow = 2,
    kScriptNotRead = 3,
    kScriptNotWritten = 4,
};

// Starts the run parsed from the command line. The exit code when it is over already (the usage,
// the list, bad arguments); nullopt when it goes on from the main loop, which it ends with its
// exit code (after /delay, and while a file another program holds is waited for).
std::optional<int> StartScriptRun(const ParsedCommandLine& parsed);

}  // namespace plumbo
