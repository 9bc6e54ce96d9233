// Helpers shared by the docking, strip, launch and glyph scenarios: panel
// geometry, real mouse input with the buttons held, a screen painted in known
// colours, item pictures, the probe's record and cropped screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "screen_capture.h"

namespace e2e {

inline const std::wstring kAppTitle = L"Ярлыкс";
inline constexpr int kPanelDefaultWidth = 64;
inline constexpr COLORREF kPanelDefaultColour = 0x00F4E0E0;

// ---- Geometry of the docked panel --------------------------------------------

int ScreenWidth();
int ScreenHeight();
int PanelLeft(HWND panel);
int PanelTop(HWND panel);
int PanelWidth(HWND panel);
int ClientWidthOf(HWND panel);
int ClientHeightOf(HWND panel);
// Left of the outer frame at the shown and the hidden place of a side.
int ShownLeft(int side, int width);
int HiddenLeft(int side, int width);
POINT ClientToScreenPoint(HWND window, int x, int y);
RECT ClientRectOnScreen(HWND window, RECT clientRect);

// Client rectangles of the strip's fixed buttons and of item `index`'s button.
RECT HideButtonRect(HWND panel, int side);
RECT CloseButtonRect(HWND panel, int side);
RECT MenuButtonRect(HWND panel, int side);
RECT ItemButtonRect(HWND panel, int index);
POINT Centre(const RECT& rect);
// Waits until the panel has painted its close cross (black on the blended
// background): the strip is drawn and its buttons are where they should be.
bool WaitForCloseCross(HWND panel, int side, std::chrono::milliseconds timeout = std::chrono::seconds(3));

// A spot over the panel, below any item of a short strip and away from the
// fixed buttons, where a shown panel stays shown.
POINT RestingSpotOverPanel(int side, int panelWidth = kPanelDefaultWidth);
// Far from both edges: a shown panel slides out, a hidden one stays hidden.
POINT SpotAwayFromPanel();

// ---- Real mouse input ----------------------------------------------------------

// Moves the pointer with an input event, so the window under it sees the move.
void MoveWithInput(int x, int y);
void LeftButtonDown();
void LeftButtonUp();
// Presses the left button at `from`, moves in small steps to `to`, releases.
void DragWithLeftButton(POINT from, POINT to);
// Posts a key press straight into an open popup menu's thread.
void PostKeyToMenu(HWND menu, WORD virtualKey);

// ---- Screen content -------------------------------------------------------------

// A window over the whole screen, painted by its own thread with a colour
// per pixel, so what lies under the panel is known exactly. Wine on a bare
// display puts every newly shown window on top and never lowers one, so it
// must exist before the panel to lie under it.
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
    // Repaints with another pattern.
    void Repaint(Pattern pattern);
    // Moves the window off the display or back over it; its place among
    // the other windows stays.
    void Park();
    void Unpark();
    COLORREF At(int x, int y) const;
    HWND Window() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Moves the stand-alone notification-area window that Wine shows on a bare
// display out from under both panel places, so captures behind the panel
// show only the test's own screen. Returns how many windows were moved.
int MoveTrayWindowAway();

// (screen × opacity + colour × (100 − opacity)) / 100 per channel, truncated.
COLORREF Blend(COLORREF screen, COLORREF colour, int opacity);
// The hover brightening of an item picture: blue×1.07+24, green×1.07+10,
// red×1.07+32, rounded half to even, at most 255.
COLORREF Brightened(COLORREF colour);

bool IsBlack(COLORREF colour);
bool IsWhite(COLORREF colour);
// Pixels of `image` inside `rect` (screen coordinates of an image captured at
// the screen origin) for which `test` holds.
int CountPixels(const ScreenImage& image, const RECT& rect, const std::function<bool(COLORREF)>& test);
// Bounding box of those pixels; empty when there are none.
RECT BoundsOfPixels(const ScreenImage& image, const RECT& rect, const std::function<bool(COLORREF)>& test);

// Saves a part of the screen as <screenshot folder>\<name>.png and, when
// `alsoTo` is given, as that file too. Returns false when a file failed.
bool SaveScreenshotCrop(const std::wstring& name, const RECT& screenRect, const std::wstring& alsoTo = {});
// Saves a picture given as rows of 0x00BBGGRR pixels.
bool SavePicturePng(const std::wstring& name, int width, int height, const std::vector<COLORREF>& pixels);

// ---- Items and files -------------------------------------------------------------

// A 32 × 32 24-bit BMP file: a 2-pixel ring of `key` (the picture's
// transparent colour, as its corner pixels), a 2-pixel dark rim and a
// `fill` body, so the brightened body is easy to find on the screen.
std::vector<std::uint8_t> FramedIconBmp(COLORREF key, COLORREF fill);

std::string ToCp1251(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// Line breaks of any kind as "\n".
std::wstring NormaliseLineBreaks(const std::wstring& text);

// Writes the settings file with section Keelstrip holding `keys`.
void WriteSettings(const std::vector<std::string>& keys);
std::wstring SettingValue(const IniSection& section, const std::wstring& key);

// What the probe recorded: one entry per start.
struct ProbeStart {
    std::wstring commandLine;
    std::wstring folder;
};
std::vector<ProbeStart> ReadProbeStarts(const std::wstring& folder);
// The part of a command line after the program's name and one blank.
std::wstring ArgumentsOf(const std::wstring& commandLine);
bool SamePath(std::wstring a, std::wstring b);

// The value of an environment variable of the test program, or empty.
std::wstring EnvironmentValue(const wchar_t* name);

}  // namespace e2e
