#pragma once
// A window's accessibility tree drawn in the drawers' style: each element by its role, where the
// element says it is. Plain C++ over records.
#include <vector>

#include "vector/draw/control_drawers.h"

namespace plumbo {

// The roles and states the drawing tells apart (the ROLE_SYSTEM_ and STATE_SYSTEM_ values).
namespace accessible_role {
inline constexpr uint32_t kGrouping = 0x14, kToolBar = 0x16, kStatusBar = 0x17, kLink = 0x1E, kList = 0x21,
                          kListItem = 0x22, kOutline = 0x23, kOutlineItem = 0x24, kPageTab = 0x25, kGraphic = 0x28,
                          kStaticText = 0x29, kText = 0x2A, kPushButton = 0x2B, kCheckButton = 0x2C,
                          kRadioButton = 0x2D, kComboBox = 0x2E, kProgressBar = 0x30, kSlider = 0x33,
                          kPageTabList = 0x3C;
}  // namespace accessible_role
namespace accessible_state {
inline constexpr uint32_t kSelected = 0x2, kChecked = 0x10, kMixed = 0x20, kInvisible = 0x8000, kOffscreen = 0x10000;
}  // namespace accessible_state

// What the drawing of an element shows besides its place, by its role: its name, its value.
struct ShownByRole {
    bool name = false;
    bool value = false;
};
ShownByRole ShownFor(uint32_t role);
// Whether an element is left out for its state alone: invisible or off-screen.
bool HiddenByState(uint32_t state);

// The elements of control, in the order read, each by its role; those invisible, off-screen,
// wholly outside the control or wholly under one of its visible child windows are left out.
// False only when the re-drawing has to be abandoned.
bool DrawAccessibleElements(const DrawContext& ctx, const WindowRecord& control, PartList& list);

}  // namespace plumbo
