#pragma once
// Every command the user can choose, from a menu or (later) a key. The numbers are the menu
// items' ids; separators have ids too so the menu table can name every row.
#include <cstdint>

namespace plumbo {

enum class CommandId : uint32_t {
    // The viewer's menu bar.
    FileMenu = 1000,
    CopyToClipboard,
    SaveMenu,
    SaveBitmap,
    SaveEnhancedMetafile,
    SaveWindowsMetafile,
    ZoomMenu,
    Zoom150,
    Zoom100,
    Zoom50,
    ZoomSeparator,
    ZoomTyped,
    // The tray icon's control menu.
    ControlMenu,
    ShowRulers,
    HideRulers,
    OpenSettings,
    ControlSeparator1,
    ShowVersion,
    OpenHelp,
    ControlSeparator2,
    Exit,
    // The rulers' menu.
    RulerMenu,
    RulerSettingsMenu,
    UnitMillimetres,
    UnitInchEighths,
    UnitInchTenths,
    UnitPixels,
    RulerSeparator1,
    PlaceOutside,
    PlaceInside,
    RulerSeparator2,
    TransparentLook,
    RulerSeparator3,
    CaptureBitmap,
    RedrawAsVector,
    RulerSeparator4,
    SetTargetSize,
    // Later additions to the menus; the menu table places them.
    SavePng,
    SaveSvg,
    RulerSeparator5,
    Measure,
};

}  // namespace plumbo
