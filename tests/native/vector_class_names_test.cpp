#include <gtest/gtest.h>

#include <string>

#include "vector/class_names.h"
#include "vector/window_record.h"
#include "vector_test_util.h"

namespace plumbo {
namespace {

TEST(NormaliseClassName, StripsThunderAndVersionTags) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"ThunderRT6CommandButton", L"CommandButton"},
        {L"ThunderTextBox", L"TextBox"},
        {L"RT6Frame", L"Frame"},      // the tag alone, without "Thunder"
        {L"RTxListBox", L"ListBox"},  // the digit is dropped unseen
        {L"ThunderRT", L""},
        {L"rt6ListBox", L"rt6ListBox"},  // case-sensitive
        {L"RTThunderEdit", L"hunderEdit"},  // "Thunder" is tested first, once
        {L"ThunderThunderEdit", L"ThunderEdit"},
        {L"  ThunderRT6TextBox  ", L"TextBox"},  // trimmed before the prefixes are looked at
        {std::wstring(L"Foo\0Bar", 7), L"Foo"},
        {L"", L""},
    };
    for (const auto& [raw, expected] : cases) EXPECT_EQ(NormaliseClassName(raw), expected) << test::Narrow(raw);
    // Long names are cut at 79 units before the prefix goes.
    const std::wstring longName(100, L'A');
    EXPECT_EQ(NormaliseClassName(longName), std::wstring(79, L'A'));
    EXPECT_EQ(NormaliseClassName(L"Thunder" + longName), std::wstring(72, L'A'));
}

TEST(CutAtCharBoundary, NeverSplitsASurrogatePair) {
    const wchar_t hi = static_cast<wchar_t>(0xD842), lo = static_cast<wchar_t>(0xDFB7);  // U+20BB7
    const std::pair<std::wstring, size_t> cases[] = {
        {std::wstring(78, L'a') + hi + lo, 78},         // 80 units, the pair straddles the cut
        {std::wstring(77, L'a') + hi + lo + L'b', 79},  // the pair ends exactly at the cut
        {std::wstring(77, L'a') + hi + lo, 79},         // fits
        {std::wstring(100, L'a'), 79},
        {L"short", 5},
    };
    for (const auto& [text, length] : cases) EXPECT_EQ(CutAtCharBoundary(text, 79), text.substr(0, length)) << length;
    EXPECT_EQ(CutAtCharBoundary(L"ファイル", 3), L"ファイ");
}

TEST(DispatchTable, EveryNameFindsItsDrawer) {
    struct Case {
        const wchar_t* name;
        DrawerKind drawer;
    };
    const Case cases[] = {
        // A few rows from different parts of the table; both names of a shared drawer.
        {L"TextBox", DrawerKind::TextBox},
        {L"Edit", DrawerKind::TextBox},
        {L"HScrollBar", DrawerKind::HScrollBar},
        {L"DriveListBox", DrawerKind::ComboBox},
        {L"ToolbarWindow32", DrawerKind::ToolBar},
        {L"Static", DrawerKind::Static},
        // Exact and case-sensitive: near misses are unlisted classes.
        {L"edit", DrawerKind::Unlisted},
        {L"Static ", DrawerKind::Unlisted},
        {L"", DrawerKind::Unlisted},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LookupDrawer(c.name), c.drawer) << test::Narrow(c.name);
    }
}

TEST(ClassifyButton, SingleBitTestsInOrderWithGroupBoxAsFrame) {
    const std::pair<uint32_t, ButtonLook> cases[] = {
        {0x0, ButtonLook::PushButton},  // BS_PUSHBUTTON: no bit, the fall-through
        {0x1, ButtonLook::PushButton},  // BS_DEFPUSHBUTTON
        {0x2, ButtonLook::CheckBox},    // BS_CHECKBOX
        {0x3, ButtonLook::PushButton},  // BS_AUTOCHECKBOX: bit 0x1 wins
        {0x4, ButtonLook::Nothing},     // BS_RADIOBUTTON
        {0x5, ButtonLook::PushButton},  // BS_3STATE: bit 0x1 wins
        {0x6, ButtonLook::CheckBox},    // BS_AUTO3STATE: bit 0x2 before 0x4
        {0x7, ButtonLook::GroupFrame},  // BS_GROUPBOX
        {0x8, ButtonLook::PushButton},  // BS_USERBUTTON: no low bit
        {0x9, ButtonLook::PushButton},  // BS_AUTORADIOBUTTON: bit 0x1 wins
        {0xF, ButtonLook::PushButton},  // all four low bits: not a group box
        {0x50010007, ButtonLook::GroupFrame},  // with WS_CHILD | WS_VISIBLE | WS_TABSTOP
        {0x50010004 | 0x20, ButtonLook::Nothing},  // BS_LEFTTEXT does not change the type
    };
    for (const auto& [style, look] : cases) EXPECT_EQ(ClassifyButton(style), look) << std::hex << style;
}

TEST(NeedsFor, ReadsOnlyWhatTheDrawerUses) {
    struct Case {
        const wchar_t* name;
        uint32_t style;
        bool text, client, children, firstDescendant;
    };
    const uint32_t both = style_bits::kHScroll | style_bits::kVScroll;
    const Case cases[] = {
        {L"Edit", both, true, true, false, false},
        {L"ListBox", style_bits::kVScroll, false, true, false, false},
        {L"ListBox", 0, false, false, false, false},
        {L"MDIClient", style_bits::kHScroll, false, true, true, false},
        {L"Frame", 0, true, false, true, false},
        {L"Button", 0x7, true, false, true, false},
        {L"Button", 0x4, false, false, false, false},
        {L"ComboBox", both, false, false, false, true},
        {L"ToolbarWindow32", both, false, false, false, false},
        {L"SysTreeView32", both, false, false, true, false},  // unlisted: its children are drawn
    };
    for (const Case& c : cases) {
        RecordNeeds n = NeedsFor(c.name, c.style);
        EXPECT_EQ(n.text, c.text) << test::Narrow(c.name);
        EXPECT_EQ(n.clientRect, c.client) << test::Narrow(c.name);
        EXPECT_EQ(n.children, c.children) << test::Narrow(c.name);
        EXPECT_EQ(n.firstDescendantText, c.firstDescendant) << test::Narrow(c.name);
    }
}

}  // namespace
}  // namespace plumbo
