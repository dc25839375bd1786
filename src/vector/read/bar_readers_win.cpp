// The bars and small controls read through their own messages. Messages whose answer goes
// through a pointer the system does not carry between processes (the common controls' own
// messages) get memory in the target (RemoteBuffer), one block per control; the older controls'
// messages that the system does carry (EM_GETLINE, EM_GETRECT, LB_GETTEXT, LB_GETITEMRECT) take
// our own buffers, as another process's window receives a copy of them either way.
// No message may write past the buffer it is given, also when a text grows between the question
// for its length and the copy: each text comes through a message told its buffer's size, or
// into room for the longest text the control can tell the length of, or up to a guard page.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string>
#include <type_traits>

#include "platform/guarded_buffer_win.h"
#include "platform/remote_memory_win.h"
#include "platform/window_reports_win.h"
#include "vector/read/content_readers_win.h"

namespace plumbo {

namespace {

// A text of kMaxItemTextUnits units and its terminator, after whatever structure comes first.
constexpr size_t kTextBytes = (kMaxItemTextUnits + 1) * sizeof(wchar_t);
// A multi-line edit shows at most this many lines: a screen's height of the smallest font.
constexpr int kMaxEditLines = 400;
// A button row, band list or status bar of more items than this is a broken control.
constexpr int kMaxBarItems = 512;
// Room for a text of 65,535 units and its terminator, the longest a status bar can give the
// length of (in 16 bits). SB_GETTEXTW and LB_GETTEXT copy the whole text, however long, so a
// text that grew after its length was asked must still fit.
constexpr size_t kWholeTextBytes = 0x10000 * sizeof(wchar_t);

// A rectangle of the control's own, from a message, on the screen.
Rect32 ToScreen(HWND control, RECT r) {
    const POINT origin = TargetClientToScreen(control, {0, 0});
    OffsetRect(&r, origin.x, origin.y);
    return {r.left, r.top, r.right, r.bottom};
}

Rect32 ClientOnScreen(HWND control) { return ToRect32(TargetClientOnScreen(control)); }

// A text the control wrote into the remote buffer at offset, at most `units` long.
std::wstring RemoteText(const RemoteBuffer& buffer, size_t offset, LRESULT units) {
    const size_t n = std::min<size_t>(static_cast<size_t>(std::clamp<LRESULT>(units, 0, kMaxItemTextUnits)), kMaxItemTextUnits);
    std::wstring text(n, L'\0');
    if (n && !buffer.Read(text.data(), n * sizeof(wchar_t), offset)) return {};
    if (auto nul = text.find(L'\0'); nul != std::wstring::npos) text.erase(nul);
    return CutAtCharBoundary(text, kMaxItemTextUnits);
}

// A control message answered with a RECT in the remote buffer at offset, on the screen.
bool RemoteRect(HWND control, ControlQuery& query, RemoteBuffer& buffer, UINT message, WPARAM wParam, Rect32& out,
                size_t offset = 0) {
    RECT r{};
    LRESULT ok = 0;
    if (!buffer.Write(r, offset) || !query.Send(control, message, wParam, static_cast<LPARAM>(buffer.Address(offset)), &ok) ||
        !buffer.Read(r, offset))
        return false;
    out = ToScreen(control, r);
    return true;
}

bool Intersects(const Rect32& a, const Rect32& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ReadStatusBar(HWND control, ControlContent& content, ControlQuery& query) {
    LRESULT simple = 0, parts = 0;
    if (!query.Send(control, SB_ISSIMPLE, 0, 0, &simple)) return;
    if (!simple && !query.Send(control, SB_GETPARTS, 0, 0, &parts)) return;
    TargetBuffer buffer(control, query, sizeof(RECT) + kWholeTextBytes);
    if (!buffer) return;
    // A simple bar shows one text across its whole width, asked for by the simple part's number.
    const int first = simple ? SB_SIMPLEID : 0, last = simple ? SB_SIMPLEID : static_cast<int>(std::min<LRESULT>(parts, kMaxBarItems)) - 1;
    for (int i = first; i <= last; ++i) {
        ItemRecord item;
        if (simple) {
            item.rect = ClientOnScreen(control);
        } else if (!RemoteRect(control, query, buffer, SB_GETRECT, i, item.rect)) {
            return;
        }
        LRESULT length = 0;
        if (!query.Send(control, SB_GETTEXTLENGTHW, i, 0, &length)) return;
        // An owner-drawn part holds the owner's data, not a text. A text of 65,536 units or more
        // would be copied whole past the end of the buffer: Wine's bar, as a bar written from
        // its code, puts the length's upper bits into the type's word, below every SBT_ flag,
        // and such a text is not asked for. A bar that drops those bits cannot be told apart.
        const bool fitsSixteenBits = (HIWORD(length) & 0x00FF) == 0;
        if (!(HIWORD(length) & SBT_OWNERDRAW) && LOWORD(length) > 0 && fitsSixteenBits) {
            LRESULT answer = 0;
            if (!buffer.Write(L'\0', sizeof(RECT)) ||
                !query.Send(control, SB_GETTEXTW, i, static_cast<LPARAM>(buffer.Address(sizeof(RECT))), &answer))
                return;
            // The text as it is now, which may have grown since its length came: its start.
            item.text = RemoteText(buffer, sizeof(RECT), kMaxItemTextUnits);
        }
        content.items.push_back(std::move(item));
    }
}

// The fields of TBBUTTON we read sit at the same offsets in 32- and 64-bit programs, but for
// iString, after the pointer-sized dwData.
constexpr size_t kButtonBytes = sizeof(TBBUTTON);
constexpr size_t kButtonStateOffset = 8, kButtonStyleOffset = 9;

// TBBUTTONINFOW up to its text fields, in the layout of the target's word size.
template <typename Pointer>
struct ButtonInfo {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    Pointer lParam;
    Pointer pszText;
    int cchText;
};

// A button's text, through messages told the buffer's size: TB_GETBUTTONTEXTW is not, and a text
// that grew after its length was asked would run past any buffer sized from that length. The
// text is the button's own (iString points at it) or one of the tool bar's pooled strings
// (iString is its index), which TB_GETBUTTONINFOW does not give (Wine's answers it empty).
template <typename Pointer>
bool ReadButtonText(HWND control, ControlQuery& query, RemoteBuffer& buffer, int index, size_t infoAt, size_t textAt,
                    std::wstring& text) {
    Pointer pointer = 0;
    if (!buffer.Read(pointer, sizeof(Pointer) == 4 ? 16 : 24) || !buffer.Write(L'\0', textAt)) return false;
    const int64_t string = static_cast<std::make_signed_t<Pointer>>(pointer);
    if (string == -1) return true;  // no text
    LRESULT answer = 0;
    if (string >= 0 && string <= 0xFFFF) {
        // Counted in bytes, as documented; the text's room holds as many units, should a tool bar
        // count characters.
        if (!query.Send(control, TB_GETSTRINGW, MAKEWPARAM(kTextBytes, string), static_cast<LPARAM>(buffer.Address(textAt)),
                        &answer))
            return false;
    } else {
        ButtonInfo<Pointer> info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
        info.pszText = static_cast<Pointer>(buffer.Address(textAt));
        info.cchText = static_cast<int>(kMaxItemTextUnits + 1);
        if (!buffer.Write(info, infoAt) ||
            !query.Send(control, TB_GETBUTTONINFOW, index, static_cast<LPARAM>(buffer.Address(infoAt)), &answer))
            return false;
    }
    text = RemoteText(buffer, textAt, kMaxItemTextUnits);
    return true;
}

void ReadToolBar(HWND control, ControlContent& content, ControlQuery& query) {
    LRESULT count = 0, extended = 0, style = GetWindowLongW(control, GWL_STYLE);
    if (!query.Send(control, TB_BUTTONCOUNT, 0, 0, &count) || !query.Send(control, TB_GETEXTENDEDSTYLE, 0, 0, &extended))
        return;
    constexpr size_t rectAt = kButtonBytes, infoAt = rectAt + sizeof(RECT), textAt = infoAt + sizeof(ButtonInfo<uint64_t>);
    TargetBuffer buffer(control, query, textAt + 2 * kTextBytes);
    if (!buffer) return;
    const Rect32 client = ClientOnScreen(control);
    // With mixed buttons only those marked to show their text show it; the rest keep it for tips.
    const bool mixed = (style & TBSTYLE_LIST) && (extended & TBSTYLE_EX_MIXEDBUTTONS);
    for (int i = 0; i < std::min<LRESULT>(count, kMaxBarItems); ++i) {
        LRESULT ok = 0;
        if (!query.Send(control, TB_GETBUTTON, i, static_cast<LPARAM>(buffer.Address()), &ok) || !ok) return;
        uint8_t state = 0, buttonStyle = 0;
        if (!buffer.Read(state, kButtonStateOffset) || !buffer.Read(buttonStyle, kButtonStyleOffset)) return;
        if (state & TBSTATE_HIDDEN) continue;
        ItemRecord item;
        if (!RemoteRect(control, query, buffer, TB_GETITEMRECT, i, item.rect, rectAt)) return;
        if (!Intersects(item.rect, client)) continue;
        if (buttonStyle & BTNS_SEP) item.flags |= item_flags::kSeparator;
        if (state & (TBSTATE_CHECKED | TBSTATE_PRESSED)) item.flags |= item_flags::kSelected;
        if (!(state & TBSTATE_ENABLED)) item.flags |= item_flags::kDisabled;
        if (!(buttonStyle & BTNS_SEP) && (!mixed || (buttonStyle & BTNS_SHOWTEXT))) {
            const bool read = buffer.TargetIs32Bit() ? ReadButtonText<uint32_t>(control, query, buffer, i, infoAt, textAt, item.text)
                                                     : ReadButtonText<uint64_t>(control, query, buffer, i, infoAt, textAt, item.text);
            if (!read) return;
        }
        content.items.push_back(std::move(item));
    }
}

// REBARBANDINFOW up to its text fields, in the layout of the target's word size.
template <typename Pointer>
struct BandInfo {
    UINT cbSize;
    UINT fMask;
    UINT fStyle;
    COLORREF clrFore;
    COLORREF clrBack;
    Pointer lpText;
    UINT cch;
};

template <typename Pointer>
bool ReadBandText(HWND control, ControlQuery& query, RemoteBuffer& buffer, int band, size_t textAt, ItemRecord& item) {
    // The structure as far as cxHeader, the size every version since the header's came knows:
    // 80 bytes in a 32-bit program, 108 in a 64-bit one.
    BandInfo<Pointer> info{};
    info.cbSize = sizeof(Pointer) == 4 ? 80 : 108;
    info.fMask = RBBIM_TEXT | RBBIM_STYLE;
    info.lpText = static_cast<Pointer>(buffer.Address(textAt));
    info.cch = static_cast<UINT>(kMaxItemTextUnits + 1);
    LRESULT ok = 0;
    if (!buffer.Write(L'\0', textAt) || !buffer.Write(info) ||
        !query.Send(control, RB_GETBANDINFOW, band, static_cast<LPARAM>(buffer.Address()), &ok) || !ok ||
        !buffer.Read(info))
        return false;
    if (info.fStyle & RBBS_HIDDEN) return false;
    item.text = RemoteText(buffer, textAt, kMaxItemTextUnits);
    return true;
}

void ReadRebar(HWND control, ControlContent& content, ControlQuery& query) {
    LRESULT count = 0;
    if (!query.Send(control, RB_GETBANDCOUNT, 0, 0, &count)) return;
    constexpr size_t kInfoBytes = 112, rectAt = kInfoBytes, textAt = kInfoBytes + sizeof(RECT);
    TargetBuffer buffer(control, query, textAt + kTextBytes);
    if (!buffer) return;
    for (int i = 0; i < std::min<LRESULT>(count, kMaxBarItems); ++i) {
        ItemRecord item;
        const bool shown = buffer.TargetIs32Bit() ? ReadBandText<uint32_t>(control, query, buffer, i, textAt, item)
                                                  : ReadBandText<uint64_t>(control, query, buffer, i, textAt, item);
        if (!shown) continue;
        if (!RemoteRect(control, query, buffer, RB_GETRECT, i, item.rect, rectAt)) return;
        content.items.push_back(std::move(item));
    }
}

void ReadTrackbar(HWND control, ControlContent& content, ControlQuery& query) {
    LRESULT minimum = 0, maximum = 0, position = 0, ticks = 0;
    if (!query.Send(control, TBM_GETRANGEMIN, 0, 0, &minimum) || !query.Send(control, TBM_GETRANGEMAX, 0, 0, &maximum) ||
        !query.Send(control, TBM_GETPOS, 0, 0, &position) || !query.Send(control, TBM_GETNUMTICS, 0, 0, &ticks))
        return;
    TargetBuffer buffer(control, query, sizeof(RECT));
    if (!buffer || !RemoteRect(control, query, buffer, TBM_GETCHANNELRECT, 0, content.channel) ||
        !RemoteRect(control, query, buffer, TBM_GETTHUMBRECT, 0, content.thumb))
        return;
    content.minimum = static_cast<int32_t>(minimum);
    content.maximum = static_cast<int32_t>(maximum);
    content.position = static_cast<int32_t>(position);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    if (style & TBS_NOTICKS) return;
    const bool vertical = style & TBS_VERT;
    const Rect32& t = content.thumb;
    // Ticks stand beside the thumb: a short line 3 px long, 2 px off its edge. The first and last
    // stand at the thumb's centre when at either end of the range; the others the bar places.
    const int32_t half = vertical ? (t.bottom - t.top) / 2 : (t.right - t.left) / 2;
    const Rect32& c = content.channel;
    auto mark = [&](int32_t along) {
        content.marks.push_back(vertical ? Rect32{t.right + 2, along, t.right + 5, along} : Rect32{along, t.bottom + 2, along, t.bottom + 5});
    };
    if (ticks >= 2) {
        mark(vertical ? c.top + half : c.left + half);
        mark(vertical ? c.bottom - half : c.right - half);
    }
    const POINT origin = TargetClientToScreen(control, {0, 0});
    for (int i = 0; i + 2 < std::min<LRESULT>(ticks, kMaxBarItems); ++i) {
        LRESULT at = -1;
        if (!query.Send(control, TBM_GETTICPOS, i, 0, &at)) return;
        if (at >= 0) mark(static_cast<int32_t>(at) + (vertical ? origin.y : origin.x));
    }
}

void ReadProgress(HWND control, ControlContent& content, ControlQuery& query) {
    LRESULT low = 0, high = 0, position = 0;
    if (!query.Send(control, PBM_GETRANGE, TRUE, 0, &low) || !query.Send(control, PBM_GETRANGE, FALSE, 0, &high) ||
        !query.Send(control, PBM_GETPOS, 0, 0, &position))
        return;
    content.minimum = static_cast<int32_t>(low);
    content.maximum = static_cast<int32_t>(high);
    content.position = static_cast<int32_t>(position);
    content.channel = ClientOnScreen(control);
}

// The hot key as the control spells it: the modifiers' key names and the key's, joined by " + ".
void ReadHotKey(HWND control, ControlContent& content, ControlQuery& query) {
    LRESULT key = 0;
    if (!query.Send(control, HKM_GETHOTKEY, 0, 0, &key)) return;
    const UINT vk = LOBYTE(LOWORD(key)), modifiers = HIBYTE(LOWORD(key));
    auto name = [](UINT virtualKey, bool extended) {
        wchar_t buffer[64] = {};
        LONG scan = static_cast<LONG>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
        if (extended) scan |= 1 << 24;
        const int n = GetKeyNameTextW(scan, buffer, 64);
        return std::wstring(buffer, std::clamp(n, 0, 63));
    };
    std::wstring text;
    for (auto [flag, modifierKey] : {std::pair{HOTKEYF_CONTROL, VK_CONTROL}, {HOTKEYF_SHIFT, VK_SHIFT}, {HOTKEYF_ALT, VK_MENU}})
        if (modifiers & flag) text += name(modifierKey, false) + L" + ";
    if (vk) text += name(vk, modifiers & HOTKEYF_EXT);
    content.items.push_back({ClientOnScreen(control), text});
}

// A date or time formatted the way the user's locale writes it.
std::wstring FormatDate(const SYSTEMTIME& time, DWORD flags, bool timeOfDay) {
    wchar_t buffer[128] = {};
    const int n = timeOfDay ? GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, buffer, 128)
                            : GetDateFormatW(LOCALE_USER_DEFAULT, flags, &time, nullptr, buffer, 128);
    return n > 1 ? std::wstring(buffer, n - 1) : std::wstring();
}

bool ReadTime(HWND control, ControlQuery& query, UINT message, SYSTEMTIME& time) {
    TargetBuffer buffer(control, query, sizeof(SYSTEMTIME));
    LRESULT answer = 0;
    return buffer && query.Send(control, message, 0, static_cast<LPARAM>(buffer.Address()), &answer) &&
           buffer.Read(time);
}

void ReadDateTime(HWND control, ControlContent& content, ControlQuery& query) {
    SYSTEMTIME time{};
    if (!ReadTime(control, query, DTM_GETSYSTEMTIME, time)) return;
    // DTS_TIMEFORMAT includes the up-down bit; the long date is its own bit.
    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    const bool timeOfDay = (style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
    const std::wstring text = FormatDate(time, (style & DTS_LONGDATEFORMAT) ? DATE_LONGDATE : DATE_SHORTDATE, timeOfDay);
    Rect32 r = ClientOnScreen(control);
    r.right -= TargetMetric(SM_CXVSCROLL);  // the drop-down button or the up-down
    content.items.push_back({r, text});
}

// A month calendar as its texts: the month and year over the days, and the selected day.
void ReadMonthCalendar(HWND control, ControlContent& content, ControlQuery& query) {
    SYSTEMTIME time{};
    if (!ReadTime(control, query, MCM_GETCURSEL, time)) return;
    Rect32 r = ClientOnScreen(control);
    content.items.push_back({r, FormatDate(time, DATE_YEARMONTH, false), item_flags::kSelected});
}

void ReadLink(HWND control, WindowRecord& record, ControlQuery& query) {
    record.content.items.push_back({ClientOnScreen(control), query.ReadText(control, kMaxWrappedTextUnits)});
}

// COMBOBOXEXITEMW up to its text fields, in the layout of the target's word size.
template <typename Pointer>
struct ExItem {
    UINT mask;
    Pointer iItem;
    Pointer pszText;
    int cchTextMax;
};

template <typename Pointer>
bool ReadExItem(HWND control, ControlQuery& query, RemoteBuffer& buffer, LRESULT index, std::wstring& text) {
    constexpr size_t textAt = 64;
    ExItem<Pointer> item{CBEIF_TEXT, static_cast<Pointer>(index), static_cast<Pointer>(buffer.Address(textAt)),
                         static_cast<int>(kMaxItemTextUnits + 1)};
    LRESULT ok = 0;
    if (!buffer.Write(L'\0', textAt) || !buffer.Write(item) ||
        !query.Send(control, CBEM_GETITEMW, 0, static_cast<LPARAM>(buffer.Address()), &ok) || !ok)
        return false;
    text = RemoteText(buffer, textAt, kMaxItemTextUnits);
    return true;
}

void ReadComboBoxEx(HWND control, ControlContent& content, ControlQuery& query) {
    LRESULT selected = CB_ERR;
    if (!query.Send(control, CB_GETCURSEL, 0, 0, &selected)) return;
    TargetBuffer buffer(control, query, 64 + kTextBytes);
    if (!buffer) return;
    // No selection: the text typed in its edit field, which item -1 stands for.
    std::wstring text;
    const LRESULT index = selected < 0 ? -1 : selected;
    const bool read = buffer.TargetIs32Bit() ? ReadExItem<uint32_t>(control, query, buffer, index, text)
                                             : ReadExItem<uint64_t>(control, query, buffer, index, text);
    if (!read) return;
    Rect32 r = ClientOnScreen(control);
    r.right -= TargetMetric(SM_CXVSCROLL);
    content.items.push_back({r, text});
}

// The visible lines of a multi-line edit or rich edit, each at the place of its first character.
void ReadEditLines(HWND control, bool richEdit, ControlContent& content, ControlQuery& query) {
    LRESULT first = 0, count = 0;
    RECT format{};
    if (!query.Send(control, EM_GETFIRSTVISIBLELINE, 0, 0, &first) || !query.Send(control, EM_GETLINECOUNT, 0, 0, &count) ||
        !query.Send(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format)))
        return;
    // A rich edit answers EM_POSFROMCHAR through a POINTL in its own memory.
    TargetBuffer point(control, query, richEdit ? sizeof(POINTL) : 0);
    if (richEdit && !point) return;
    auto top = [&](LRESULT line, POINT& at) {
        LRESULT index = -1, packed = -1;
        if (!query.Send(control, EM_LINEINDEX, line, 0, &index) || index < 0) return false;
        if (richEdit) {
            POINTL p{};
            if (!query.Send(control, EM_POSFROMCHAR, static_cast<WPARAM>(point.Address()), index) || !point.Read(p))
                return false;
            at = {p.x, p.y};
            return true;
        }
        // An edit control answers -1 for the place after its last character: an empty last line.
        if (!query.Send(control, EM_POSFROMCHAR, index, 0, &packed) || packed == -1) return false;
        at = {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
        return true;
    };
    POINT at{};
    int32_t lineHeight = 0;
    const LRESULT last = std::min<LRESULT>(count, first + kMaxEditLines);
    for (LRESULT line = first; line < last && top(line, at) && at.y < format.bottom; ++line) {
        POINT next{};
        if (line + 1 < count && top(line + 1, next) && next.y > at.y) lineHeight = next.y - at.y;
        if (lineHeight <= 0) lineHeight = format.bottom - at.y;
        // EM_GETLINE's buffer starts with its own length in characters.
        wchar_t buffer[kMaxItemTextUnits + 2] = {};
        buffer[0] = static_cast<wchar_t>(kMaxItemTextUnits);
        LRESULT copied = 0;
        if (!query.Send(control, EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer), &copied)) return;
        std::wstring text(buffer, std::clamp<LRESULT>(copied, 0, kMaxItemTextUnits));
        while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
        const RECT place{std::max<LONG>(at.x, format.left), at.y, format.right, std::min<LONG>(at.y + lineHeight, format.bottom)};
        content.items.push_back({ToScreen(control, place), CutAtCharBoundary(text, kMaxItemTextUnits)});
    }
}

// A list box's visible items, each where the list puts it.
void ReadListItems(HWND list, ControlContent& content, ControlQuery& query) {
    LRESULT topIndex = 0, count = 0;
    if (!query.Send(list, LB_GETTOPINDEX, 0, 0, &topIndex) || !query.Send(list, LB_GETCOUNT, 0, 0, &count)) return;
    const Rect32 client = ClientOnScreen(list);
    // LB_GETTEXT is told no size, and the system sizes its copy by asking the length again: room
    // for a text far longer than we asked about, then the guard.
    GuardedBuffer buffer(kWholeTextBytes);
    if (!buffer) return;
    const auto* units = static_cast<const wchar_t*>(buffer.Data());
    for (LRESULT i = topIndex; i < std::min<LRESULT>(count, topIndex + kMaxBarItems); ++i) {
        RECT item{};
        LRESULT length = 0;
        if (!query.Send(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)) ||
            !query.Send(list, LB_GETTEXTLEN, i, 0, &length))
            return;
        const Rect32 place = ToScreen(list, item);
        if (place.top >= client.bottom) break;
        std::wstring text;
        if (length > 0 && static_cast<size_t>(length) < kWholeTextBytes / sizeof(wchar_t)) {
            if (!query.Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.Data()), &length)) return;
            const size_t copied = static_cast<size_t>(std::clamp<LRESULT>(length, 0, kMaxItemTextUnits));
            text = CutAtCharBoundary(std::wstring_view(units, wcsnlen(units, copied)), kMaxItemTextUnits);
        }
        content.items.push_back({place, text});
    }
}

// A combo box showing its list: the list's visible items under its edit field.
void ReadSimpleCombo(HWND control, ControlContent& content, ControlQuery& query) {
    HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
    HWND list = FindWindowExW(control, nullptr, L"ComboLBox", nullptr);
    if (!edit || !list) return;
    const RECT r = TargetWindowRect(edit);
    content.items.push_back({{r.left, r.top, r.right, r.bottom}, query.ReadText(edit, kMaxItemTextUnits), item_flags::kSelected});
    ReadListItems(list, content, query);
}

}  // namespace

void ReadBarContent(HWND control, DrawerKind kind, WindowRecord& record, ControlQuery& query) {
    ControlContent& content = record.content;
    switch (kind) {
    case DrawerKind::CommonStatusBar: ReadStatusBar(control, content, query); break;
    case DrawerKind::ToolBar: ReadToolBar(control, content, query); break;
    case DrawerKind::Rebar: ReadRebar(control, content, query); break;
    case DrawerKind::Trackbar: ReadTrackbar(control, content, query); break;
    case DrawerKind::ProgressBar: ReadProgress(control, content, query); break;
    case DrawerKind::HotKey: ReadHotKey(control, content, query); break;
    case DrawerKind::DateTimePicker: ReadDateTime(control, content, query); break;
    case DrawerKind::MonthCalendar: ReadMonthCalendar(control, content, query); break;
    case DrawerKind::Link: ReadLink(control, record, query); break;
    case DrawerKind::ComboBoxEx: ReadComboBoxEx(control, content, query); break;
    case DrawerKind::ComboBox: ReadSimpleCombo(control, content, query); break;
    case DrawerKind::ListBox:
    case DrawerKind::CheckList: ReadListItems(control, content, query); break;
    case DrawerKind::TextBox: ReadEditLines(control, false, content, query); break;
    case DrawerKind::RichEdit: ReadEditLines(control, true, content, query); break;
    default: break;
    }
}

}  // namespace plumbo
