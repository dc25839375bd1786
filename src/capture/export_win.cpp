#include "app/commands_win.h"

namespace plumbo {

void RegisterExportCommands() {}

}  // namespace plumbo
