#include "shell/command_queue.h"

namespace plumbo {

bool CommandQueue::Run(CommandId id) {
    auto it = commands_.find(id);
    if (it == commands_.end() || !it->second) return false;
    it->second();
    return true;
}

void CommandQueue::Push(CommandId id) {
    waiting_.push_back(id);
    RunWaiting();
}

void CommandQueue::RunWaiting() {
    while (!waiting_.empty() && !modalOpen_()) {
        CommandId id = waiting_.front();
        waiting_.pop_front();
        Run(id);
    }
}

}  // namespace plumbo
