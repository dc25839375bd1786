#pragma once
// True millimetres on one monitor. Windows' millimetres assume 96 pixels per inch at 100 %, so
// on a real monitor they are rarely the millimetres of a ruler held against the glass. The user
// measures a line of 100 of Windows' millimetres and types what it measures; from then on the
// millimetre and inch scales of that monitor use the pixels per millimetre this gives. Pixels
// stay pixels. Plain C++: the rules for the measurement, the monitor's identity and size read
// from its EDID, and the settings file's section for it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/units.h"

namespace plumbo {

// One section per monitor, "[CALIBRATION <identity>]", holding the monitor's pixels per true
// millimetre and the resolution they were measured at. Only this version asks for these
// sections: older copies leave them as they are.
inline constexpr std::wstring_view kSectionCalibrationPrefix = L"CALIBRATION ";
inline constexpr std::wstring_view kKeyPixelsPerMm = L"PIXELS_PER_MM";
// "<width>x<height>" in the monitor's pixels. Sections written before it have none.
inline constexpr std::wstring_view kKeyResolution = L"RESOLUTION";

// The line the user measures, in Windows' millimetres. It is drawn in whole pixels; the half
// pixel it may be off is about a tenth of the smallest division of a ruler held against it.
inline constexpr double kCalibrationLineMm = 100.0;
// A measurement of the line outside 50 to 200 mm is a slip, not a monitor.
inline constexpr double kShortestMeasuredMm = 50.0;
inline constexpr double kLongestMeasuredMm = 200.0;

// Pixels per millimetre as Windows counts them at a resolution (twips per pixel).
constexpr double NominalPixelsPerMm(double twipsPerPixel) { return kTwipsPerMm / twipsPerPixel; }

// How long the line is drawn, in whole pixels.
int32_t CalibrationLinePixels(double twipsPerPixel);

// A measured length as typed: a plain positive decimal between blanks, the full-width forms an
// input method types included ("９８．５"). Anything else is no length.
std::optional<double> ParseMeasuredMm(std::wstring_view typed);

// The pixels per true millimetre a measurement of the line gives, or nullopt outside the 50 to
// 200 mm a monitor can measure.
std::optional<double> PixelsPerMmFromMeasurement(double measuredMm, double twipsPerPixel);
// What the line measures on a monitor of that many pixels per true millimetre, to a tenth of a
// millimetre: the value the dialog shows for a stored calibration.
double MeasuredMmFor(double pixelsPerMm, double twipsPerPixel);
// The text the dialog shows for a length: "98.5", "100".
std::wstring FormatMeasuredMm(double mm);

// How many of our layout twips one true twip takes on the screen: multiplies every millimetre
// and inch length before it goes to pixels. 1 exactly without a calibration, and for one the
// line would measure outside 50 to 200 mm at this resolution (stored at another one).
double LengthScale(std::optional<double> pixelsPerMm, double twipsPerPixel);

// ---- The settings file ----

std::wstring CalibrationSection(std::wstring_view monitorIdentity);

// A monitor's resolution in its own pixels.
struct Resolution {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const Resolution&, const Resolution&) = default;
};

// What the file's values say: pixels per millimetre and the resolution they were measured at,
// none, or text to be repaired by removing the section. A RESOLUTION missing or unreadable
// leaves measuredAt empty: the value is taken as measured at the present resolution. A value
// LengthScale does not use is kept: it fits again once the resolution it was measured at is back.
struct StoredCalibration {
    std::optional<double> pixelsPerMm;
    std::optional<Resolution> measuredAt;
    bool unreadable = false;
    friend bool operator==(const StoredCalibration&, const StoredCalibration&) = default;
};
StoredCalibration ParseStoredCalibration(std::optional<std::wstring> pixelsPerMm,
                                         std::optional<std::wstring> resolution);
// As written: a decimal with a point whatever the locale, enough digits to give the measured
// length back to a hundredth of a millimetre.
std::wstring FormatPixelsPerMm(double pixelsPerMm);
std::wstring FormatResolution(Resolution resolution);

// The stored pixels per millimetre on the same panel at the resolution it runs at now: its long
// side holds that many more or fewer pixels (turned to portrait, it is still the long side).
double PixelsPerMmAt(double pixelsPerMm, Resolution measuredAt, Resolution now);

// ---- The monitor, from its EDID ----

// A name for the monitor that stays with the panel: its maker, product code and serial from the
// EDID ("GSM5B7F-0001E240"), as Windows' display numbers (\\.\DISPLAY1) change with the port,
// the order the adapter finds monitors in and docking. Without a usable EDID, the device path
// Windows gives the monitor, cut to the letters a section name may hold. Empty when there is
// neither.
std::wstring MonitorIdentity(std::span<const uint8_t> edid, std::wstring_view devicePath);

// The picture's width and height in millimetres the EDID gives, as the panel stands unturned:
// the first detailed timing's, else the basic block's centimetres. nullopt when it gives none
// (projectors) or is no EDID.
struct ImageSizeMm {
    double width = 0.0;
    double height = 0.0;
    friend bool operator==(const ImageSizeMm&, const ImageSizeMm&) = default;
};
std::optional<ImageSizeMm> EdidImageSizeMm(std::span<const uint8_t> edid);

// The measurement to start from: what the line would measure across a picture of that size
// over the monitor's width in pixels, to a tenth of a millimetre; nullopt when that is no
// length a monitor measures. A monitor turned to portrait has its picture's height across.
std::optional<double> MeasuredMmFromEdid(ImageSizeMm image, int32_t monitorWidthPx, int32_t monitorHeightPx,
                                         double twipsPerPixel);

}  // namespace plumbo
