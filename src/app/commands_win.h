#pragma once
// Each subsystem registers the menu commands it owns.
namespace plumbo {

void RegisterUnitCommands();      // ruler menu: units, placement
void RegisterViewerCommands();    // ruler menu: capture, window size; viewer: zoom
void RegisterExportCommands();    // viewer: clipboard, save
void RegisterMetaCommand();       // ruler menu: vector re-drawing
void RegisterSettingsCommands();  // control menu: settings, version box, help

}  // namespace plumbo
