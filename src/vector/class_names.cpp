#include "vector/class_names.h"

#include "vector/window_record.h"

namespace plumbo {

namespace {

bool IsHighSurrogate(wchar_t c) {
    auto u = static_cast<uint32_t>(c);
    return u >= 0xD800 && u <= 0xDBFF;
}

struct DispatchEntry {
    std::wstring_view name;
    int32_t row;
    DrawerKind drawer;
};

// The dispatch table in its order. Names are unique, so the first match is the only one.
constexpr DispatchEntry kDispatch[] = {
    {L"PictureBoxDC", 1, DrawerKind::PictureBox},
    {L"TextBox", 2, DrawerKind::TextBox},
    {L"Edit", 2, DrawerKind::TextBox},
    {L"Frame", 3, DrawerKind::GroupFrame},
    {L"CommandButton", 4, DrawerKind::PushButton},
    {L"Button", 5, DrawerKind::StandardButton},
    {L"CheckBox", 6, DrawerKind::Nothing},
    {L"OptionButton", 6, DrawerKind::Nothing},
    {L"ComboBox", 7, DrawerKind::ComboBox},
    {L"ListBox", 8, DrawerKind::ListBox},
    {L"ScrollBar", 9, DrawerKind::Nothing},
    {L"HScrollBar", 10, DrawerKind::HScrollBar},
    {L"VScrollBar", 11, DrawerKind::VScrollBar},
    {L"DriveListBox", 12, DrawerKind::ComboBox},
    {L"DirListBox", 13, DrawerKind::ListBox},
    {L"FileListBox", 14, DrawerKind::ListBox},
    {L"TabStrip20WndClass", 15, DrawerKind::Nothing},
    {L"Toolbar20WndClass", 16, DrawerKind::ToolBar},
    {L"ToolbarWindow32", 16, DrawerKind::ToolBar},
    {L"ToolbarWndClass", 16, DrawerKind::ToolBar},
    {L"StatusBar20WndClass", 17, DrawerKind::StatusBar},
    {L"ProgressBar20WndClass", 18, DrawerKind::Nothing},
    {L"TreeView20WndClass", 18, DrawerKind::Nothing},
    {L"ListView20WndClass", 18, DrawerKind::Nothing},
    {L"ReBarWindow32", 18, DrawerKind::Nothing},
    {L"MonthView20WndClass", 18, DrawerKind::Nothing},
    {L"UpDown20WndClass", 18, DrawerKind::Nothing},
    {L"Data", 18, DrawerKind::Nothing},
    {L"MSFlexGridWndClass", 19, DrawerKind::Grid},
    {L"UserControlDC", 20, DrawerKind::UserControl},
    {L"MDIClient", 21, DrawerKind::MdiClient},
    {L"Static", 22, DrawerKind::Static},
};
constexpr int32_t kUnlistedRow = 23;

const DispatchEntry* FindEntry(std::wstring_view name) {
    for (const auto& e : kDispatch)
        if (e.name == name) return &e;
    return nullptr;
}

}  // namespace

std::wstring CutAtCharBoundary(std::wstring_view s, size_t maxUnits) {
    if (s.size() <= maxUnits) return std::wstring(s);
    size_t n = maxUnits;
    if (n > 0 && IsHighSurrogate(s[n - 1])) --n;
    return std::wstring(s.substr(0, n));
}

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

int32_t DispatchRow(std::wstring_view normalisedClass) {
    const DispatchEntry* e = FindEntry(normalisedClass);
    return e ? e->row : kUnlistedRow;
}

ButtonLook ClassifyButton(uint32_t style) {
    if ((style & kButtonTypeMask) == kButtonGroupBox) return ButtonLook::GroupFrame;
    if (style & 0x1) return ButtonLook::PushButton;
    if (style & 0x2) return ButtonLook::CheckBox;
    if (style & 0x4) return ButtonLook::Nothing;
    return ButtonLook::PushButton;
}

RecordNeeds NeedsFor(std::wstring_view normalisedClass, uint32_t style) {
    RecordNeeds n;
    const bool scrollBars = HasStyleBits(style, style_bits::kHScroll | style_bits::kVScroll);
    switch (LookupDrawer(normalisedClass)) {
    case DrawerKind::TextBox:
        n.text = true;
        n.clientRect = scrollBars;
        break;
    case DrawerKind::GroupFrame:
        n.text = true;
        n.children = true;
        break;
    case DrawerKind::PushButton:
    case DrawerKind::Static: n.text = true; break;
    case DrawerKind::StandardButton:
        switch (ClassifyButton(style)) {
        case ButtonLook::GroupFrame: n.children = true; [[fallthrough]];
        case ButtonLook::PushButton:
        case ButtonLook::CheckBox: n.text = true; break;
        case ButtonLook::Nothing: break;
        }
        break;
    case DrawerKind::ComboBox: n.firstDescendantText = true; break;
    case DrawerKind::ListBox:
    case DrawerKind::Grid: n.clientRect = scrollBars; break;
    case DrawerKind::MdiClient:
        n.clientRect = scrollBars;
        n.children = true;
        break;
    case DrawerKind::Unlisted: n.children = true; break;
    default: break;
    }
    return n;
}

}  // namespace plumbo
