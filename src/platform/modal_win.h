#pragma once
// Modal windows without a loop of their own in every dialog. While a ModalScope lives, every
// other window of this thread is disabled, so nothing of ours but the modal window takes
// input; the windows it disabled are enabled again when it ends. Scopes nest (a colour
// dialog over the settings dialog), each undoing only what it did.
#include <windows.h>

#include <functional>
#include <vector>

namespace plumbo {

class ModalScope {
public:
    // modal: the window that keeps its input (nullptr for a system dialog or message box
    // created inside the scope, which the scope finds when it is asked to bring it forward).
    // systemDialogOwner: the owner of such a dialog, left for the dialog to disable. The system
    // enables an owner again as its dialog goes only if it disabled it, and Windows then hands
    // the activation to the owner; an owner we disabled first would stay disabled at that moment,
    // and another program's window would be activated. (Wine hands it on the same way; there our
    // modal loop stacks and activates its dialog again afterwards.)
    explicit ModalScope(HWND modal = nullptr, HWND systemDialogOwner = nullptr);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    static bool Active();
    // Brings the innermost modal window forward and flashes it: a click on one of our
    // disabled windows is answered visibly, as Windows does for a dialog's owner.
    static void BringForward();
    // Called from the main loop each time the last scope has ended.
    static void SetOnAllEnded(std::function<void()> callback);
    // Calls task once no modal window and no pop-up menu of ours is open: at once when none
    // is, else as the last one ends, inside its ending (so the task hands its work on to the
    // main loop).
    static void WhenNoneOpen(std::function<void()> task);
    // Whether a task waits for that.
    static bool Waiting();

private:
    HWND modal_;
    std::vector<HWND> disabled_;
};

// While a pop-up menu runs its loop. It disables nothing (a click elsewhere closes the menu), but
// work that waits for modal windows waits for it too.
class MenuScope {
public:
    MenuScope();
    ~MenuScope();
    MenuScope(const MenuScope&) = delete;
    MenuScope& operator=(const MenuScope&) = delete;

    static bool Open();
};

// Shows window, gives it the activation and the focus (focus: a control, or nullptr for the
// window), and handles messages until it is hidden or destroyed, by whatever means: a button,
// Esc, Alt+F4, the program ending. The dialog's keys (Tab, Enter, Esc) go through
// IsDialogMessage. A WM_QUIT seen meanwhile is passed on to the main loop, and the answer is
// false: the program is ending, and nothing the window hid may come back.
bool RunModal(HWND window, HWND focus);

// A message box with every other window of ours disabled while it is open.
int ModalMessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT flags);

}  // namespace plumbo
