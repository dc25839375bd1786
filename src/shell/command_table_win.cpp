// Which feature runs each command: the one place that knows them all. A new command is a
// function in its feature and one row here.
#include <algorithm>

#include "capture/export_win.h"
#include "capture/raster_capture_win.h"
#include "core/texts.h"
#include "dialogs/about_win.h"
#include "dialogs/help_win.h"
#include "platform/modal_win.h"
#include "shell/startup_win.h"
#include "vector/draw/accessible_drawers.h"
#include "vector/read/accessible_reader_win.h"
#include "vector/draw/class_names.h"
#include "vector/meta_command_win.h"
#include "vector/read/query_win.h"

namespace plumbo {

namespace {

// What a window paints itself and tells assistive technology about, as boxes inside the window's
// box, each element inside its parent element; hidden ones and what they hold are left out.
void AddAccessibleBoxes(HWND hwnd, int32_t windowBox, AccessibleBudget& budget, std::vector<ControlBox>& boxes) {
    std::vector<int32_t> parentAt{windowBox};  // the box an element of each depth lies in
    for (const AccessibleElement& e : budget.Read(hwnd)) {
        if (e.depth < 0 || static_cast<size_t>(e.depth) >= parentAt.size()) continue;
        parentAt.resize(static_cast<size_t>(e.depth) + 1);
        if (HiddenByState(e.state) || e.rect.right <= e.rect.left || e.rect.bottom <= e.rect.top)
            continue;
        const PixelRect r{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom};
        parentAt.push_back(static_cast<int32_t>(boxes.size()));
        boxes.push_back({r, r, parentAt[static_cast<size_t>(e.depth)]});
    }
}

// A minimised window is a small caption far off the screen: a picture or a size of it would be
// of that caption, and a viewer placed beside it out of the user's reach. The user is told.
bool TargetMinimized(const Program& program) {
    if (!IsIconic(program.target.hwnd)) return false;
    ModalMessageBox(program.mainWindow, Texts().targetMinimized, Texts().messageTitle, MB_OK | MB_ICONINFORMATION);
    return true;
}

}  // namespace

std::vector<ControlBox> TargetControlBoxes(HWND target) {
    auto onScreen = [](HWND h, bool inner) {
        RECT r{};
        if (inner) {
            GetClientRect(h, &r);
            MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
        } else {
            GetWindowRect(h, &r);
        }
        return PixelRect{r.left, r.top, r.right, r.bottom};
    };
    std::vector<HWND> handles{target};
    std::vector<ControlBox> boxes{{onScreen(target, true), onScreen(target, true), -1}};
    std::vector<HWND> descendants;
    GetAllDescendants(target, descendants);
    for (HWND h : descendants) {
        if (!IsWindowVisible(h)) continue;
        // Parents come before their children in the walk.
        const auto parent = std::find(handles.begin(), handles.end(), GetParent(h));
        if (parent == handles.end()) continue;
        boxes.push_back({onScreen(h, false), onScreen(h, true), static_cast<int32_t>(parent - handles.begin())});
        handles.push_back(h);
    }
    // As the re-drawing reads them: a window with no child windows, and each control whose class
    // no drawer knows, within one budget for the whole walk.
    AccessibleBudget budget;
    if (handles.size() == 1) AddAccessibleBoxes(target, 0, budget, boxes);
    for (size_t i = 1, windows = handles.size(); i < windows; ++i)
        if (LookupDrawer(GetControlClass(handles[i])) == DrawerKind::Unlisted)
            AddAccessibleBoxes(handles[i], static_cast<int32_t>(i), budget, boxes);
    return boxes;
}

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
