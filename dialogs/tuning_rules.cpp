#include "dialogs/tuning_rules.h"

#include <algorithm>
#include <limits>

#include "common/app_texts.h"
#include "common/panel_settings.h"

namespace tilerack {

int OpacityOfPosition(int position) { return std::clamp(position, kTrackMin, kTrackMax) / 10; }

int PositionForOpacity(int32_t opacity) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{opacity} * 10, kTrackMin, kTrackMax));
}

std::string TransparencyLabel(int position) {
    const int v = OpacityOfPosition(position);
    if (v == 0) return kSettingsTransparencyOff.Get();
    return kSettingsTransparencyHead + std::to_string(v) + kSettingsTransparencyTail;
}

int32_t DelayFieldValue(const std::string& text) { return ParseSettingInt(text, 0); }

std::string SteppedDelayText(const std::string& text, int delta) {
    const int64_t next = int64_t{DelayFieldValue(text)} + delta;
    return std::to_string(std::clamp<int64_t>(next, std::numeric_limits<int32_t>::min(),
                                              std::numeric_limits<int32_t>::max()));
}

Color PreviewCaptionColor(Color panel) { return panel ^ 0x00AAFE31u; }

int PreviewBlendByte(int under, int panel, int opacity) { return (under * opacity + panel * (100 - opacity)) / 100; }

void BlendPreview(TBitmap& preview, const TBitmap& panelImage, int opacity) {
    const int height = std::min(preview.Height(), panelImage.Height());
    const int bytes = std::min(preview.Width(), panelImage.Width()) * 3;
    for (int y = 0; y < height; ++y) {
        uint8_t* under = preview.Row(y);
        const uint8_t* panel = panelImage.Row(y);
        for (int i = 0; i < bytes; ++i) under[i] = static_cast<uint8_t>(PreviewBlendByte(under[i], panel[i], opacity));
    }
    preview.Changed();
}

}  // namespace tilerack
