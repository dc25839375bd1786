#pragma once
// Which class a control is drawn as when its own name is not one the drawers know. Toolkits
// (Delphi's VCL, WinForms, VB6, ATL) register the standard controls again under names of their
// own: the base class's window procedure, styles and messages. Decided in this order: the
// system's answer for the class a superclass is made from; the toolkits' naming habits; for a
// name that suggests a user32 control, that control's answer to WM_GETDLGCODE as well; and for a
// name that suggests nothing, a specific answer to WM_GETDLGCODE alone. Plain C++.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plumbo {

// The WM_GETDLGCODE answers that tell a control's family.
namespace dialog_code {
inline constexpr uint32_t kWantArrows = 0x1;          // list and combo boxes among others
inline constexpr uint32_t kHasSetSel = 0x8;           // edits
inline constexpr uint32_t kDefPushButton = 0x10;
inline constexpr uint32_t kUndefPushButton = 0x20;
inline constexpr uint32_t kRadioButton = 0x40;
inline constexpr uint32_t kStatic = 0x100;
inline constexpr uint32_t kButton = 0x2000;
}  // namespace dialog_code

// What a toolkit's name suggests: the class it is drawn as, and whether that is a user32 control
// whose answer to WM_GETDLGCODE has to confirm it (a common control's or container's name does not).
struct NameSuggestion {
    std::wstring drawnAs;
    bool confirm = false;
};
// nullopt for a name that follows none of the habits (an ATL name, a program's own class).
std::optional<NameSuggestion> SuggestFromToolkitName(std::wstring_view normalisedClass);

// Whether the answer to WM_GETDLGCODE confirms a suggested user32 class.
bool DialogCodeConfirms(std::wstring_view drawnAs, uint32_t code);

// The class a window whose name suggests nothing is drawn as by its answer alone; empty when the
// answer tells nothing specific.
std::wstring ClassByDialogCode(uint32_t code);

// The decision: a name the dispatch table knows, or `own` when nothing tells. `own` is the
// window's normalised class name; `real` the system's name for the class it is made from (on
// Windows, RealGetWindowClassW; Wine answers the window's own name); `dialogCode` asks the
// window, only where a step needs it (nullopt: no answer). A control's own messages, in the
// WM_USER range, mean something else to every class: only a name can tell a common control, and
// the answer alone gives user32's controls only, whose readers send the system's messages.
std::wstring DecideClass(std::wstring_view own, std::wstring_view real,
                         const std::function<std::optional<uint32_t>()>& dialogCode);

}  // namespace plumbo
