#pragma once
// The commands by id, run one at a time from the main loop. A command chosen while a modal
// window is open waits until the last one has closed; one that opens a modal window leaves
// the rest waiting for it.
#include <deque>
#include <functional>
#include <map>

#include "state/command_ids.h"

namespace plumbo {

class CommandQueue {
public:
    using Commands = std::map<CommandId, std::function<void()>>;

    // modalOpen: whether a modal window of ours is open right now.
    explicit CommandQueue(std::function<bool()> modalOpen) : modalOpen_(std::move(modalOpen)) {}
    void SetCommands(Commands commands) { commands_ = std::move(commands); }

    // Runs a command now, as if chosen; false when no command has that id.
    bool Run(CommandId id);
    // Queues a chosen command and runs what may run.
    void Push(CommandId id);
    // Runs what waits, in order, until a modal window opens or nothing is left.
    void RunWaiting();

private:
    std::function<bool()> modalOpen_;
    Commands commands_;
    std::deque<CommandId> waiting_;
};

}  // namespace plumbo
