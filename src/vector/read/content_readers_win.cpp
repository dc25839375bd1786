#include "vector/read/content_readers_win.h"

namespace plumbo {

void ReadControlContent(HWND control, DrawerKind kind, WindowRecord& record, ControlQuery& query) {
    if (IsItemList(kind))
        ReadListContent(control, kind, record, query);
    else
        ReadBarContent(control, kind, record, query);
}

}  // namespace plumbo
