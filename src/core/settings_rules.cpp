#include "core/settings_rules.h"

#include <limits>
#include <map>

namespace plumbo {

namespace {

std::size_t HotKeyIndex(SettingId id) {
    return static_cast<std::size_t>(static_cast<int>(id) - static_cast<int>(SettingId::RulersHotKey));
}

}  // namespace

std::optional<std::wstring> CleanIniValue(std::wstring_view raw) {
    raw = raw.substr(0, raw.find(L'\0'));
    raw = raw.substr(0, kIniMaxValueChars);
    const std::size_t first = raw.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return std::nullopt;
    const std::size_t last = raw.find_last_not_of(L' ');
    return std::wstring(raw.substr(first, last - first + 1));
}

namespace {

// value equals upper, an upper-case ASCII word, in any mix of case.
bool EqualsIgnoringCase(std::wstring_view value, std::wstring_view upper) {
    if (value.size() != upper.size()) return false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        wchar_t c = value[i];
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != upper[i]) return false;
    }
    return true;
}

}  // namespace

bool ParseSwitch(std::wstring_view value) { return !EqualsIgnoringCase(value, kIniFalse); }

bool ParseStrictSwitch(std::wstring_view value) { return EqualsIgnoringCase(value, kIniTrue); }

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
        const bool isHotKey = def.section == kSectionHotKey;
        std::optional<uint32_t> color;
        std::optional<HotKey> hotKey;
        if (isColor && value) color = ParseColor(*value);
        if (isHotKey && value) hotKey = ParseHotKey(*value);

        if (!value || (isColor && !color) || (isHotKey && !hotKey)) {
            write(def.section, def.key, def.missingDefault);
            value = std::wstring(def.missingDefault);
            if (isColor) color = ParseColor(def.missingDefault);
            if (isHotKey) hotKey = ParseHotKey(def.missingDefault);
        }

        switch (def.id) {
            case SettingId::RulerColor: s.rulerColor = *color; break;
            case SettingId::TickColor: s.tickColor = *color; break;
            case SettingId::NumberColor: s.numberColor = *color; break;
            case SettingId::OnTop: s.onTop = ParseSwitch(*value); break;
            case SettingId::Transparent: s.transparent = ParseSwitch(*value); break;
            case SettingId::Inside: s.inside = ParseSwitch(*value); break;
            case SettingId::ShowCursor: s.showCursor = ParseSwitch(*value); break;
            case SettingId::RulersHotKey: case SettingId::CaptureHotKey: case SettingId::RedrawHotKey:
            case SettingId::SizeHotKey: case SettingId::MeasureHotKey: s.hotKeys[HotKeyIndex(def.id)] = *hotKey; break;
            case SettingId::Pictures: s.pictures = ParseStrictSwitch(*value); break;
        }
    }
    return s;
}

Settings NewFileSettings() {
    // Read back from what a new file holds, so the two can never drift apart.
    std::map<std::wstring, std::wstring> file;
    WriteDefaultSettings([&](std::wstring_view section, std::wstring_view key, std::wstring_view value) {
        file[std::wstring(section) + L"/" + std::wstring(key)] = value;
    });
    return ReadSettings(
        [&](std::wstring_view section, std::wstring_view key) -> std::optional<std::wstring> {
            auto it = file.find(std::wstring(section) + L"/" + std::wstring(key));
            if (it == file.end()) return std::nullopt;
            return it->second;
        },
        [](std::wstring_view, std::wstring_view, std::wstring_view) {});
}

void WriteSetting(const IniWriter& write, SettingId id, const Settings& s) {
    for (const SettingDef& def : kSettingDefs) {
        if (def.id != id) continue;
        switch (id) {
            case SettingId::RulerColor: write(def.section, def.key, FormatColor(s.rulerColor)); break;
            case SettingId::TickColor: write(def.section, def.key, FormatColor(s.tickColor)); break;
            case SettingId::NumberColor: write(def.section, def.key, FormatColor(s.numberColor)); break;
            case SettingId::OnTop: write(def.section, def.key, FormatSwitch(s.onTop)); break;
            case SettingId::Transparent: write(def.section, def.key, FormatSwitch(s.transparent)); break;
            case SettingId::Inside: write(def.section, def.key, FormatSwitch(s.inside)); break;
            case SettingId::ShowCursor: write(def.section, def.key, FormatSwitch(s.showCursor)); break;
            case SettingId::RulersHotKey: case SettingId::CaptureHotKey: case SettingId::RedrawHotKey:
            case SettingId::SizeHotKey: case SettingId::MeasureHotKey: write(def.section, def.key, FormatHotKey(s.hotKeys[HotKeyIndex(id)])); break;
            case SettingId::Pictures: write(def.section, def.key, FormatSwitch(s.pictures)); break;
        }
        return;
    }
}

}  // namespace plumbo
