#include "vector/content_readers_win.h"

namespace plumbo {

void ReadControlContent(HWND control, DrawerKind kind, WindowRecord& record, ControlQuery& query) {
    switch (kind) {
    case DrawerKind::TabControl:
    case DrawerKind::ListView:
    case DrawerKind::Header:
    case DrawerKind::TreeView: ReadListContent(control, kind, record, query); break;
    default: ReadBarContent(control, kind, record, query); break;
    }
}

}  // namespace plumbo
