#pragma once
// "画面のメタ化": the target window re-drawn as a vector picture in the viewer.
#include "state/program_win.h"
// The walk of the target's controls, which the shell hands to the measuring mode.
#include "vector/read/control_walk_win.h"

namespace plumbo {

// Rulers out of the way, the target re-drawn at the viewer's 100 % (its client area as large
// as the target's outer box), the viewer shown in metafile mode, rulers back as they were.
// The viewer keeps its previous picture when the re-drawing gives none, and the user is told
// why, once: the target stopped answering, closed, could not be read or is too large.
void RedrawTargetAsVector(Program& program);

}  // namespace plumbo
