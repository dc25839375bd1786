#pragma once
// A global hotkey as the settings file holds it: readable text such as "Ctrl+Alt+R", or "NONE"
// for an action without a key. Plain C++: the key is a Windows virtual-key code, the modifiers
// are this file's own bits (the same values RegisterHotKey takes).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plumbo {

inline constexpr uint32_t kHotKeyAlt = 1;
inline constexpr uint32_t kHotKeyCtrl = 2;
inline constexpr uint32_t kHotKeyShift = 4;
inline constexpr uint32_t kHotKeyWin = 8;

inline constexpr std::wstring_view kHotKeyNone = L"NONE";

struct HotKey {
    uint32_t modifiers = 0;  // kHotKey* bits
    uint32_t key = 0;        // virtual-key code; 0: the action has no key

    bool None() const { return key == 0; }
    friend bool operator==(const HotKey&, const HotKey&) = default;
};

// The actions that can have a key, in the order of the settings file and the dialog.
enum class HotKeyAction { Rulers, Capture, Redraw, Size, Measure };
inline constexpr int kHotKeyActionCount = 5;

// "Ctrl+Alt+Shift+Win+" before the key's name, in that order. Letters, digits, F1 to F24 and the
// usual named keys by name ("Space", "PageUp", "Num5"); any other key as its code in hex ("0xBA").
std::wstring FormatHotKey(HotKey key);

// A key that types a character, moves the caret or drives an input method, with no Ctrl, Alt or
// Win: a letter, a digit, punctuation, the number pad, Space, Enter, Tab, Backspace, Delete,
// Insert, Home, End, Page Up, Page Down, Esc, an arrow, alone or with Shift. As a global hotkey
// it would take that key from everything typed anywhere. Keys that type nothing (F1 to F24,
// PrintScreen, Pause, the volume keys) do no harm alone.
bool TakesTyping(HotKey key);

// Reads what FormatHotKey writes, in any case, modifiers in any order, spaces around the plus
// signs allowed. "NONE" is a switched-off action. Anything else (no key, a modifier as the key,
// an unknown name, a key that TakesTyping) is nullopt.
std::optional<HotKey> ParseHotKey(std::wstring_view text);

}  // namespace plumbo
