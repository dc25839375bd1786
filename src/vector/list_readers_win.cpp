#include "vector/content_readers_win.h"

namespace plumbo {

void ReadListContent(HWND, DrawerKind, WindowRecord&, ControlQuery&) {}

}  // namespace plumbo
