#include "app/commands_win.h"

namespace plumbo {

void RegisterViewerCommands() {}

}  // namespace plumbo
