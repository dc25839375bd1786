#pragma once
// What the features share, and the narrow ways they reach each other. The shell owns the one
// Program, fills in its services at start-up and hands it to every feature: no feature reaches
// for a global, and no feature includes another.
#include <windows.h>

#include <memory>
#include <string>

#include "core/settings_rules.h"
#include "core/units.h"
#include "platform/picture_win.h"
#include "state/calibrations_win.h"
#include "state/command_ids.h"
#include "state/settings_store_win.h"

namespace plumbo {

// The window the rulers follow: the foreground window as tracking last saw it.
struct TargetWindow {
    HWND hwnd = nullptr;
    RECT rect{};
    UINT showCmd = 0;
};

// The two rulers, as the other features use them.
class RulerService {
public:
    virtual ~RulerService() = default;
    virtual bool Shown() const = 0;
    // Both rulers, their tracking of the foreground window and the "表示"/"非表示" marks.
    virtual void Show(bool show) = 0;
    // Whether the rulers stand in the topmost band right now, and moving them in or out.
    virtual bool OnTop() const = 0;
    virtual void SetOnTop(bool onTop) = 0;
    virtual RECT HorizontalRect() const = 0;  // screen pixels
    virtual RECT VerticalRect() const = 0;
    // New lengths after the target was resized: the horizontal ruler's width and the vertical
    // ruler's height, in twips.
    virtual void SetLengths(double horizontalTwips, double verticalTwips) = 0;
    // Colours, stacking and look from Program::settings, and scales in Program::unit.
    virtual void ApplySettings() = 0;
    // Tracking pauses while a menu, a dialog or a capture needs the target to stay put. Calls
    // nest: tracking runs again after as many resumes as suspends.
    virtual void SuspendTracking() = 0;
    virtual void ResumeTracking() = 0;
    // For a key pressed over another program: the foreground window becomes the target, as
    // tracking would take it, whether or not the rulers are shown. False when there is nothing
    // to act on: the desktop or no window in front, or one of ours with no target behind it.
    virtual bool TargetForeground() = 0;
};

enum class ViewerMode { Bitmap, Metafile };

// What a re-drawn picture was played from, kept beside its metafile for the files that are
// written from the parts themselves.
class RedrawnParts {
public:
    virtual ~RedrawnParts() = default;
    // The parts as an SVG document in UTF-8, its texts measured on reference as the metafile's
    // were; empty when it cannot be written.
    virtual std::string Svg(HDC reference) const = 0;
};

// The picture viewer.
class ViewerService {
public:
    virtual ~ViewerService() = default;
    virtual HWND Window() const = 0;
    // Sizes the client area to width x height pixels, its outer top-left corner at (left, top),
    // restoring the viewer first if it was minimised. Not shown yet.
    virtual void PlaceClient(int left, int top, int width, int height) = 0;
    // Shows the picture (an empty one keeps what the viewer held, parts and all) in a mode, with
    // its natural size in pixels (100 %) and, for a re-drawn one, its parts; activates the
    // viewer and enables the mode's menu items.
    virtual void Show(Picture picture, ViewerMode mode, SIZE naturalSize, std::unique_ptr<const RedrawnParts> parts) = 0;
    virtual void Hide() = 0;
};

// The menus and the command queue, kept by the shell.
class CommandService {
public:
    virtual ~CommandService() = default;
    virtual void Check(CommandId id, bool checked) = 0;
    virtual bool IsChecked(CommandId id) const = 0;
    virtual void Enable(CommandId id, bool enabled) = 0;
    // Pops up one of the menus at a screen point. The chosen command runs from the main loop
    // once the menu has closed, never inside the click that opened it.
    virtual void PopUp(CommandId menu, HWND owner, POINT screenPoint) = 0;
    // Runs a command from the main loop; while a modal window is open it waits for it to close.
    virtual void Post(CommandId id) = 0;
};

struct Program {
    Settings settings;
    RulerUnit unit = RulerUnit::Millimetre;  // for the run only; not stored
    std::wstring folder;                     // the program's folder, ending in a backslash
    TargetWindow target;
    SettingsFile settingsFile;
    Calibrations calibrations;  // true millimetres, by monitor, in settingsFile
    HWND mainWindow = nullptr;  // hidden; owns the tray icon and our dialogs
    HICON icon = nullptr;
    // From the measuring mode's start until everything is put back: its picture has the keyboard.
    bool measuring = false;

    RulerService* rulers = nullptr;
    ViewerService* viewer = nullptr;
    CommandService* commands = nullptr;

    // The settings file: beside the program when it is there or can be made there, else in
    // %APPDATA%\Plumbo, which is made when missing.
    std::wstring IniPath() const;
    // Writes one setting's current value to the settings file, and what the calibrations left
    // for the next save.
    void Save(SettingId id);
};

}  // namespace plumbo
