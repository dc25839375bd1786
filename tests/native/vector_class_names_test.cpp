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
        {L"ThunderRT5ListBox", L"ListBox"},
        {L"ThunderTextBox", L"TextBox"},
        {L"RT6Frame", L"Frame"},           // the tag alone, without "Thunder"
        {L"ThunderRT6FormDC", L"FormDC"},  // not in the table: stays as it reads
        {L"RTxListBox", L"ListBox"},       // the digit is dropped unseen
        {L"ThunderRT", L""},
        {L"RT", L""},
        {L"Thunder", L""},
        {L"Thunde", L"Thunde"},
        {L"rt6ListBox", L"rt6ListBox"},  // case-sensitive
        {L"thunderTextBox", L"thunderTextBox"},
        {L"RTThunderEdit", L"hunderEdit"},  // "Thunder" is tested first, once
        {L"ThunderThunderEdit", L"ThunderEdit"},
        {L"Button", L"Button"},
        {L"Edit", L"Edit"},
        {L"#32770", L"#32770"},
        {L"  Static  ", L"Static"},
        {L"  ThunderRT6TextBox", L"TextBox"},  // trimmed before the prefixes are looked at
        {std::wstring(L"Foo\0Bar", 7), L"Foo"},
        {L"", L""},
    };
    for (const auto& [raw, expected] : cases)
        EXPECT_EQ(NormaliseClassName(raw), expected) << test::Narrow(raw);
}

TEST(NormaliseClassName, CutsLongNamesAt79Units) {
    const std::wstring longName(100, L'A');
    EXPECT_EQ(NormaliseClassName(longName), std::wstring(79, L'A'));
    EXPECT_EQ(NormaliseClassName(L"Thunder" + longName), std::wstring(72, L'A'));
}

TEST(CutAtCharBoundary, NeverSplitsASurrogatePair) {
    const wchar_t hi = static_cast<wchar_t>(0xD842), lo = static_cast<wchar_t>(0xDFB7);  // U+20BB7
    struct Case {
        std::wstring text;
        size_t expectedLength;
    };
    const Case cases[] = {
        {std::wstring(78, L'a') + hi + lo, 78},         // 80 units, the pair straddles the cut
        {std::wstring(77, L'a') + hi + lo + L'b', 79},  // the pair ends exactly at the cut
        {std::wstring(77, L'a') + hi + lo, 79},         // fits
        {std::wstring(100, L'a'), 79},
        {std::wstring(79, L'a'), 79},
        {L"short", 5},
        {L"", 0},
    };
    for (const Case& c : cases) {
        std::wstring cut = CutAtCharBoundary(c.text, 79);
        EXPECT_EQ(cut.size(), c.expectedLength) << test::Narrow(c.text);
        EXPECT_EQ(cut, c.text.substr(0, c.expectedLength));
    }
    std::wstring japanese = L"ファイル";
    EXPECT_EQ(CutAtCharBoundary(japanese, 3), L"ファイ");
}

TEST(TrimSpaces, OnlySpacesAtEitherEnd) {
    EXPECT_EQ(TrimSpaces(L"  a b  "), L"a b");
    EXPECT_EQ(TrimSpaces(L"\ta\t"), L"\ta\t");
    EXPECT_EQ(TrimSpaces(L"   "), L"");
}

TEST(DispatchTable, EveryNameFindsItsRowAndDrawer) {
    struct Case {
        const wchar_t* name;
        int32_t row;
        DrawerKind drawer;
    };
    const Case cases[] = {
        // A few rows, each from a different part of the table; both names of a shared row.
        {L"PictureBoxDC", 1, DrawerKind::PictureBox},
        {L"TextBox", 2, DrawerKind::TextBox},
        {L"Edit", 2, DrawerKind::TextBox},
        {L"OptionButton", 6, DrawerKind::Nothing},
        {L"ScrollBar", 9, DrawerKind::Nothing},
        {L"HScrollBar", 10, DrawerKind::HScrollBar},
        {L"DriveListBox", 12, DrawerKind::ComboBox},
        {L"ToolbarWindow32", 16, DrawerKind::ToolBar},
        {L"Data", 18, DrawerKind::Nothing},
        {L"MDIClient", 21, DrawerKind::MdiClient},
        {L"Static", 22, DrawerKind::Static},
        // Exact and case-sensitive: near misses are unlisted classes.
        {L"edit", 23, DrawerKind::Unlisted},
        {L"BUTTON", 23, DrawerKind::Unlisted},
        {L"ComboBoxEx32", 23, DrawerKind::Unlisted},
        {L"msctls_statusbar32", 23, DrawerKind::Unlisted},
        {L"Static ", 23, DrawerKind::Unlisted},
        {L"", 23, DrawerKind::Unlisted},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DispatchRow(c.name), c.row) << test::Narrow(c.name);
        EXPECT_EQ(LookupDrawer(c.name), c.drawer) << test::Narrow(c.name);
    }
}

TEST(ClassifyButton, SingleBitTestsInOrderWithGroupBoxAsFrame) {
    struct Case {
        uint32_t style;
        ButtonLook look;
    };
    const Case cases[] = {
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
        {0xB, ButtonLook::PushButton},  // BS_OWNERDRAW
        {0xC, ButtonLook::Nothing},     // bit 0x4
        {0xF, ButtonLook::PushButton},  // all four low bits: not a group box
        {0x50010007, ButtonLook::GroupFrame},  // with WS_CHILD | WS_VISIBLE | WS_TABSTOP
        {0x50010003, ButtonLook::PushButton},
        {0x50010004 | 0x20, ButtonLook::Nothing},  // BS_LEFTTEXT does not change the type
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyButton(c.style), c.look) << std::hex << c.style;
}

TEST(HasStyleBits, AnyBitOfTheMaskIsEnough) {
    EXPECT_TRUE(HasStyleBits(0x00800000, style_bits::kCaption));
    EXPECT_TRUE(HasStyleBits(0x00400000, style_bits::kCaption));
    EXPECT_FALSE(HasStyleBits(0x00300000, style_bits::kCaption));
    EXPECT_TRUE(HasStyleBits(0x08000000, style_bits::kMaximizeBox | style_bits::kDisabled));
    EXPECT_FALSE(HasStyleBits(0x00020000, style_bits::kMaximizeBox | style_bits::kDisabled));  // WS_MINIMIZEBOX
}

TEST(NeedsFor, ReadsOnlyWhatTheDrawerUses) {
    struct Case {
        const wchar_t* name;
        uint32_t style;
        bool text, client, children, firstDescendant;
    };
    const uint32_t both = style_bits::kHScroll | style_bits::kVScroll;
    const Case cases[] = {
        {L"Edit", 0, true, false, false, false},
        {L"Edit", both, true, true, false, false},
        {L"ListBox", style_bits::kVScroll, false, true, false, false},
        {L"ListBox", 0, false, false, false, false},
        {L"MDIClient", 0, false, false, true, false},
        {L"MDIClient", style_bits::kHScroll, false, true, true, false},
        {L"Frame", 0, true, false, true, false},
        {L"Button", 0x7, true, false, true, false},
        {L"Button", 0x2, true, false, false, false},
        {L"Button", 0x4, false, false, false, false},
        {L"CommandButton", 0, true, false, false, false},
        {L"Static", 0, true, false, false, false},
        {L"ComboBox", both, false, false, false, true},
        {L"DriveListBox", 0, false, false, false, true},
        {L"ToolbarWindow32", both, false, false, false, false},
        {L"ReBarWindow32", 0, false, false, false, false},
        {L"PictureBoxDC", 0, false, false, false, false},
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
