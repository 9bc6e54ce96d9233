// What the screen shows: captures, pixel counts, the colours the panel is
// expected to show, screenshots, and a screen painted in known colours.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "common/bitmap.h"

namespace e2e {

using tilerack::TBitmap;

// The whole screen when the rectangle is empty.
TBitmap CaptureScreen(const RECT& screenRect = {});
COLORREF ScreenPixel(int x, int y);

bool IsBlack(COLORREF colour);
bool IsWhite(COLORREF colour);
// Pixels of `image` inside `rect` (coordinates of an image captured at the
// screen origin) for which `test` holds, and their bounding box (empty when
// there are none).
int CountPixels(const TBitmap& image, const RECT& rect, const std::function<bool(COLORREF)>& test);
RECT BoundsOfPixels(const TBitmap& image, const RECT& rect, const std::function<bool(COLORREF)>& test);

// (screen × opacity + colour × (100 − opacity)) / 100 per channel, truncated.
COLORREF Blend(COLORREF screen, COLORREF colour, int opacity);
// The hover brightening of an item picture: blue×1.07+24, green×1.07+10,
// red×1.07+32, rounded half to even, at most 255.
COLORREF Brightened(COLORREF colour);

// A screen whose every pixel differs from its neighbours, so a capture taken
// from the wrong place or scaled shows up at once.
inline COLORREF Checkered(int x, int y) {
    return RGB((x * 5 + y) & 0xFF, (y * 3 + 40) & 0xFF, 255 - ((x + 2 * y) % 200));
}

// Writes <screenshot folder>\<name>.png and, when `alsoTo` is given, that file too.
bool SavePng(const std::wstring& name, const TBitmap& picture, const std::wstring& alsoTo = {});
inline bool SaveScreenshotPng(const std::wstring& name) { return SavePng(name, CaptureScreen()); }

// Windows over the whole screen, painted by their own thread with a colour
// per pixel, so what lies under the panel is known exactly. Wine on a bare
// display puts every newly shown window on top and never lowers one, so they
// must exist before the panel to lie under it. The screen is two windows, a
// left and a right half: one window over the whole screen would count as a
// full-screen window, which a window manager may keep above all others.
class PaintedScreen {
public:
    using Pattern = std::function<COLORREF(int x, int y)>;
    // A parked screen starts off the display, so that windows created
    // later still lie above it once it moves onto the display.
    explicit PaintedScreen(Pattern pattern, bool parked = false);
    ~PaintedScreen();
    PaintedScreen(const PaintedScreen&) = delete;
    PaintedScreen& operator=(const PaintedScreen&) = delete;

    // True once the screen shows the pattern at a few sample points.
    bool WaitUntilShown(std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Off the display or back over it; its place among the other windows stays.
    void Park();
    void Unpark();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Moves the stand-alone notification-area window that Wine shows on a bare
// display out from under both panel places, so captures behind the panel
// show only the test's own screen.
void MoveTrayWindowAway();

}  // namespace e2e
