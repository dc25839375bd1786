#pragma once
// What another program told of its windows, held to what the drawers are made for before any of
// them sees it: its numbers can be anything, up to the ends of 32 bits. Plain C++ over records.
#include "vector/window_record.h"

namespace plumbo {

// Every rectangle a control reported (items, headers, marks, channel, thumb, accessibility
// elements) clamped to the control's window rectangle, and the menu bar's items to the target's;
// an item or menu item that lay wholly outside is left out. Every text cut to the longest a
// window text is kept at (kMaxWrappedTextUnits), accessible names and values included, so that
// no page-long name costs its drawing and its saving more than a wrapped label does.
void BoundTargetRecord(TargetRecord& target);

}  // namespace plumbo
