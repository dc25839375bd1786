// Which feature runs each command: the one place that knows them all. A new command is a
// function in its feature and one row here.
#include "capture/export_win.h"
#include "capture/raster_capture_win.h"
#include "core/texts.h"
#include "dialogs/about_win.h"
#include "dialogs/help_win.h"
#include "platform/modal_win.h"
#include "shell/startup_win.h"
#include "vector/meta_command_win.h"

namespace plumbo {

namespace {

// A minimised window is a small caption far off the screen: a picture or a size of it would be
// of that caption, and a viewer placed beside it out of the user's reach. The user is told.
bool TargetMinimized(const Program& program) {
    if (!IsIconic(program.target.hwnd)) return false;
    ModalMessageBox(program.mainWindow, Texts().targetMinimized, Texts().messageTitle, MB_OK | MB_ICONINFORMATION);
    return true;
}

}  // namespace

std::map<CommandId, std::function<void()>> Shell::CommandTable() {
    using C = CommandId;
    return {
        // The viewer's menu bar.
        {C::CopyToClipboard, [this] { CopyViewerPicture(viewer_); }},
        {C::SaveBitmap, [this] { SaveViewerPicture(viewer_, PictureFileFormat::Bmp); }},
        {C::SaveEnhancedMetafile, [this] { SaveViewerPicture(viewer_, PictureFileFormat::Emf); }},
        {C::SaveWindowsMetafile, [this] { SaveViewerPicture(viewer_, PictureFileFormat::Wmf); }},
        {C::SavePng, [this] { SaveViewerPicture(viewer_, PictureFileFormat::Png); }},
        {C::SaveSvg, [this] { SaveViewerPicture(viewer_, PictureFileFormat::Svg); }},
        {C::Zoom150, [this] { viewer_.Zoom(1.5); }},
        {C::Zoom100, [this] { viewer_.Zoom(1.0); }},
        {C::Zoom50, [this] { viewer_.Zoom(0.5); }},
        {C::ZoomTyped, [this] { viewer_.ZoomTyped(); }},
        // The tray icon's control menu.
        {C::ShowRulers, [this] { rulers_.ShowParked(); }},
        {C::HideRulers, [this] { rulers_.Show(false); }},
        {C::OpenSettings, [this] { settingsDialog_.Open(); }},
        {C::ShowVersion, [this] { ShowVersionBox(program_.mainWindow, program_.target.hwnd); }},
        {C::OpenHelp, [this] { OpenHelp(program_); }},
        {C::Exit, [this] { End(); }},
        // The rulers' menu.
        {C::UnitMillimetres, [this] { rulers_.SetUnit(RulerUnit::Millimetre); }},
        {C::UnitInchEighths, [this] { rulers_.SetUnit(RulerUnit::InchEighths); }},
        {C::UnitInchTenths, [this] { rulers_.SetUnit(RulerUnit::InchTenths); }},
        {C::UnitPixels, [this] { rulers_.SetUnit(RulerUnit::Pixel); }},
        {C::PlaceOutside, [this] { rulers_.SetInside(false); }},
        {C::PlaceInside, [this] { rulers_.SetInside(true); }},
        {C::TransparentLook, [this] { rulers_.ToggleTransparent(); }},
        {C::CaptureBitmap, [this] { if (!TargetMinimized(program_)) CaptureTargetAsBitmap(program_); }},
        {C::RedrawAsVector, [this] { if (!TargetMinimized(program_)) RedrawTargetAsVector(program_); }},
        {C::SetTargetSize, [this] { if (!TargetMinimized(program_)) sizeDialog_.Open(); }},
        {C::Measure, [this] { measure_.Start(); }},
    };
}

}  // namespace plumbo
