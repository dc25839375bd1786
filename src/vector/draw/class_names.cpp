#include "vector/draw/class_names.h"

#include "vector/window_record.h"

namespace plumbo {

namespace {

struct DispatchEntry {
    std::wstring_view name;
    DrawerKind drawer;
};

// The dispatch table in its order. Names are unique, so the first match is the only one.
constexpr DispatchEntry kDispatch[] = {
    {L"PictureBoxDC", DrawerKind::PictureBox},
    {L"TextBox", DrawerKind::TextBox},
    {L"Edit", DrawerKind::TextBox},
    {L"Frame", DrawerKind::GroupFrame},
    {L"CommandButton", DrawerKind::PushButton},
    {L"Button", DrawerKind::StandardButton},
    {L"CheckBox", DrawerKind::CheckBox},
    {L"OptionButton", DrawerKind::RadioButton},
    {L"ComboBox", DrawerKind::ComboBox},
    {L"ListBox", DrawerKind::ListBox},
    {L"ScrollBar", DrawerKind::Nothing},
    {L"HScrollBar", DrawerKind::HScrollBar},
    {L"VScrollBar", DrawerKind::VScrollBar},
    {L"DriveListBox", DrawerKind::ComboBox},
    {L"DirListBox", DrawerKind::ListBox},
    {L"FileListBox", DrawerKind::ListBox},
    {L"Toolbar20WndClass", DrawerKind::ToolBar},
    {L"ToolbarWindow32", DrawerKind::ToolBar},
    {L"ToolbarWndClass", DrawerKind::ToolBar},
    {L"StatusBar20WndClass", DrawerKind::StatusBar},
    {L"ReBarWindow32", DrawerKind::Rebar},
    {L"Data", DrawerKind::Nothing},
    {L"MSFlexGridWndClass", DrawerKind::Grid},
    {L"UserControlDC", DrawerKind::UserControl},
    {L"MDIClient", DrawerKind::MdiClient},
    {L"Static", DrawerKind::Static},
    {L"#32770", DrawerKind::ChildDialog},
    {kCheckListClass, DrawerKind::CheckList},
    {kPanelClass, DrawerKind::Panel},
    {L"SysTabControl32", DrawerKind::TabControl},
    {L"SysListView32", DrawerKind::ListView},
    {L"SysHeader32", DrawerKind::Header},
    {L"SysTreeView32", DrawerKind::TreeView},
    {L"msctls_statusbar32", DrawerKind::CommonStatusBar},
    {L"msctls_trackbar32", DrawerKind::Trackbar},
    {L"msctls_progress32", DrawerKind::ProgressBar},
    {L"msctls_updown32", DrawerKind::UpDown},
    {L"msctls_hotkey32", DrawerKind::HotKey},
    {L"SysDateTimePick32", DrawerKind::DateTimePicker},
    {L"SysMonthCal32", DrawerKind::MonthCalendar},
    {L"SysLink", DrawerKind::Link},
    {L"ComboBoxEx32", DrawerKind::ComboBoxEx},
    {L"RichEdit20W", DrawerKind::RichEdit},
    {L"RichEdit20A", DrawerKind::RichEdit},
    {L"RICHEDIT50W", DrawerKind::RichEdit},
};

const DispatchEntry* FindEntry(std::wstring_view name) {
    for (const auto& e : kDispatch)
        if (e.name == name) return &e;
    return nullptr;
}

}  // namespace

std::wstring TrimSpaces(std::wstring_view s) {
    size_t b = s.find_first_not_of(L' ');
    if (b == std::wstring_view::npos) return {};
    size_t e = s.find_last_not_of(L' ');
    return std::wstring(s.substr(b, e - b + 1));
}

std::wstring NormaliseClassName(std::wstring_view raw) {
    std::wstring s = TrimSpaces(CutAtCharBoundary(raw, kMaxTextUnits));
    if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.erase(nul);
    if (s.compare(0, 7, L"Thunder") == 0) s.erase(0, 7);
    // A two-letter tag and one version digit: the digit is dropped without looking at it.
    if (s.size() >= 2 && s.compare(0, 2, L"RT") == 0) s.erase(0, s.size() < 3 ? s.size() : 3);
    return s;
}

DrawerKind LookupDrawer(std::wstring_view normalisedClass) {
    const DispatchEntry* e = FindEntry(normalisedClass);
    return e ? e->drawer : DrawerKind::Unlisted;
}

ButtonLook ClassifyButton(uint32_t style) {
    switch (style & kButtonTypeMask) {
    case 0x2:  // BS_CHECKBOX
    case 0x3:  // BS_AUTOCHECKBOX
    case 0x5:  // BS_3STATE
    case 0x6: return ButtonLook::CheckBox;  // BS_AUTO3STATE
    case 0x4:  // BS_RADIOBUTTON
    case 0x9: return ButtonLook::RadioButton;  // BS_AUTORADIOBUTTON
    case kButtonGroupBox: return ButtonLook::GroupFrame;
    case kButtonOwnerDrawn: return ButtonLook::OwnerDrawn;
    case 0xC:  // BS_SPLITBUTTON
    case 0xD: return ButtonLook::SplitButton;  // BS_DEFSPLITBUTTON
    case 0xE:  // BS_COMMANDLINK
    case 0xF: return ButtonLook::CommandLink;  // BS_DEFCOMMANDLINK
    default: return ButtonLook::PushButton;  // push, default push, user button (8), push box (0xA)
    }
}

RecordNeeds NeedsFor(std::wstring_view normalisedClass, uint32_t style) {
    RecordNeeds n;
    const bool scrollBars = HasStyleBits(style, style_bits::kHScroll | style_bits::kVScroll);
    const DrawerKind kind = LookupDrawer(normalisedClass);
    switch (kind) {
    case DrawerKind::TextBox:
        n.text = true;
        n.clientRect = scrollBars;
        // A multi-line edit is drawn as the lines it shows; its whole text only when they do not come.
        n.content = HasStyleBits(style, kEditMultiLine);
        if (n.content) n.textUnits = kMaxWrappedTextUnits;
        break;
    case DrawerKind::GroupFrame:
        n.text = true;
        n.children = true;
        break;
    case DrawerKind::PushButton: n.text = true; break;
    case DrawerKind::Static:
        n.text = StaticShowsText(style);
        n.textUnits = kMaxWrappedTextUnits;
        break;
    case DrawerKind::StandardButton:
        switch (ClassifyButton(style)) {
        case ButtonLook::GroupFrame: n.children = true; [[fallthrough]];
        case ButtonLook::PushButton:
        case ButtonLook::SplitButton:
        case ButtonLook::CommandLink: n.text = true; break;
        case ButtonLook::CheckBox:
        case ButtonLook::RadioButton:
            n.text = true;
            n.checkState = true;
            break;
        case ButtonLook::OwnerDrawn: break;  // its program paints it: no caption we could place
        }
        break;
    case DrawerKind::ComboBox: {
        // A drop-down list has no edit field: its own text is the selected item's. The items of an
        // owner-drawn list without strings are its program's data, which would read as garbage.
        const bool itemTexts = !(style & kListOwnerDrawn) || (style & kComboHasStrings);
        const bool dropDownList = (style & kComboTypeMask) == kComboDropDownList;
        n.text = dropDownList && itemTexts;
        n.firstDescendantText = !dropDownList;
        n.content = (style & kComboTypeMask) == kComboSimple && itemTexts;
        break;
    }
    case DrawerKind::CheckBox:
    case DrawerKind::RadioButton:
        n.text = true;
        n.checkState = true;
        break;
    // Windows placed in a bar (a page box and its labels in a tool bar) are drawn over it.
    case DrawerKind::ToolBar:
        n.content = normalisedClass == kCommonToolBarClass;
        n.children = true;
        break;
    case DrawerKind::StatusBar: n.children = true; break;
    case DrawerKind::Panel:
        n.text = true;
        n.children = true;
        break;
    case DrawerKind::ListBox:
    case DrawerKind::CheckList:
        // The items are texts unless its program paints them from data of its own.
        n.content = kind == DrawerKind::CheckList || !(style & kListOwnerDrawn) || (style & kListHasStrings);
        n.content = n.content && !(style & kListNoData);
        n.clientRect = scrollBars;
        break;
    case DrawerKind::Grid: n.clientRect = scrollBars; break;
    case DrawerKind::MdiClient:
        n.clientRect = scrollBars;
        n.children = true;
        break;
    case DrawerKind::Unlisted:
    case DrawerKind::ChildDialog: n.children = true; break;
    case DrawerKind::ComboBoxEx:
        // Drawn whole from its selected item: its inner combo box and edit field would only repeat it.
        n.content = true;
        break;
    default:
        // The other common controls' child windows (a list view's header, a rebar's tool bars)
        // are drawn by their own drawers, over the parent's content.
        if (IsCommonControl(kind)) {
            n.content = true;
            n.children = true;
            n.clientRect = scrollBars;
        }
        break;
    }
    return n;
}

}  // namespace plumbo
