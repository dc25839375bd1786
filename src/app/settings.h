#pragma once
// The settings variables: program-wide, filled from "plumbo.ini" at start-up and changed by
// the menu commands and the settings dialog. gTani lives only for the run.
#include <cstdint>
#include <string>

namespace plumbo {

inline std::wstring gAppPath;  // the program's folder, always ending in a backslash
inline uint32_t gColorMej = 0;   // ruler body (COLORREF)
inline uint32_t gColorLine = 0;  // tick lines
inline uint32_t gColorNo = 0;    // numbers
inline bool gZorderFlg = false;  // rulers above all other windows
inline bool gToumeiFlg = false;  // transparent look
inline bool gInsideFlg = false;  // rulers inside the target's frame

// Unit of the scales: 0 millimetres, 1 inch in tenths, 2 pixels, 4 inch in eighths.
inline int gTani = 0;

}  // namespace plumbo
