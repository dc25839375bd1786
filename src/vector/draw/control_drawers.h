#pragma once
// Every visible control as a simplified look-alike: boxes, lines, outline triangles and text,
// placed relative to the target window's outer top-left corner. Plain C++ over records.
#include <cstdint>
#include <optional>

#include "vector/draw/class_names.h"
#include "vector/draw/frame_layout.h"
#include "vector/parts.h"
#include "vector/window_record.h"

namespace plumbo {

// What every drawer needs besides the control: the target's outer rectangle and the metrics.
struct DrawContext {
    Rect32 target;
    SystemMetrics metrics;
};

// A control's place in the picture. right and bottom are its outer right and bottom edges
// relative to the target (cR - tL, cB - tT).
struct ControlPlace {
    int32_t x = 0, y = 0, w = 0, h = 0;
    int32_t right = 0, bottom = 0;
};
// nullopt when any of the differences does not fit 32 bits.
std::optional<ControlPlace> PlaceOf(const Rect32& target, const Rect32& control);

enum class DrawOutcome : int32_t {
    Drawn,      // visible: drawn by its class's drawer (which may draw nothing)
    Hidden,     // not visible: neither it nor anything inside it is drawn
    Abandoned,  // a difference did not fit 32 bits; the whole re-drawing is to be dropped
};

// Draws one control by its class, after the dispatch table.
DrawOutcome DrawControl(const DrawContext& ctx, const WindowRecord& control, PartList& list);

// The drawers. Each returns false only when the re-drawing has to be abandoned.
bool DrawStyleScrollBars(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawPlainBox(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawTextBox(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawGroupFrame(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawPushButton(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawCheckBox(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawRadioButton(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawStandardButton(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawComboBox(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawBoxWithScrollBars(const DrawContext& ctx, const WindowRecord& control, PartList& list);
// A list box's visible items, each where the list put it, with a box on each row of a check list.
bool DrawListBox(const DrawContext& ctx, const WindowRecord& control, PartList& list, bool checkBoxes);
// A toolkit's panel: its box, its caption centred in it, then its children.
bool DrawPanel(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawHScrollBar(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawVScrollBar(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawToolBar(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawMdiClient(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawStatic(const DrawContext& ctx, const WindowRecord& control, PartList& list);
bool DrawUnlisted(const DrawContext& ctx, const WindowRecord& control, PartList& list);
// A container's children, each by its own class, in enumeration order.
bool DrawChildren(const DrawContext& ctx, const WindowRecord& control, PartList& list);

// The whole window: frame first, then each direct child in enumeration order (later parts
// cover earlier ones). nullopt when the re-drawing has to be abandoned.
std::optional<WindowSize> LayOutWindow(const TargetRecord& target, PartList& list);

}  // namespace plumbo
