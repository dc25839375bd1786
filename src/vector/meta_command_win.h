#pragma once
// "画面のメタ化": the target window re-drawn as a vector picture in the viewer.
namespace plumbo {

// Re-draws the target into the viewer's picture, sizing the viewer's client area to the
// target's outer size. Keeps the previous picture when there is no target or the re-drawing
// is abandoned.
void DrawWindowAsMeta();

// The ruler menu's command: rulers away, re-draw, viewer in metafile mode, rulers back.
void mMenuMeta_Click();

}  // namespace plumbo
