// True millimetres: the measurement of the 100 mm line, its value in the settings file, and the
// monitor's EDID. What a calibration does to the rulers' scales and the size dialog is checked
// with the rest of their arithmetic.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "core/calibration.h"

namespace plumbo {
namespace {

TEST(Calibration, AMeasurementOfTheLineGivesPixelsPerMillimetreWithinHalfToTwiceWindowsOwn) {
    // 100 mm at 96 dpi is 377.95 pixels, at 144 dpi 566.93; the calibration is the line's
    // pixels over the length measured, and gives the measurement back to a tenth.
    const struct { double measured, tpp; int32_t line; double pixelsPerMm, scale; std::wstring shown; } rows[] = {
        {94.5, 15, 378, 3.999500, 1.058201, L"94.5"}, {80, 15, 378, 4.724409, 1.25, L"80"}, {120, 10, 567, 4.724409, 0.833333, L"120"},
        {50, 15, 378, 7.559055, 2.0, L"50"}, {200, 15, 378, 1.889764, 0.5, L"200"}, {49.9, 15, 378, 0, 1, L""}, {200.1, 10, 567, 0, 1, L""}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.measured);
        const std::optional<double> pixelsPerMm = PixelsPerMmFromMeasurement(r.measured, r.tpp);
        EXPECT_EQ(CalibrationLinePixels(r.tpp), r.line);
        EXPECT_NEAR(pixelsPerMm.value_or(0), r.pixelsPerMm, 1e-6);
        EXPECT_NEAR(LengthScale(pixelsPerMm, r.tpp), r.scale, 1e-6);
        EXPECT_EQ(pixelsPerMm ? FormatMeasuredMm(MeasuredMmFor(*pixelsPerMm, r.tpp)) : L"", r.shown);
    }
    // Stored at 96 dpi, 3.78 pixels per mm is 200 mm of the line at 192 dpi: at the edge, used;
    // 3.7 is beyond it and counts as Windows' millimetres until the resolution is back.
    EXPECT_NEAR(LengthScale(3.779528, 7.5), 0.5, 1e-6);
    EXPECT_EQ(std::pair(LengthScale(3.7, 7.5), LengthScale(3.7, 15) < 1.0), std::pair(1.0, true));
    const struct { const wchar_t* typed; std::optional<double> want; } typed[] = {
        {L" 94.5 ", 94.5}, {L"９８．５", 98.5}, {L"100", 100.}, {L".5", .5},
        {L"", {}}, {L"-80", {}}, {L"8e1", {}}, {L"80mm", {}}, {L"1.2.3", {}}};
    for (const auto& t : typed) EXPECT_EQ(ParseMeasuredMm(t.typed), t.want) << t.typed;
}

TEST(Calibration, TheFilesValueIsReadRepairedAndWrittenAndTheMonitorNamedAndMeasuredByItsEdid) {
    // A resolution missing or unreadable leaves the value to the present one.
    const struct { std::optional<std::wstring> pixelsPerMm, resolution; StoredCalibration want; } stored[] = {
        {L"3.999500", L"1920x1080", {3.9995, Resolution{1920, 1080}}}, {L"  4.5  ", L" 800x1280 ", {4.5, Resolution{800, 1280}}}, {L"4.5", {}, {4.5, {}}},
        {L"4.5", L"1920x", {4.5, {}}}, {L"4.5", L"0x1080", {4.5, {}}}, {L"4.5", L"19x10x8", {4.5, {}}}, {{}, L"1920x1080", {}}, {L"   ", {}, {}},
        {L"abc", {}, {{}, {}, true}}, {L"-3", {}, {{}, {}, true}}, {L"0", {}, {{}, {}, true}}, {L"1e3", {}, {{}, {}, true}}, {L"4,5", L"1920x1080", {{}, {}, true}}};
    for (const auto& s : stored) EXPECT_EQ(ParseStoredCalibration(s.pixelsPerMm, s.resolution), s.want) << s.pixelsPerMm.value_or(L"-") << " " << s.resolution.value_or(L"-");
    // The same panel at another resolution: its long side holds more or fewer pixels, turned or not.
    const struct { Resolution at, now; double want; } scaled[] = {
        {{1920, 1080}, {1920, 1080}, 4}, {{1920, 1080}, {1280, 720}, 8.0 / 3}, {{1920, 1080}, {1080, 1920}, 4}, {{2560, 1440}, {1920, 1200}, 3}};
    for (const auto& s : scaled) EXPECT_EQ(PixelsPerMmAt(4.0, s.at, s.now), s.want) << s.now.width << "x" << s.now.height;

    // "GSM", product 5B7F, serial number 0001E240; 60 x 34 cm; a detailed timing of 527 x 296 mm.
    std::vector<uint8_t> edid(128, 0);
    const std::vector<uint8_t> head = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x1E, 0x6D, 0x7F, 0x5B, 0x40, 0xE2, 0x01};
    std::copy(head.begin(), head.end(), edid.begin());
    std::tie(edid[21], edid[22], edid[54], edid[66], edid[67], edid[68]) = std::tuple(60, 34, 2, 0x0F, 0x28, 0x21);
    std::vector<uint8_t> labelled = edid, timingless = edid, sizeless = edid, notEdid = edid, badMaker = edid;
    std::tie(badMaker[8], badMaker[9]) = std::tuple(0x74, 0x3C);  // codes 29, 1, 28: "]A\\"
    // The serial as printed on it, in a descriptor tagged 0xFF, here the last: "AB-12", ended by
    // a line feed.
    const std::vector<uint8_t> serial = {0, 0, 0, 0xFF, 0, 'A', 'B', '-', '1', '2', 0x0A, ' '};
    std::copy(serial.begin(), serial.end(), labelled.begin() + 108);
    // A detailed timing of no size gives way to the centimetres; without one, 60 x 0 cm is an
    // aspect ratio and no size.
    std::tie(timingless[54], timingless[22], sizeless[66], sizeless[67], sizeless[68], notEdid[1]) = std::tuple(0, 0, 0, 0, 0, 0);
    const std::wstring path = L"\\\\?\\DISPLAY#Default_Monitor#4&1a2b&0&UID0#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    using Size = std::optional<ImageSizeMm>;
    const struct { const std::vector<uint8_t>& edid; std::wstring_view path; const wchar_t* id; Size mm; } monitors[] = {
        {edid, path, L"GSM5B7F-0001E240", ImageSizeMm{527, 296}}, {labelled, path, L"GSM5B7F-AB-12", ImageSizeMm{527, 296}},
        {timingless, L"", L"GSM5B7F-0001E240", {}}, {sizeless, path, L"GSM5B7F-0001E240", ImageSizeMm{600, 340}},
        {notEdid, path, L"DISPLAY_Default_Monitor_4_1a2b_0_UID0", {}}, {badMaker, L"", L"A_5B7F-0001E240", ImageSizeMm{527, 296}},
        {{}, L"\\\\.\\DISPLAY2", L"DISPLAY2", {}}};
    for (const auto& m : monitors)
        EXPECT_EQ(std::pair(MonitorIdentity(m.edid, m.path), EdidImageSizeMm(m.edid)), std::pair(std::wstring(m.id), m.mm));
    // The line's 378 pixels on 527 mm over 1920 pixels measure 103.75 mm; turned to portrait,
    // 296 mm over 1080; over 960, 207.5 mm, which no monitor shows.
    const ImageSizeMm panel{527, 296};
    EXPECT_EQ(std::tuple(MeasuredMmFromEdid(panel, 1920, 1080, 15), MeasuredMmFromEdid(panel, 1080, 1920, 15),
                         MeasuredMmFromEdid(panel, 960, 540, 15)),
              std::tuple(103.8, 103.6, std::nullopt));
}

}  // namespace
}  // namespace plumbo
