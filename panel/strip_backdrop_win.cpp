// The screen under the panel's shown place, captured into its Background.
#include "panel/strip_backdrop_win.h"

#include "panel/background_blend.h"
#include "platform/window_base.h"

namespace tilerack {

void StripBackdrop::Capture() {
    const ShownPlace place = host_.WhereShown();
    const int width = place.width + metrics_.captureExtra, height = place.height;
    // Before the first show a left panel reads only the columns its frame
    // can cover: those past its far side stay in sight, so they are read
    // once it shows (CaptureColumnsBeyond) and the first paint comes sooner.
    // At the right edge they lie past the screen's edge or under the frame.
    columnsBeyondPending_ = !shown_ && settings_.side == PanelSide::Left;
    // Captured even when the opacity hides it: a later change of the opacity
    // then blends this capture again at once.
    win::CaptureScreen(Left(), place.top, width, height, background_, canvas_,
                       columnsBeyondPending_ ? place.width : width);
    // At the right edge the panel can only grow to the left: what lies
    // there is kept too, for a growth while the panel covers its border.
    if (settings_.side == PanelSide::Right)
        win::CaptureScreen(Left() - metrics_.captureExtra, place.top, metrics_.captureExtra, height, beside_);
    else
        beside_ = TBitmap();
    Reblend();
}

void StripBackdrop::CaptureColumnsBeyond() {
    if (!columnsBeyondPending_) return;
    columnsBeyondPending_ = false;
    const ShownPlace place = host_.WhereShown();
    const int from = place.width, count = background_.Width() - from;
    if (count <= 0) return;
    const int left = Left(), beyondLeft = left + from;
    TBitmap beyond;
    win::CaptureScreen(beyondLeft, place.top, count, background_.Height(), beyond);
    CopyCapturedColumns(background_, left, beyond, beyondLeft);
}

int StripBackdrop::Left() {
    const int edge = host_.WhereShown().edge;
    return settings_.side == PanelSide::Right ? edge - win::ClientSize(panel_).cx : edge;
}

StripBackdrop::Held StripBackdrop::Hold(int pixels, int oldLeft) {
    const ShownPlace place = host_.WhereShown();
    const int extra = metrics_.captureExtra;
    Held held;
    held.oldLeft = oldLeft;
    held.screenLeft = settings_.side == PanelSide::Right ? place.edge - pixels - extra : place.edge;
    win::CaptureScreen(held.screenLeft, place.top, pixels + 2 * extra, place.height + extra, held.screen);
    held.kept = background_;  // as captured: the resize pads it with black columns
    return held;
}

void StripBackdrop::Rejoin(const Held& held) {
    const ShownPlace place = host_.WhereShown();
    const int extra = metrics_.captureExtra;
    background_ = JoinCaptures({{&held.screen, held.screenLeft},
                                {&beside_, held.oldLeft - beside_.Width()},
                                {&held.kept, held.oldLeft}},
                               Left(), place.width + extra, place.height);
    if (!beside_.Empty())
        beside_ = JoinCaptures({{&held.screen, held.screenLeft}}, Left() - extra, extra, place.height);
    Reblend();
}

}  // namespace tilerack
