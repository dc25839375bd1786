#include "vector/bar_drawers.h"

namespace plumbo {

bool DrawBarControl(const DrawContext& ctx, DrawerKind, const WindowRecord& control, PartList& list) {
    return DrawUnlisted(ctx, control, list);
}

}  // namespace plumbo
