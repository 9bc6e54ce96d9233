// The scale's notices: counted, put off while the panel places itself.
#include "panel/scale_follower_win.h"

#include <algorithm>
#include <utility>

#include "common/flag_scope.h"
#include "platform/window_messages.h"

namespace tilerack {

void ScaleFollower::OnDpiChanged(int dpi) {
    ++notices_;
    deepest_ = std::max(deepest_, ++nesting_);
    Notice(dpi);
    --nesting_;
}

// A notice that comes inside the panel's own move or re-layout (the system
// sends it from within SetWindowPos) is taken up once that is done.
void ScaleFollower::Notice(int dpi) {
    pending_ = dpi;
    if (host_.PlacingItself() || changing_) {
        if (!posted_) posted_ = PostMessageW(panel_, win::kPendingDpiMessage, 0, 0) != 0;
        return;
    }
    while (pending_ != 0) Change(std::exchange(pending_, 0));
}

void ScaleFollower::OnPendingDpi() {
    posted_ = false;
    if (pending_ == 0) return;
    Notice(pending_);
    // The system gave the frame the border of the screen it moved onto: it
    // stands at its place again with that border.
    host_.StandAtPlace();
}

void ScaleFollower::Change(int dpi) {
    const FlagScope changing(changing_);
    host_.ChangeDpi(dpi);
}

}  // namespace tilerack
