#include "shell/menu_table_win.h"

#include "core/texts.h"
#include "state/command_ids.h"

namespace plumbo {

namespace {

struct Row {
    int level;  // 1 a menu, 2 its item, 3 an item of a submenu
    CommandId id;
    const wchar_t* UiTexts::*caption;  // nullptr for a separator
    bool checked;
};

constexpr Row kMenus[] = {
    {1, CommandId::FileMenu, &UiTexts::fileMenu, false},
    {2, CommandId::CopyToClipboard, &UiTexts::copyToClipboard, false},
    {2, CommandId::SaveMenu, &UiTexts::saveMenu, false},
    {3, CommandId::SaveBitmap, &UiTexts::saveBitmap, false},
    {3, CommandId::SaveEnhancedMetafile, &UiTexts::saveEnhancedMetafile, false},
    {3, CommandId::SaveWindowsMetafile, &UiTexts::saveWindowsMetafile, false},
    {3, CommandId::SavePng, &UiTexts::savePng, false},
    {3, CommandId::SaveSvg, &UiTexts::saveSvg, false},
    {1, CommandId::ZoomMenu, &UiTexts::zoomMenu, false},
    {2, CommandId::Zoom150, &UiTexts::zoom150, false},
    {2, CommandId::Zoom100, &UiTexts::zoom100, false},
    {2, CommandId::Zoom50, &UiTexts::zoom50, false},
    {2, CommandId::ZoomSeparator, nullptr, false},
    {2, CommandId::ZoomTyped, &UiTexts::zoomTyped, false},
    {1, CommandId::ControlMenu, &UiTexts::controlMenu, false},
    {2, CommandId::ShowRulers, &UiTexts::showRulers, false},
    {2, CommandId::HideRulers, &UiTexts::hideRulers, true},
    {2, CommandId::OpenSettings, &UiTexts::openSettings, false},
    {2, CommandId::ControlSeparator1, nullptr, false},
    {2, CommandId::ShowVersion, &UiTexts::showVersion, false},
    {2, CommandId::OpenHelp, &UiTexts::openHelp, false},
    {2, CommandId::ControlSeparator2, nullptr, false},
    {2, CommandId::Exit, &UiTexts::exitProgram, false},
    {1, CommandId::RulerMenu, &UiTexts::rulerMenu, false},
    {2, CommandId::RulerSettingsMenu, &UiTexts::rulerSettingsMenu, false},
    {3, CommandId::UnitMillimetres, &UiTexts::unitMillimetres, true},
    {3, CommandId::UnitInchEighths, &UiTexts::unitInchEighths, false},
    {3, CommandId::UnitInchTenths, &UiTexts::unitInchTenths, false},
    {3, CommandId::UnitPixels, &UiTexts::unitPixels, false},
    {3, CommandId::RulerSeparator1, nullptr, false},
    {3, CommandId::PlaceOutside, &UiTexts::placeOutside, true},
    {3, CommandId::PlaceInside, &UiTexts::placeInside, false},
    {3, CommandId::RulerSeparator2, nullptr, false},
    {3, CommandId::TransparentLook, &UiTexts::transparentLook, false},
    {2, CommandId::RulerSeparator3, nullptr, false},
    {2, CommandId::CaptureBitmap, &UiTexts::captureBitmap, false},
    {2, CommandId::RedrawAsVector, &UiTexts::redrawAsVector, false},
    {2, CommandId::RulerSeparator4, nullptr, false},
    {2, CommandId::SetTargetSize, &UiTexts::setTargetSize, false},
    {2, CommandId::RulerSeparator5, nullptr, false},
    {2, CommandId::Measure, &UiTexts::measure, false},
};

}  // namespace

std::vector<MenuItemDef> MenuTable() {
    const UiTexts& t = Texts();
    std::vector<MenuItemDef> items;
    for (const Row& r : kMenus)
        items.push_back({r.level, static_cast<UINT>(r.id), r.caption ? t.*r.caption : L"-", r.checked});
    return items;
}

}  // namespace plumbo
