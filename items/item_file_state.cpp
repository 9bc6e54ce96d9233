#include "items/item_file_state.h"

namespace tilerack {

int ItemFileRetry::DelayAfter(int failedTries) {
    // 100, 200, 400, 800, 1600 ms: the quiet tries span 3 s, longer than a
    // scanner or a sync tool usually holds a file. Then every 2 s for a
    // minute, then every 10 s.
    if (failedTries < 1) return 0;
    if (failedTries < kQuietTries) return 100 << (failedTries - 1);
    return failedTries <= kQuietTries + 30 ? 2000 : 10000;
}

bool ItemFileState::MayReplace() const {
    return !AwaitingRead() && !restPending_ && !incomplete_ && !damagedWithoutCopy_;
}

}  // namespace tilerack
