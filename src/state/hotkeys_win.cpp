#include "state/hotkeys_win.h"

#include "core/texts.h"
#include "platform/modal_win.h"

namespace plumbo {

static_assert(kHotKeyAlt == MOD_ALT && kHotKeyCtrl == MOD_CONTROL && kHotKeyShift == MOD_SHIFT &&
              kHotKeyWin == MOD_WIN);

namespace {

// One message naming the keys of the actions that got none.
void ReportTaken(const std::array<HotKey, kHotKeyActionCount>& keys, const std::vector<HotKeyAction>& taken) {
    std::wstring names;
    for (HotKeyAction action : taken) {
        if (!names.empty()) names += L", ";
        names += FormatHotKey(keys[static_cast<size_t>(action)]);
    }
    ModalMessageBox(nullptr, FillIn(Texts().hotKeyTaken, {names}).c_str(), Texts().messageTitle,
                    MB_OK | MB_ICONWARNING);
}

}  // namespace

// Windows fires a hotkey whichever window has the keyboard. Wine matches it in its server as a
// key enters Wine and does not grab the key on the X server (Wine 8's X11 driver has no hotkey
// code): in a Wine desktop the keys work while one of its windows has the X keyboard focus,
// and not while another X program's window has it.
void RegisterHotKeys(Program& program) {
    UnregisterHotKeys(program.mainWindow);
    std::array<HotKey, kHotKeyActionCount>& keys = program.settings.hotKeys;
    const std::array<HotKey, kHotKeyActionCount> asked = keys;
    std::vector<HotKeyAction> taken;
    for (const auto& [action, command] : kHotKeyCommands) {
        HotKey& key = keys[static_cast<size_t>(action)];
        if (key.None()) continue;
        // Held down, a key would repeat its action many times a second.
        if (RegisterHotKey(program.mainWindow, static_cast<int>(command), key.modifiers | MOD_NOREPEAT, key.key))
            continue;
        taken.push_back(action);
        key = HotKey{};
    }
    if (!taken.empty()) ReportTaken(asked, taken);
}

void UnregisterHotKeys(HWND window) {
    for (const auto& [action, command] : kHotKeyCommands) UnregisterHotKey(window, static_cast<int>(command));
}

}  // namespace plumbo
