#include "common/panel_settings.h"

#include <algorithm>
#include <cctype>

namespace tilerack {

int32_t ParseSettingInt(const std::string& raw, int32_t fallback) {
    std::string text = raw;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size()) return fallback;

    if (text[i] == '$') {
        ++i;
        if (i >= text.size() || text.size() - i > 8) return fallback;
        uint32_t value = 0;
        for (; i < text.size(); ++i) {
            const int c = static_cast<unsigned char>(text[i]);
            if (!std::isxdigit(c)) return fallback;
            value = value * 16 + static_cast<uint32_t>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
        }
        return static_cast<int32_t>(negative ? 0u - value : value);
    }
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c)) return fallback;
        value = value * 10 + (c - '0');
        if (value > (int64_t{1} << 31)) return fallback;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return fallback;
    return static_cast<int32_t>(value);
}

namespace {

struct SettingField {
    const char* key;
    int32_t fallback;
};
constexpr SettingField kFields[] = {
    {"Side", 0}, {"Width", kDefaultPanelWidth}, {"TimeOut", 300}, {"Opacity", 50}, {"Color", kDefaultPanelColor}, {"OnTop", 0},
};

}  // namespace

PanelSettings ReadPanelSettings(const std::function<std::optional<std::string>(const char* key)>& read) {
    int32_t v[std::size(kFields)];
    for (size_t i = 0; i < std::size(kFields); ++i) {
        const std::optional<std::string> text = read(kFields[i].key);
        v[i] = text ? ParseSettingInt(*text, kFields[i].fallback) : kFields[i].fallback;
    }
    PanelSettings s;
    const uint8_t side = static_cast<uint8_t>(v[0] & 0xFF);
    s.side = side == 1 ? PanelSide::Right : PanelSide::Left;
    s.width = std::max(v[1], kMinPanelWidth);
    s.timeOut = v[2];
    s.opacity = v[3];
    s.color = v[4];
    s.onTop = (v[5] & 0xFF) != 0;
    const std::optional<std::string> hotKey = read(kHotKeyKey);
    s.hotKey = hotKey ? ParseSettingInt(*hotKey, kDefaultHotKey) : kDefaultHotKey;
    if (std::optional<std::string> monitor = read(kMonitorKey)) s.monitor = std::move(*monitor);
    if (const std::optional<std::string> dropOpens = read(kDropOpensKey))
        s.dropOpens = (ParseSettingInt(*dropOpens, 0) & 0xFF) != 0;
    if (const std::optional<std::string> language = read(kLanguageKey)) s.language = LanguageOfCode(*language);
    return s;
}

std::vector<std::pair<std::string, std::string>> PanelSettingsValues(const PanelSettings& s) {
    const int32_t v[] = {static_cast<int32_t>(s.side), s.width, s.timeOut, s.opacity, s.color, s.onTop ? 1 : 0};
    std::vector<std::pair<std::string, std::string>> out;
    for (size_t i = 0; i < std::size(kFields); ++i) out.emplace_back(kFields[i].key, std::to_string(v[i]));
    if (s.hotKey != kDefaultHotKey) out.emplace_back(kHotKeyKey, std::to_string(s.hotKey));
    if (!s.monitor.empty()) out.emplace_back(kMonitorKey, s.monitor);
    if (s.dropOpens) out.emplace_back(kDropOpensKey, *s.dropOpens ? "1" : "0");
    if (s.language) out.emplace_back(kLanguageKey, LanguageCode(*s.language));
    return out;
}

}  // namespace tilerack
