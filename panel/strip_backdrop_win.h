#pragma once
// What the panel shows through: the screen under its shown place, captured
// while the panel does not stand there, into the panel's Background. It keeps
// the canvas of the captures from one show to the next, the columns just
// beside a right panel for a growth while it covers its border, the columns
// a first capture left for later, and how much of the capture the panel
// colour is blended into as it is painted (strip_painter_win.h).
#include <windows.h>

#include <functional>
#include <utility>

#include "common/bitmap.h"
#include "common/panel_settings.h"
#include "panel/panel_metrics.h"
#include "platform/dib.h"

namespace tilerack {

class StripBackdrop {
public:
    // Where the panel's client area stands when shown: its edge column (the
    // screen edge's side) and its top row, and the frame's width and height.
    struct ShownPlace {
        int edge = 0, top = 0, width = 0, height = 0;
    };
    // What the capture asks of the panel.
    struct Host {
        std::function<ShownPlace()> WhereShown;
    };
    // The screen taken around a shown panel about to be sized anew (Hold),
    // joined with what it showed once it has its new size (Rejoin).
    struct Held {
        TBitmap screen, kept;
        int screenLeft = 0, oldLeft = 0;
    };

    // `background` is the panel's, written by every capture; `metrics` and
    // `settings` are the panel's, read at each capture.
    StripBackdrop(TBitmap& background, const PanelMetrics& metrics, const PanelSettings& settings, Host host)
        : background_(background), metrics_(metrics), settings_(settings), host_(std::move(host)) {}

    void Attach(HWND panel) { panel_ = panel; }
    // The first show is done: captures read every column from now on.
    void FirstShowDone() { shown_ = true; }
    // Captures the screen under the shown place (the panel does not stand there now).
    void Capture();
    // Reads the columns past the frame's far side that the capture before
    // the first show left black.
    void CaptureColumnsBeyond();
    // The screen column under the client area's left edge, where the capture starts.
    int Left();
    // The panel colour blended into the whole capture as it is painted.
    void Reblend() { blendedColumns_ = background_.Width(); }
    int BlendedColumns() const { return blendedColumns_; }
    const TBitmap& Background() const { return background_; }
    // A shown panel sized anew to `pixels` wide: the screen it is about to
    // cover, taken before it grows; `oldLeft` is Left() at the old size.
    Held Hold(int pixels, int oldLeft);
    void Rejoin(const Held& held);

private:
    TBitmap& background_;
    const PanelMetrics& metrics_;
    const PanelSettings& settings_;
    Host host_;
    HWND panel_ = nullptr;
    // The screen columns just left of the background on the right side, captured with it.
    TBitmap beside_;
    // Columns of the background the panel colour is blended into as it is
    // painted: the whole capture; columns added by a widening stay as they
    // are until the next capture or a change of colour or opacity.
    int blendedColumns_ = 0;
    win::KeptCanvas canvas_;  // of the captures, kept from one show to the next
    bool shown_ = false;
    bool columnsBeyondPending_ = false;  // see CaptureColumnsBeyond
};

}  // namespace tilerack
