// Feeds arbitrary texts as the values of the six settings keys and the hot key. Reading must
// never fail and always give usable settings; what is written back must read
// back to the same settings.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/panel_settings.h"

using namespace tilerack;

namespace {

// The input split at newlines into the keys' values in table order; a value
// that starts with a NUL byte stands for a missing key.
std::vector<std::optional<std::string>> Values(const uint8_t* data, size_t size) {
    std::vector<std::optional<std::string>> values;
    std::string current;
    auto finish = [&] {
        if (!current.empty() && current[0] == '\0')
            values.push_back(std::nullopt);
        else
            values.push_back(current);
        current.clear();
    };
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            finish();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    finish();
    return values;
}

bool SameSettings(const PanelSettings& a, const PanelSettings& b) {
    return a.side == b.side && a.width == b.width && a.timeOut == b.timeOut && a.opacity == b.opacity &&
           a.color == b.color && a.onTop == b.onTop && a.hotKey == b.hotKey;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::optional<std::string>> values = Values(data, size);
    const char* const keys[] = {"Side", "Width", "TimeOut", "Opacity", "Color", "OnTop", "HotKey"};
    const PanelSettings read = ReadPanelSettings([&](const char* key) -> std::optional<std::string> {
        for (size_t i = 0; i < std::size(keys) && i < values.size(); ++i)
            if (std::string(keys[i]) == key) return values[i];
        return std::nullopt;
    });
    if (static_cast<int>(read.side) > 1 || read.width < kMinPanelWidth) std::abort();

    const auto written = PanelSettingsValues(read);
    const PanelSettings again = ReadPanelSettings([&](const char* key) -> std::optional<std::string> {
        for (const auto& [k, v] : written)
            if (k == key) return v;
        return std::nullopt;
    });
    if (!SameSettings(read, again)) std::abort();
    return 0;
}
