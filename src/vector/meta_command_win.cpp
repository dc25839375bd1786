#include "app/commands_win.h"

namespace plumbo {

void RegisterMetaCommand() {}

}  // namespace plumbo
