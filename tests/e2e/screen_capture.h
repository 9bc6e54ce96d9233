// What the screen shows: pixels read through the screen's device context and
// PNG screenshots saved under the screenshot folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes per pixel, no padding

    COLORREF Pixel(int x, int y) const;
};

// Copies the rectangle (left, top, width, height) of the screen; the whole
// primary screen when width or height is 0.
ScreenImage CaptureScreen(int left = 0, int top = 0, int width = 0, int height = 0);
COLORREF ScreenPixel(int x, int y);

// Saves the whole screen as <screenshot folder>\<name>.png; returns the path,
// or an empty string when it could not be written.
std::wstring SaveScreenshotPng(const std::wstring& name);

}  // namespace e2e
