#pragma once
// When the item list, changed while the panel runs, is written: a burst of
// changes (a drop of many files, a drag, a held key) gives one save once it
// has passed, and no change waits longer than about two seconds. A save that
// would be unsafe now (the file not fully read, a drag under way) waits
// without a word; a save that fails is reported once, and not again until a
// save succeeds.
#include <cstdint>

namespace tilerack {

class SaveGathering {
public:
    // A burst has passed once no change came for this long...
    static constexpr int64_t kQuietMs = 500;
    // ...and a change is saved this long after it at the latest.
    static constexpr int64_t kLatestMs = 1800;

    // The list changed at `nowMs`.
    void Changed(int64_t nowMs);
    // Whether a change is waiting to be written.
    bool Pending() const { return pending_; }
    // Whether the save is due at `nowMs`; a save that must wait (`mustWait`)
    // is never due.
    bool Due(int64_t nowMs, bool mustWait) const;
    // Milliseconds until the save falls due (0 when it is), or -1 when
    // nothing waits.
    int64_t DueIn(int64_t nowMs) const;

    // The list was written (by this gathering, by the item dialog or at the close).
    void Saved();
    // The save at `nowMs` failed; true when this failure is the one to
    // report. The change stays pending but waits for the next change (or
    // the close) before it is tried again.
    bool Failed();

    int SaveCount() const { return saves_; }

private:
    bool pending_ = false;
    bool waitForChange_ = false;  // a failed save is retried with the next change
    bool failureReported_ = false;
    int64_t firstChange_ = 0, lastChange_ = 0;
    int saves_ = 0;
};

}  // namespace tilerack
