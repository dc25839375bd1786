#pragma once
// "ヘルプ": our help page beside the program, opened with the shell.
namespace plumbo {

void mCtrlHelp_Click();

}  // namespace plumbo
