#pragma once
// Work that must wait a moment (a window repainting after ours moved away) is handed back to
// the main loop with a one-shot timer instead of sleeping or pumping messages in a handler.
#include <windows.h>

#include <functional>

namespace plumbo {

// Runs task once from the main loop after about delayMs milliseconds.
void RunLater(UINT delayMs, std::function<void()> task);

}  // namespace plumbo
