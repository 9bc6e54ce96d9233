#include "panel/save_gathering.h"

#include <algorithm>

namespace tilerack {

void SaveGathering::Changed(int64_t nowMs) {
    if (!pending_ || waitForChange_) firstChange_ = nowMs;
    pending_ = true;
    waitForChange_ = false;
    lastChange_ = nowMs;
}

int64_t SaveGathering::DueIn(int64_t nowMs) const {
    if (!pending_ || waitForChange_) return -1;
    const int64_t due = std::min(lastChange_ + kQuietMs, firstChange_ + kLatestMs);
    return std::max<int64_t>(0, due - nowMs);
}

bool SaveGathering::Due(int64_t nowMs, bool mustWait) const { return !mustWait && DueIn(nowMs) == 0; }

void SaveGathering::Saved() {
    pending_ = false;
    waitForChange_ = false;
    failureReported_ = false;
    ++saves_;
}

bool SaveGathering::Failed() {
    waitForChange_ = true;
    const bool report = !failureReported_;
    failureReported_ = true;
    return report;
}

}  // namespace tilerack
