#include "vector/list_drawers.h"

namespace plumbo {

bool DrawListControl(const DrawContext& ctx, DrawerKind, const WindowRecord& control, PartList& list) {
    return DrawUnlisted(ctx, control, list);
}

}  // namespace plumbo
