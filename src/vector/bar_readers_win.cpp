#include "vector/content_readers_win.h"

namespace plumbo {

void ReadBarContent(HWND, DrawerKind, WindowRecord&, ControlQuery&) {}

}  // namespace plumbo
