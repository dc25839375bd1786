#pragma once
// The window itself as drawing parts: outer box, caption bar, title, caption buttons and the
// menu bar captions. Plain C++ over the records the query filled.
#include <cstdint>
#include <optional>

#include "vector/parts.h"
#include "vector/window_record.h"

namespace plumbo {

// The re-drawn window's outer size in pixels: the viewer's 100 % size.
struct WindowSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Sets the list's unit (pixels) and size and appends the frame's parts. nullopt when a
// rectangle difference does not fit 32 bits; the list is then not worth playing.
std::optional<WindowSize> DrawWindowFrame(const TargetRecord& target, PartList& list);

}  // namespace plumbo
