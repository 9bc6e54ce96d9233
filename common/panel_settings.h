#pragma once
// The panel's settings: the six of its look and place, their keys, defaults
// and reading rules, as one table that drives both loading and saving; and
// the hot key that brings the panel out from the keyboard.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/app_language.h"

namespace tilerack {

inline constexpr const char* kSettingsSection = "Keelstrip";
inline constexpr int kMinPanelWidth = 24;
inline constexpr int32_t kDefaultPanelWidth = 64;
inline constexpr int32_t kDefaultPanelColor = 16048352;  // 0x00F4E0E0
// The hot key as a hot-key control holds it: the low byte the virtual-key
// code, the high byte the modifiers (Shift 1, Ctrl 2, Alt 4). The default is
// Ctrl+Alt+Shift+Space, which neither Windows nor Wine nor the usual
// keyboard layouts use; 0 turns the hot key off.
inline constexpr const char* kHotKeyKey = "HotKey";
inline constexpr int32_t kDefaultHotKey = 0x0720;
// The screen the panel stands on where it is not the primary: the screen's
// device name with its place and size, kept as read (a screen that is gone
// for now keeps its value).
inline constexpr const char* kMonitorKey = "Monitor";
// A file dropped onto a program's item opens with it (1) rather than
// becoming an item (0); written only once the user has ticked it.
inline constexpr const char* kDropOpensKey = "DropOpens";
// The language the panel speaks: "ru" or "en"; without it (or with another
// value) Russian. Written once it is chosen.
inline constexpr const char* kLanguageKey = "Language";

// The screen edge the panel docks at; stored as 0 and 1.
enum class PanelSide : uint8_t { Left = 0, Right = 1 };

struct PanelSettings {
    PanelSide side = PanelSide::Left;
    int32_t width = kDefaultPanelWidth;
    int32_t timeOut = 300;
    int32_t opacity = 50;
    int32_t color = kDefaultPanelColor;
    bool onTop = false;
    int32_t hotKey = kDefaultHotKey;
    std::string monitor;  // empty: the primary screen
    // Nothing until the user has ticked the choice (or the file holds it).
    std::optional<bool> dropOpens;
    bool DropOpens() const { return dropOpens.value_or(false); }
    std::optional<Language> language;  // nothing: the file names none (Russian)
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

// The keys and values in the order they are written: the six keys always,
// "HotKey" after them only when it differs from its default, "Monitor" only
// when it names a screen, "DropOpens" only once it was chosen and "Language"
// only once one is chosen, so the files of users who never set them keep
// exactly their six keys.
std::vector<std::pair<std::string, std::string>> PanelSettingsValues(const PanelSettings& settings);

}  // namespace tilerack
