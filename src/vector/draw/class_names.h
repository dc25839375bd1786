#pragma once
// Class-name normalisation and the table that maps a class to its drawer. Plain C++.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text_cut.h"

namespace plumbo {

// Longest class name, window text or menu string we keep, in UTF-16 units.
inline constexpr size_t kMaxTextUnits = 79;
// Longest item text (tab, list-view cell, tree item, status-bar part...) we ask a control for.
inline constexpr size_t kMaxItemTextUnits = 259;
// Longest text we keep of a control that wraps it over several lines (a static text, a link, a
// multi-line edit read whole): a few paragraphs, more than a label's rectangle ever shows.
inline constexpr size_t kMaxWrappedTextUnits = 1023;

// Spaces trimmed from both ends.
std::wstring TrimSpaces(std::wstring_view s);

// The class name as the drawers know it: cut to 79 units, trimmed, cut before a NUL, then a
// leading "Thunder" dropped, then a leading "RT" with the version digit after it dropped.
std::wstring NormaliseClassName(std::wstring_view raw);

// Which drawer a class gets. Listed in the dispatch order; the first matching row wins.
enum class DrawerKind : int32_t {
    PictureBox,      // "PictureBoxDC"
    TextBox,         // "TextBox", "Edit"
    GroupFrame,      // "Frame"
    PushButton,      // "CommandButton"
    StandardButton,  // "Button": decided by ClassifyButton
    Nothing,         // classes drawn as nothing at all
    ComboBox,        // "ComboBox", "DriveListBox"
    ListBox,         // "ListBox", "DirListBox", "FileListBox"
    HScrollBar,      // "HScrollBar"
    VScrollBar,      // "VScrollBar"
    ToolBar,         // "Toolbar20WndClass", "ToolbarWindow32", "ToolbarWndClass"
    StatusBar,       // "StatusBar20WndClass"
    Grid,            // "MSFlexGridWndClass"
    UserControl,     // "UserControlDC"
    MdiClient,       // "MDIClient"
    Static,          // "Static"
    ChildDialog,     // "#32770" inside a window: a property sheet's page, a dialog in a pane
    CheckBox,        // "CheckBox": whatever its style, with its state
    RadioButton,     // "OptionButton"
    CheckList,       // kCheckListClass: an owner-drawn list box with strings, a box on each row
    Panel,           // kPanelClass: a toolkit's panel, its caption centred
    // The common controls, drawn with their content: the item lists first, kept together and
    // in this order for IsItemList and IsCommonControl.
    TabControl,      // "SysTabControl32"
    ListView,        // "SysListView32"
    Header,          // "SysHeader32"
    TreeView,        // "SysTreeView32"
    CommonStatusBar, // "msctls_statusbar32"
    Rebar,           // "ReBarWindow32"
    Trackbar,        // "msctls_trackbar32"
    ProgressBar,     // "msctls_progress32"
    UpDown,          // "msctls_updown32"
    HotKey,          // "msctls_hotkey32"
    DateTimePicker,  // "SysDateTimePick32"
    MonthCalendar,   // "SysMonthCal32"
    Link,            // "SysLink"
    ComboBoxEx,      // "ComboBoxEx32"
    RichEdit,        // "RichEdit20W", "RichEdit20A", "RICHEDIT50W"
    Unlisted,        // any other name
};

// A common control, drawn with the content its own messages give.
constexpr bool IsCommonControl(DrawerKind k) { return k >= DrawerKind::TabControl && k <= DrawerKind::RichEdit; }
// One of the item lists among them: tab control, list view, header, tree view.
constexpr bool IsItemList(DrawerKind k) { return k >= DrawerKind::TabControl && k <= DrawerKind::TreeView; }

// The names a toolkit's check list and panel are drawn by (toolkit_names.h): no class's own.
inline constexpr std::wstring_view kCheckListClass = L"(check list)";
inline constexpr std::wstring_view kPanelClass = L"(panel)";

// Exact, case-sensitive lookup of a normalised class name.
DrawerKind LookupDrawer(std::wstring_view normalisedClass);

// Any bit of mask set in style.
constexpr bool HasStyleBits(uint32_t style, uint32_t mask) { return (style & mask) != 0; }

// What a standard "Button" is drawn as, by its type (style & 0xF). Types 0xA (a push box) and
// the unused 0xB..0xF values a program may still set are drawn as the nearest kind.
enum class ButtonLook : int32_t { PushButton, CheckBox, RadioButton, SplitButton, CommandLink, OwnerDrawn, GroupFrame };
inline constexpr uint32_t kButtonTypeMask = 0xF;
inline constexpr uint32_t kButtonGroupBox = 7;
ButtonLook ClassifyButton(uint32_t style);
// BM_GETCHECK's answers: unchecked, checked, and the third state of a three-state box.
inline constexpr uint32_t kButtonChecked = 1;
inline constexpr uint32_t kButtonIndeterminate = 2;

// Style bits of the older controls that change what their drawers show.
inline constexpr uint32_t kEditMultiLine = 0x4;  // ES_MULTILINE
inline constexpr uint32_t kComboTypeMask = 0x3;
inline constexpr uint32_t kComboSimple = 1;        // CBS_SIMPLE: the list always shown
inline constexpr uint32_t kComboDropDownList = 3;  // CBS_DROPDOWNLIST: no edit field
inline constexpr uint32_t kComboHasStrings = 0x200;  // CBS_HASSTRINGS: an owner-drawn list's items are texts
// A static control shows its text only in its text types (left, centred, right, simple, no
// wrap); the others are icons, pictures, frames and filled rectangles.
inline constexpr uint32_t kStaticTypeMask = 0x1F;
inline constexpr uint32_t kStaticCentre = 0x1, kStaticRight = 0x2, kStaticSimple = 0xB, kStaticNoWrap = 0xC;
constexpr bool StaticShowsText(uint32_t style) {
    const uint32_t type = style & kStaticTypeMask;
    return type <= kStaticRight || type == kStaticSimple || type == kStaticNoWrap;
}
// The tool bar whose buttons can be asked for; the older tool bar classes keep generic squares.
inline constexpr std::wstring_view kCommonToolBarClass = L"ToolbarWindow32";

// Owner-drawn list boxes, combo boxes, buttons and statics: their program paints what they
// show, and their messages tell nothing of it.
inline constexpr uint32_t kListOwnerDrawn = 0x30;  // LBS_ and CBS_OWNERDRAWFIXED, _OWNERDRAWVARIABLE
inline constexpr uint32_t kListHasStrings = 0x40;  // LBS_HASSTRINGS: an owner-drawn list's items are texts
inline constexpr uint32_t kListNoData = 0x2000;    // LBS_NODATA: no items kept at all
inline constexpr uint32_t kButtonOwnerDrawn = 0xB, kStaticOwnerDrawn = 0xD;
constexpr bool PaintedByItsProgram(DrawerKind kind, uint32_t style) {
    switch (kind) {
    case DrawerKind::ListBox:
    case DrawerKind::ComboBox: return (style & kListOwnerDrawn) != 0;
    case DrawerKind::CheckList: return true;
    case DrawerKind::StandardButton: return (style & kButtonTypeMask) == kButtonOwnerDrawn;
    case DrawerKind::Static: return (style & kStaticTypeMask) == kStaticOwnerDrawn;
    default: return false;
    }
}

// What a window's record must hold for its drawer; the query reads nothing else.
struct RecordNeeds {
    bool text = false;                 // its own window text
    size_t textUnits = kMaxTextUnits;  // how much of it
    bool clientRect = false;           // for the scroll bars its style asks for
    bool children = false;             // its direct children, drawn through DrawControl
    bool firstDescendantText = false;  // combo box: whether it has an edit field, and its text
    bool content = false;              // ControlContent, through the control's own messages
    bool checkState = false;           // check boxes and radio buttons: BM_GETCHECK
};
RecordNeeds NeedsFor(std::wstring_view normalisedClass, uint32_t style);

}  // namespace plumbo
