#include "vector/read/toolkit_names.h"

#include <algorithm>
#include <cwctype>

#include "vector/draw/class_names.h"

namespace plumbo {

namespace {

// The system classes a toolkit makes its controls from, spelled as the dispatch table has them.
// The first five are user32's, confirmed by their answer to WM_GETDLGCODE.
constexpr std::wstring_view kBaseClasses[] = {
    L"Button", L"Edit", L"Static", L"ListBox", L"ComboBox", L"ScrollBar", L"MDIClient",
    L"SysTabControl32", L"SysListView32", L"SysHeader32", L"SysTreeView32", L"msctls_statusbar32",
    L"ToolbarWindow32", L"ReBarWindow32", L"msctls_trackbar32", L"msctls_progress32", L"msctls_updown32",
    L"msctls_hotkey32", L"SysDateTimePick32", L"SysMonthCal32", L"SysLink", L"ComboBoxEx32", L"RichEdit20W",
    L"RichEdit20A", L"RICHEDIT50W"};
constexpr size_t kUser32Families = 5;

// VCL's base words, the longest first where one ends another ("CheckListBox", "ListBox"), and the
// class each is drawn as. A group box and a panel are painted by the toolkit itself: a frame with
// its caption, and a panel's caption centred.
constexpr std::pair<std::wstring_view, std::wstring_view> kVclWords[] = {
    {L"CheckListBox", kCheckListClass}, {L"RadioButton", L"Button"}, {L"StaticText", L"Static"},
    {L"CheckBox", L"Button"}, {L"BitBtn", L"Button"}, {L"Button", L"Button"}, {L"MaskEdit", L"Edit"},
    {L"RichEdit", L"RichEdit20W"}, {L"Edit", L"Edit"}, {L"Memo", L"Edit"}, {L"ComboBox", L"ComboBox"},
    {L"ListBox", L"ListBox"}, {L"StatusBar", L"msctls_statusbar32"}, {L"ToolBar", L"ToolbarWindow32"},
    {L"ListView", L"SysListView32"}, {L"TreeView", L"SysTreeView32"}, {L"PageControl", L"SysTabControl32"},
    {L"TabControl", L"SysTabControl32"}, {L"HeaderControl", L"SysHeader32"}, {L"TrackBar", L"msctls_trackbar32"},
    {L"ProgressBar", L"msctls_progress32"}, {L"UpDown", L"msctls_updown32"}, {L"DateTimePicker", L"SysDateTimePick32"},
    {L"MonthCalendar", L"SysMonthCal32"}, {L"HotKey", L"msctls_hotkey32"}, {L"LinkLabel", L"SysLink"},
    {L"GroupBox", L"Frame"}, {L"Panel", kPanelClass}};

// VB6's own common controls, made from the system's.
constexpr std::pair<std::wstring_view, std::wstring_view> kVb6CommonControls[] = {
    {L"ListView20WndClass", L"SysListView32"}, {L"TreeView20WndClass", L"SysTreeView32"},
    {L"TabStrip20WndClass", L"SysTabControl32"}, {L"ProgressBar20WndClass", L"msctls_progress32"},
    {L"UpDown20WndClass", L"msctls_updown32"}, {L"MonthView20WndClass", L"SysMonthCal32"}};

bool SameLetters(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

bool NeedsConfirming(std::wstring_view drawnAs) {
    return std::find(kBaseClasses, kBaseClasses + kUser32Families, drawnAs) != kBaseClasses + kUser32Families ||
           drawnAs == kCheckListClass;
}

bool IsAsciiAlnum(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::optional<NameSuggestion> SuggestFromToolkitName(std::wstring_view name) {
    // WinForms: "WindowsForms<N>.<BASE>.app.<...>", BASE in any case ("BUTTON", "SysListView32").
    constexpr std::wstring_view kForms = L"WindowsForms";
    if (name.starts_with(kForms)) {
        const size_t dot = name.find(L'.'), next = dot == std::wstring_view::npos ? dot : name.find(L'.', dot + 1);
        if (next == std::wstring_view::npos) return std::nullopt;
        const std::wstring_view base = name.substr(dot + 1, next - dot - 1);
        for (std::wstring_view b : kBaseClasses)
            if (SameLetters(b, base)) return NameSuggestion{std::wstring(b), NeedsConfirming(b)};
        return std::nullopt;
    }
    for (const auto& [vb, drawnAs] : kVb6CommonControls)
        if (name == vb) return NameSuggestion{std::wstring(drawnAs), false};
    // VCL: "T", a capital, then letters and digits ending in a base word: "TButton", "TFlatButton".
    if (name.size() < 2 || name[0] != L'T' || !std::iswupper(name[1]) || !std::all_of(name.begin(), name.end(), IsAsciiAlnum))
        return std::nullopt;
    for (const auto& [word, drawnAs] : kVclWords)
        if (name.size() > word.size() && name.ends_with(word))
            return NameSuggestion{std::wstring(drawnAs), NeedsConfirming(drawnAs)};
    return std::nullopt;
}

bool DialogCodeConfirms(std::wstring_view drawnAs, uint32_t code) {
    using namespace dialog_code;
    if (drawnAs == L"Button") return (code & (kButton | kRadioButton | kDefPushButton | kUndefPushButton)) != 0;
    if (drawnAs == L"Static") return (code & kStatic) != 0;
    if (drawnAs == L"Edit") return (code & kHasSetSel) != 0;
    // List and combo boxes take the arrows; a plain window takes nothing.
    if (drawnAs == L"ListBox" || drawnAs == L"ComboBox" || drawnAs == kCheckListClass) return (code & kWantArrows) && !(code & kHasSetSel);
    return true;
}

std::wstring ClassByDialogCode(uint32_t code) {
    using namespace dialog_code;
    if (code & (kDefPushButton | kUndefPushButton | kRadioButton)) return L"Button";
    if (code & kStatic) return L"Static";
    if (code & kHasSetSel) return L"Edit";
    return {};
}

std::wstring DecideClass(std::wstring_view own, std::wstring_view real,
                         const std::function<std::optional<uint32_t>()>& dialogCode) {
    if (LookupDrawer(own) != DrawerKind::Unlisted) return std::wstring(own);
    // Windows names the system class a superclass is made from.
    if (real != own && LookupDrawer(real) != DrawerKind::Unlisted) return std::wstring(real);
    const std::optional<NameSuggestion> suggested = SuggestFromToolkitName(own);
    if (suggested && !suggested->confirm) return suggested->drawnAs;
    const std::optional<uint32_t> code = dialogCode();
    if (suggested) return code && DialogCodeConfirms(suggested->drawnAs, *code) ? suggested->drawnAs : std::wstring(own);
    const std::wstring byCode = code ? ClassByDialogCode(*code) : std::wstring();
    return byCode.empty() ? std::wstring(own) : byCode;
}

}  // namespace plumbo
