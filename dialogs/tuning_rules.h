#pragma once
// The arithmetic of the settings dialog: track bar positions, the
// transparency label, the delay field's text and the preview's colours and
// blend.
#include <cstdint>
#include <string>

#include "common/bitmap.h"

namespace tilerack {

// The track bar holds ten steps per percent of opacity.
inline constexpr int kTrackMin = 0;
inline constexpr int kTrackMax = 1000;

// The opacity a track position stands for: position div 10.
int OpacityOfPosition(int position);
// The track position for a stored opacity, pulled into 0..1000.
int PositionForOpacity(int32_t opacity);
// "Прозрачность выкл" for opacity 0, else "Прозрачность, N%" (code page 1251).
std::string TransparencyLabel(int position);

// The delay field's value: an integer as the settings are read (optional
// sign, decimal digits or "$"/"0x" hexadecimal); any other text counts as 0.
int32_t DelayFieldValue(const std::string& text);
// The text after a step of the spin buttons, kept within 32 bits.
std::string SteppedDelayText(const std::string& text, int delta);

// The colour of the preview's panel caption: the panel colour with its red,
// green and blue bytes XORed with 0x31, 0xFE and 0xAA.
Color PreviewCaptionColor(Color panel);

// One byte of the preview: (under * v + panel * (100 - v)) / 100.
int PreviewBlendByte(int under, int panel, int opacity);
// Blends `panelImage` into `preview` (both the same size) byte by byte with
// the panel's background arithmetic: the under-panel image weighs `opacity`
// percent.
void BlendPreview(TBitmap& preview, const TBitmap& panelImage, int opacity);

}  // namespace tilerack
