#pragma once
// The panel's six settings: their keys, defaults and reading rules, as one
// table that drives both loading and saving.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tilerack {

inline constexpr const char* kSettingsSection = "Keelstrip";
inline constexpr int kMinPanelWidth = 24;
inline constexpr int32_t kDefaultPanelWidth = 64;
inline constexpr int32_t kDefaultPanelColor = 16048352;  // 0x00F4E0E0

// The screen edge the panel docks at; stored as 0 and 1.
enum class PanelSide : uint8_t { Left = 0, Right = 1 };

struct PanelSettings {
    PanelSide side = PanelSide::Left;
    int32_t width = kDefaultPanelWidth;
    int32_t timeOut = 300;
    int32_t opacity = 50;
    int32_t color = kDefaultPanelColor;
    bool onTop = false;
};

// Reads an integer as the settings store does: optional leading blanks and
// sign, decimal digits, or hexadecimal after "$" or (for values longer than
// two characters) "0x"/"0X". Anything else, an empty text or a decimal value
// outside 32 bits gives `fallback`.
int32_t ParseSettingInt(const std::string& text, int32_t fallback);

// `read(key)` gives the stored text of a key, or nothing when it is missing.
// Side and OnTop take the low 8 bits of the value read; a side other than 0
// (left) and 1 (right) docks at the left edge; the width is at least 24.
PanelSettings ReadPanelSettings(const std::function<std::optional<std::string>(const char* key)>& read);

// The keys and decimal values in the order they are written.
std::vector<std::pair<std::string, std::string>> PanelSettingsValues(const PanelSettings& settings);

}  // namespace tilerack
