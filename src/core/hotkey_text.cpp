#include "core/hotkey_text.h"

#include <array>
#include <cwchar>

namespace plumbo {

namespace {

struct NamedKey {
    uint32_t key;
    std::wstring_view name;
};

// Keys whose name is not their character. Letters and digits are their own names, F1 to F24
// and Num0 to Num9 are counted.
constexpr std::array<NamedKey, 27> kNamedKeys = {{
    {0x08, L"Backspace"}, {0x09, L"Tab"},      {0x0D, L"Enter"},     {0x13, L"Pause"},
    {0x1B, L"Esc"},       {0x20, L"Space"},    {0x21, L"PageUp"},    {0x22, L"PageDown"},
    {0x23, L"End"},       {0x24, L"Home"},     {0x25, L"Left"},      {0x26, L"Up"},
    {0x27, L"Right"},     {0x28, L"Down"},     {0x2C, L"PrintScreen"}, {0x2D, L"Insert"},
    {0x2E, L"Delete"},    {0x6A, L"NumMultiply"}, {0x6B, L"NumAdd"},  {0x6D, L"NumSubtract"},
    {0x6E, L"NumDecimal"}, {0x6F, L"NumDivide"}, {0x90, L"NumLock"},  {0x91, L"ScrollLock"},
    {0xAD, L"VolumeMute"}, {0xAE, L"VolumeDown"}, {0xAF, L"VolumeUp"},
}};

constexpr uint32_t kF1 = 0x70, kF24 = 0x87, kNum0 = 0x60, kNum9 = 0x69;

struct Modifier {
    uint32_t bit;
    std::wstring_view name;
};
constexpr std::array<Modifier, 4> kModifiers = {{
    {kHotKeyCtrl, L"Ctrl"}, {kHotKeyAlt, L"Alt"}, {kHotKeyShift, L"Shift"}, {kHotKeyWin, L"Win"}}};

// Shift, Ctrl, Alt (either side or both) and the Windows keys only ever modify.
bool IsModifierKey(uint32_t key) {
    return (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C || (key >= 0xA0 && key <= 0xA5);
}

// Virtual-key codes that type, move the caret or drive an input method: see TakesTyping.
bool TypingKey(uint32_t key) {
    return key == 0x08 || key == 0x09 || key == 0x0D || key == 0x20 ||  // Backspace, Tab, Enter, Space
           (key >= 0x15 && key <= 0x1F) ||                 // Esc among the input method's (kana, kanji, convert)
           (key >= 0x21 && key <= 0x28) ||                 // Page Up, Page Down, End, Home and the arrows
           key == 0x2D || key == 0x2E ||                   // Insert, Delete
           (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
           (key >= kNum0 && key <= 0x6F) ||                // the number pad's digits and signs
           (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDF) || key == 0xE2 ||  // punctuation
           key == 0xE5 || key == 0xE7 ||                   // a key the input method took, any character
           (key >= 0xF0 && key <= 0xF5);                   // the Japanese keyboard's 英数, かな and 半角/全角
}

// ASCII only: the file's names are ASCII, and the result must not depend on the locale.
wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

std::wstring_view Trim(std::wstring_view s) {
    const std::size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    return s.substr(first, s.find_last_not_of(L' ') - first + 1);
}

std::optional<uint32_t> ParseNumberAfter(std::wstring_view text, std::wstring_view prefix, int base) {
    if (text.size() <= prefix.size() || !SameText(text.substr(0, prefix.size()), prefix)) return std::nullopt;
    uint32_t value = 0;
    for (wchar_t c : text.substr(prefix.size())) {
        const wchar_t u = Upper(c);
        uint32_t digit = 0;
        if (u >= L'0' && u <= L'9') digit = u - L'0';
        else if (base == 16 && u >= L'A' && u <= L'F') digit = u - L'A' + 10;
        else return std::nullopt;
        value = value * base + digit;
        if (value > 0xFF) return std::nullopt;
    }
    return value;
}

std::optional<uint32_t> ParseKeyName(std::wstring_view name) {
    if (name.size() == 1) {
        const wchar_t u = Upper(name[0]);
        if ((u >= L'A' && u <= L'Z') || (u >= L'0' && u <= L'9')) return static_cast<uint32_t>(u);
        return std::nullopt;
    }
    for (const NamedKey& k : kNamedKeys)
        if (SameText(name, k.name)) return k.key;
    if (auto f = ParseNumberAfter(name, L"F", 10); f && *f >= 1 && *f <= kF24 - kF1 + 1) return kF1 + *f - 1;
    if (auto n = ParseNumberAfter(name, L"Num", 10); n && *n <= kNum9 - kNum0) return kNum0 + *n;
    if (auto code = ParseNumberAfter(name, L"0x", 16); code && *code != 0) return *code;
    return std::nullopt;
}

std::wstring KeyName(uint32_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= kF1 && key <= kF24) return L"F" + std::to_wstring(key - kF1 + 1);
    if (key >= kNum0 && key <= kNum9) return L"Num" + std::to_wstring(key - kNum0);
    for (const NamedKey& k : kNamedKeys)
        if (k.key == key) return std::wstring(k.name);
    wchar_t hex[8];
    std::swprintf(hex, 8, L"0x%02X", static_cast<unsigned>(key & 0xFF));
    return hex;
}

}  // namespace

bool TakesTyping(HotKey key) {
    return !(key.modifiers & (kHotKeyCtrl | kHotKeyAlt | kHotKeyWin)) && TypingKey(key.key);
}

std::wstring FormatHotKey(HotKey key) {
    if (key.None()) return std::wstring(kHotKeyNone);
    std::wstring text;
    for (const Modifier& m : kModifiers)
        if (key.modifiers & m.bit) text.append(m.name).append(L"+");
    return text + KeyName(key.key);
}

std::optional<HotKey> ParseHotKey(std::wstring_view text) {
    text = Trim(text);
    if (SameText(text, kHotKeyNone)) return HotKey{};
    HotKey result;
    for (;;) {
        const std::size_t plus = text.find(L'+');
        const std::wstring_view part = Trim(text.substr(0, plus));
        if (plus == std::wstring_view::npos) {
            const std::optional<uint32_t> key = ParseKeyName(part);
            if (!key || IsModifierKey(*key)) return std::nullopt;
            result.key = *key;
            if (TakesTyping(result)) return std::nullopt;
            return result;
        }
        bool known = false;
        for (const Modifier& m : kModifiers)
            if (SameText(part, m.name)) {
                result.modifiers |= m.bit;
                known = true;
            }
        if (!known) return std::nullopt;
        text.remove_prefix(plus + 1);
    }
}

}  // namespace plumbo
