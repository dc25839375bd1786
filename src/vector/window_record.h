#pragma once
// What the re-drawing needs to know about a window and its controls, read once from the system
// and then laid out without it. A record holds only what its drawer reads: hidden windows keep
// just their style bits, texts and client rectangles are read only for classes that draw them.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vector/parts.h"

namespace plumbo {

// Style bits the drawers test (the WS_ values of the window manager).
namespace style_bits {
inline constexpr uint32_t kVisible = 0x10000000;
inline constexpr uint32_t kDisabled = 0x08000000;
inline constexpr uint32_t kCaption = 0x00C00000;  // border or dialog frame: either bit is enough
inline constexpr uint32_t kBorder = 0x00800000;
inline constexpr uint32_t kVScroll = 0x00200000;
inline constexpr uint32_t kHScroll = 0x00100000;
inline constexpr uint32_t kSysMenu = 0x00080000;
inline constexpr uint32_t kMinimizeBox = 0x00020000;
inline constexpr uint32_t kMaximizeBox = 0x00010000;
// Extended styles.
inline constexpr uint32_t kToolWindow = 0x00000080;
inline constexpr uint32_t kContextHelp = 0x00000400;
}  // namespace style_bits

// A rectangle as the window manager reports it: screen pixels, right and bottom exclusive.
struct Rect32 {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// a - b when it fits a signed 32-bit integer: screen rectangles are differenced in 32 bits.
inline std::optional<int32_t> Sub32(int32_t a, int32_t b) {
    int64_t d = static_cast<int64_t>(a) - static_cast<int64_t>(b);
    if (d < INT32_MIN || d > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(d);
}

// One piece of a control's content as the control itself reports it: a tab, a column header,
// a list-view cell, a tree item, a status-bar part, a tool-bar button, a rebar band, a line of
// a multi-line edit. Each drawer says which of these it reads and what level and flags mean.
struct ItemRecord {
    Rect32 rect;  // screen coordinates, as the control reports the item's place
    std::wstring text;
    uint32_t flags = 0;  // item_flags
    int32_t level = 0;   // tree depth, list-view column, ...
};

namespace item_flags {
inline constexpr uint32_t kSelected = 0x1;     // the selected tab, item or button pressed
inline constexpr uint32_t kSeparator = 0x2;    // a tool-bar separator
inline constexpr uint32_t kHasChildren = 0x4;  // a tree item with an expand box
inline constexpr uint32_t kExpanded = 0x8;
inline constexpr uint32_t kChecked = 0x10;
inline constexpr uint32_t kDisabled = 0x20;
inline constexpr uint32_t kIcon = 0x40;  // the rectangle is an icon's box, not a text's
}  // namespace item_flags

// What a control shows beyond its window text, read through the control's own messages.
struct ControlContent {
    std::vector<ItemRecord> items;    // the visible items in the control's order
    std::vector<ItemRecord> headers;  // list view in report view: the column headers
    std::vector<Rect32> marks;        // trackbar ticks and other small boxes, screen coordinates
    Rect32 channel;                   // trackbar channel; progress bar: the inside of its frame
    Rect32 thumb;                     // trackbar thumb
    int32_t minimum = 0, maximum = 0, position = 0;  // progress bar and trackbar range
};

// One element of a window's accessibility tree, as its program tells assistive technology.
struct AccessibleElement {
    Rect32 rect;  // screen coordinates, as the element gives its location
    std::wstring name, value;
    uint32_t role = 0, state = 0;  // the ROLE_SYSTEM_ and STATE_SYSTEM_ values
    int32_t depth = 0;             // 0 for the window's own children
};

struct WindowRecord {
    std::wstring className;  // normalised (NormaliseClassName)
    uint32_t style = 0;
    Rect32 window;  // outer rectangle, screen coordinates
    Rect32 client;  // client rectangle, client coordinates; read only for style scroll bars
    std::wstring text;  // at most 79 UTF-16 units; read only where a drawer shows it
    // Direct children in enumeration order; filled only for classes whose drawer visits them.
    std::vector<WindowRecord> children;
    // Combo boxes: whether any descendant exists (an edit field) and the first one's text.
    bool hasDescendant = false;
    std::wstring firstDescendantText;
    ControlContent content;  // filled only for classes whose drawer shows their content
    uint32_t check = 0;      // check boxes and radio buttons: BM_GETCHECK's answer
    // What its accessibility tree tells, read only where no child window shows the content.
    std::vector<AccessibleElement> accessible;
    // What the screen showed of a control none of these could tell, when pictures are asked for.
    std::shared_ptr<const ScreenPixels> pixels;
};

struct MenuItemRecord {
    Rect32 rect;  // screen coordinates
    std::wstring text;
};

// The system metrics the drawers use, in pixels.
struct SystemMetrics {
    int32_t cyCaption = 0;  // SM_CYCAPTION
    int32_t cxSize = 0;     // SM_CXSIZE
    int32_t cySize = 0;     // SM_CYSIZE
    int32_t cxHThumb = 0;   // SM_CXHTHUMB
    int32_t cyVThumb = 0;   // SM_CYVTHUMB
};

// Where the window's program put its client area, and what else its frame's look depends on.
struct FrameRecord {
    // The client area on the screen; the caption is drawn only where it leaves room for one (a
    // window that takes its caption for its client area draws there itself). Empty: not read.
    Rect32 client;
    uint32_t exStyle = 0;
    // A tool window's smaller caption and buttons: SM_CYSMCAPTION, SM_CXSMSIZE, SM_CYSMSIZE.
    int32_t cySmCaption = 0, cxSmSize = 0, cySmSize = 0;
};

// The window being re-drawn: its own record (with all its direct children), its menu bar and
// the metrics in force when it was read.
struct TargetRecord {
    WindowRecord window;
    std::vector<MenuItemRecord> menuItems;
    SystemMetrics metrics;
    FrameRecord frame;
};

}  // namespace plumbo
