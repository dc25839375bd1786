#pragma once
// The picture viewer (the main form shown with its menu bar): menu states by mode, placing it
// by its client size, and the zoom commands of metafile mode.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace plumbo {

class Window;

// Enables the viewer's save and zoom items for the picture's mode: in raster mode only
// "ビットマップ" of them; in metafile mode all. "クリップボードへコピー" is never touched.
void SetViewerMenuStates(bool metafileMode);

// Moves a window so its outer top-left corner is at (left, top) and its client area is
// clientWidth x clientHeight, all in screen pixels; the frame is measured, not assumed.
void PlaceWindowByClient(Window& window, int left, int top, int clientWidth, int clientHeight);

// Zoom to factor f: same left and top, client area = (widthWnd x heightWnd pixels) x f.
void ZoomViewer(Window& viewer, int32_t widthWnd, int32_t heightWnd, double f);

// The typed-percentage dialogue. ask() shows the input box (nothing = Cancel); refuse(text)
// tells the user why a reply was not taken. Loops until a usable percentage or Cancel.
std::optional<double> AskZoomPercent(const std::function<std::optional<std::wstring>()>& ask,
                                     const std::function<void(const std::wstring&)>& refuse, int32_t widthWnd,
                                     int32_t heightWnd, int32_t virtualWidth, int32_t virtualHeight);

void mMetaShow150_Click();
void mMetaShow100_Click();
void mMetaShow50_Click();
void mMetaShowInput_Click();

// "アクティブウインドのサイズ": the window-size dialog on the target.
void mMenuActiveSize_Click();

}  // namespace plumbo
