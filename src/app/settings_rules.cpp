#include "app/settings_rules.h"

#include <limits>

namespace plumbo {

const SettingDef& FindSettingDef(SettingId id) {
    for (const SettingDef& def : kSettingDefs) {
        if (def.id == id) return def;
    }
    return kSettingDefs.front();  // unreachable: every id has a row
}

std::vector<std::wstring> NewFileLines() {
    std::vector<std::wstring> lines;
    std::wstring_view section;
    for (const SettingDef& def : kSettingDefs) {
        if (def.section != section) {
            section = def.section;
            lines.push_back(L"[" + std::wstring(section) + L"]");
        }
        lines.push_back(std::wstring(def.key) + L"=" + std::wstring(def.newFileDefault));
    }
    return lines;
}

std::optional<std::wstring> CleanIniValue(std::wstring_view raw) {
    raw = raw.substr(0, raw.find(L'\0'));
    raw = raw.substr(0, kIniMaxValueChars);
    const std::size_t first = raw.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return std::nullopt;
    const std::size_t last = raw.find_last_not_of(L' ');
    return std::wstring(raw.substr(first, last - first + 1));
}

bool ParseSwitch(std::wstring_view value) {
    if (value.size() != kIniFalse.size()) return true;
    for (std::size_t i = 0; i < value.size(); ++i) {
        wchar_t c = value[i];
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != kIniFalse[i]) return true;
    }
    return false;
}

std::optional<uint32_t> ParseColor(std::wstring_view value) {
    bool negative = false;
    if (!value.empty() && (value.front() == L'+' || value.front() == L'-')) {
        negative = value.front() == L'-';
        value.remove_prefix(1);
    }
    if (value.empty()) return std::nullopt;
    // Accumulate in 64 bits and stop as soon as the value leaves the 32-bit range, so long
    // runs of digits cannot overflow.
    constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    for (wchar_t c : value) {
        if (c < L'0' || c > L'9') return std::nullopt;
        magnitude = magnitude * 10 + (c - L'0');
        if (magnitude > kLimit) return std::nullopt;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<uint32_t>(static_cast<int32_t>(signedValue));
}

std::wstring FormatColor(uint32_t color) { return std::to_wstring(static_cast<int32_t>(color)); }

std::wstring_view FormatSwitch(bool on) { return on ? kIniTrue : kIniFalse; }

void WriteDefaultSettings(const IniWriter& write) {
    for (const SettingDef& def : kSettingDefs) write(def.section, def.key, def.newFileDefault);
}

Settings ReadSettings(const IniReader& read, const IniWriter& write) {
    Settings s;
    for (const SettingDef& def : kSettingDefs) {
        std::optional<std::wstring> value;
        if (std::optional<std::wstring> raw = read(def.section, def.key)) value = CleanIniValue(*raw);

        const bool isColor = def.section == kSectionColor;
        std::optional<uint32_t> color;
        if (isColor && value) color = ParseColor(*value);

        if (!value || (isColor && !color)) {
            write(def.section, def.key, def.missingDefault);
            value = std::wstring(def.missingDefault);
            if (isColor) color = ParseColor(def.missingDefault);
        }

        switch (def.id) {
            case SettingId::Mej: s.colorMej = *color; break;
            case SettingId::Line: s.colorLine = *color; break;
            case SettingId::No: s.colorNo = *color; break;
            case SettingId::Zorder: s.zorderFlg = ParseSwitch(*value); break;
            case SettingId::Transparent: s.toumeiFlg = ParseSwitch(*value); break;
            case SettingId::Inside: s.insideFlg = ParseSwitch(*value); break;
        }
    }
    return s;
}

}  // namespace plumbo
