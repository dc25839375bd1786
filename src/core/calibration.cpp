#include "core/calibration.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/numeric.h"
#include "core/settings_rules.h"

namespace plumbo {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// digits [. digits] or . digits, ASCII only, as a double; nothing else.
std::optional<double> ReadPlainDecimal(std::wstring_view text) {
    std::string narrow;
    bool point = false;
    for (wchar_t c : text) {
        if (c == L'.' && !point) {
            point = true;
        } else if (!IsDigit(c)) {
            return std::nullopt;
        }
        narrow += static_cast<char>(c);
    }
    if (narrow.find_first_of("0123456789") == std::string::npos) return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error != std::errc() || end != narrow.data() + narrow.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A side of a resolution: 1 to 999999 whole pixels, digits only.
std::optional<int32_t> ReadPixels(std::wstring_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int32_t pixels = 0;
    for (wchar_t c : text) {
        if (!IsDigit(c)) return std::nullopt;
        pixels = pixels * 10 + (c - L'0');
    }
    if (pixels == 0) return std::nullopt;
    return pixels;
}

double ToTenth(double mm) { return RoundHalfEvenD(mm * 10.0) / 10.0; }

bool Measurable(double mm) { return mm >= kShortestMeasuredMm && mm <= kLongestMeasuredMm; }

std::wstring Fixed(double value, int decimals) {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::wstring(text, end) : std::wstring();
}

bool IsEdid(std::span<const uint8_t> edid) {
    constexpr uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edid.size() < 128) return false;
    for (size_t i = 0; i < 8; ++i)
        if (edid[i] != kHeader[i]) return false;
    return true;
}

// Letters, digits and - _ . only: what is left can stand in a section name.
std::wstring SectionSafe(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text)
        if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || IsDigit(c) || c == L'-' || c == L'_' || c == L'.')
            out += c;
        else if (c == L'\\' || c == L'#' || c == L'&')
            out += L'_';
    return out;
}

std::wstring Hex(uint32_t value, int digits) {
    std::wstring out(static_cast<size_t>(digits), L'0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) out[static_cast<size_t>(i)] = L"0123456789ABCDEF"[value & 15];
    return out;
}

// The monitor's serial as printed on it: the display descriptor tagged 0xFF, if there is one.
std::wstring SerialText(std::span<const uint8_t> edid) {
    for (size_t d = 54; d + 18 <= 126; d += 18) {
        if (edid[d] != 0 || edid[d + 1] != 0 || edid[d + 3] != 0xFF) continue;
        std::wstring text;
        for (size_t i = d + 5; i < d + 18 && edid[i] != 0x0A; ++i) text += static_cast<wchar_t>(edid[i]);
        return SectionSafe(text);
    }
    return {};
}

}  // namespace

int32_t CalibrationLinePixels(double twipsPerPixel) {
    return RoundHalfEven(kCalibrationLineMm * NominalPixelsPerMm(twipsPerPixel));
}

std::optional<double> ParseMeasuredMm(std::wstring_view typed) {
    const std::wstring ascii = AsciiNumberText(typed);
    std::wstring_view text = ascii;
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
    return ReadPlainDecimal(text);
}

std::optional<double> PixelsPerMmFromMeasurement(double measuredMm, double twipsPerPixel) {
    if (!Measurable(measuredMm)) return std::nullopt;
    return kCalibrationLineMm * NominalPixelsPerMm(twipsPerPixel) / measuredMm;
}

double MeasuredMmFor(double pixelsPerMm, double twipsPerPixel) {
    return ToTenth(kCalibrationLineMm * NominalPixelsPerMm(twipsPerPixel) / pixelsPerMm);
}

std::wstring FormatMeasuredMm(double mm) {
    std::wstring text = Fixed(ToTenth(mm), 1);
    if (text.ends_with(L".0")) text.resize(text.size() - 2);
    return text;
}

double LengthScale(std::optional<double> pixelsPerMm, double twipsPerPixel) {
    if (!pixelsPerMm || !Measurable(MeasuredMmFor(*pixelsPerMm, twipsPerPixel))) return 1.0;
    return *pixelsPerMm / NominalPixelsPerMm(twipsPerPixel);
}

std::wstring CalibrationSection(std::wstring_view monitorIdentity) {
    return std::wstring(kSectionCalibrationPrefix) + std::wstring(monitorIdentity);
}

StoredCalibration ParseStoredCalibration(std::optional<std::wstring> pixelsPerMm,
                                         std::optional<std::wstring> resolution) {
    std::optional<std::wstring> value;
    if (pixelsPerMm) value = CleanIniValue(*pixelsPerMm);
    if (!value) return {};
    const std::optional<double> number = ReadPlainDecimal(*value);
    if (!number || !(*number > 0.0)) return {std::nullopt, std::nullopt, true};
    StoredCalibration stored{number, std::nullopt, false};
    std::optional<std::wstring> sides;
    if (resolution) sides = CleanIniValue(*resolution);
    const size_t x = sides ? sides->find(L'x') : std::wstring::npos;
    if (x == std::wstring::npos) return stored;
    const std::optional<int32_t> width = ReadPixels(std::wstring_view(*sides).substr(0, x));
    const std::optional<int32_t> height = ReadPixels(std::wstring_view(*sides).substr(x + 1));
    if (width && height) stored.measuredAt = Resolution{*width, *height};
    return stored;
}

std::wstring FormatPixelsPerMm(double pixelsPerMm) { return Fixed(pixelsPerMm, 6); }

std::wstring FormatResolution(Resolution r) { return std::to_wstring(r.width) + L"x" + std::to_wstring(r.height); }

double PixelsPerMmAt(double pixelsPerMm, Resolution measuredAt, Resolution now) {
    const int32_t before = std::max(measuredAt.width, measuredAt.height), after = std::max(now.width, now.height);
    if (before <= 0 || after <= 0) return pixelsPerMm;
    return pixelsPerMm * after / before;
}

std::wstring MonitorIdentity(std::span<const uint8_t> edid, std::wstring_view devicePath) {
    if (IsEdid(edid)) {
        // Three letters of five bits each, big-endian; the product code little-endian.
        const uint32_t maker = static_cast<uint32_t>(edid[8] << 8 | edid[9]);
        std::wstring id;
        for (int shift : {10, 5, 0}) id += static_cast<wchar_t>(L'A' - 1 + ((maker >> shift) & 31));
        // An invalid ID's codes 0 and 27 to 31 come out as '@', '[', '\\', ']', '^' and '_': made
        // safe as the serial is, or a ']' would end the section's name.
        id = SectionSafe(id);
        id += Hex(static_cast<uint32_t>(edid[10] | edid[11] << 8), 4) + L"-";
        const std::wstring serial = SerialText(edid);
        return id + (serial.empty() ? Hex(static_cast<uint32_t>(edid[12] | edid[13] << 8 | edid[14] << 16 |
                                                                  static_cast<uint32_t>(edid[15]) << 24),
                                          8)
                                    : serial);
    }
    // "\\?\DISPLAY#GSM5B7F#5&1a2b3c&0&UID4353#{e6f07b5f-...}": the part before the interface's
    // class names the monitor and the port it hangs on; "\\.\DISPLAY1" only the port.
    devicePath = devicePath.substr(0, devicePath.find(L"#{"));
    if (devicePath.starts_with(L"\\\\?\\") || devicePath.starts_with(L"\\\\.\\")) devicePath.remove_prefix(4);
    return SectionSafe(devicePath);
}

std::optional<ImageSizeMm> EdidImageSizeMm(std::span<const uint8_t> edid) {
    if (!IsEdid(edid)) return std::nullopt;
    // A detailed timing (non-zero pixel clock) gives millimetres in 12 bits.
    if (edid[54] != 0 || edid[55] != 0) {
        const int width = edid[66] | (edid[68] & 0xF0) << 4, height = edid[67] | (edid[68] & 0x0F) << 8;
        if (width > 0 && height > 0) return ImageSizeMm{static_cast<double>(width), static_cast<double>(height)};
    }
    // The basic block's centimetres; one of them zero makes the other an aspect ratio.
    if (edid[21] != 0 && edid[22] != 0) return ImageSizeMm{edid[21] * 10.0, edid[22] * 10.0};
    return std::nullopt;
}

std::optional<double> MeasuredMmFromEdid(ImageSizeMm image, int32_t monitorWidthPx, int32_t monitorHeightPx,
                                         double twipsPerPixel) {
    if (monitorWidthPx <= 0 || monitorHeightPx <= 0) return std::nullopt;
    const double across =
        (monitorWidthPx >= monitorHeightPx) == (image.width >= image.height) ? image.width : image.height;
    if (!(across > 0.0)) return std::nullopt;
    const double mm = ToTenth(CalibrationLinePixels(twipsPerPixel) * across / monitorWidthPx);
    if (!Measurable(mm)) return std::nullopt;
    return mm;
}

}  // namespace plumbo
