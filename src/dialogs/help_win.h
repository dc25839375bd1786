#pragma once
// "ヘルプ": our help page beside the program, opened with the shell.
#include "state/program_win.h"

namespace plumbo {

// Opens "plHelp.html" (plHelp_en.html in English) in the program's folder with whatever the
// system opens pages with; says so when the page is missing or nothing is registered for it.
void OpenHelp(const Program& program);

}  // namespace plumbo
