#pragma once
// What the panel may do with its item file, decided from what it could read
// of it. A file that is there but could not be read is tried again and never
// written over until it has been read; a damaged file is written over only
// once a copy of it has been kept.
#include "common/file_access.h"

namespace tilerack {

// When the item file is tried again after `failedTries` tries that did not
// read it: a few short tries first, which the user is not told of, then a
// slower pace for as long as the panel runs.
struct ItemFileRetry {
    static constexpr int kQuietTries = 6;  // the start's own included
    // Milliseconds until the next try.
    static int DelayAfter(int failedTries);
    // True once the failure is to be reported: after the last quiet try.
    static bool ReportAfter(int failedTries) { return failedTries == kQuietTries; }
};

class ItemFileState {
public:
    // The start's attempt, and each later one until the file was read.
    void Opened(FileAccess access) { access_ = access; }
    // The file was read but found damaged; `copyKept` when its original
    // stands beside it under another name.
    void FoundDamaged(bool copyKept) { damagedWithoutCopy_ = !copyKept; }
    // A long file read in two steps: its rest is still to come.
    void ReadingRest(bool pending) { restPending_ = pending; }
    // The rest could not be read: the list holds part of the file only.
    void RestFailed() { incomplete_ = true; }

    FileAccess Access() const { return access_; }
    // The file is still to be read: tried again while the panel runs.
    bool AwaitingRead() const { return access_ == FileAccess::Held || access_ == FileAccess::Unreadable; }
    bool DamagedWithoutCopy() const { return damagedWithoutCopy_; }
    // Whether a save may replace the file with the list: only a list that
    // holds all the file held (or a file that was not there), and a damaged
    // file only once its copy is kept.
    bool MayReplace() const;
    // A save waits rather than fails: the file may yet be read whole.
    bool SaveMustWait() const { return AwaitingRead() || restPending_; }

private:
    FileAccess access_ = FileAccess::Absent;
    bool restPending_ = false;
    bool incomplete_ = false;
    bool damagedWithoutCopy_ = false;
};

}  // namespace tilerack
