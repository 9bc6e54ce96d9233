#pragma once
// Makes items' sharp pictures (sharp_icons.h) on threads of their own, so a
// file on a slow or gone drive never holds up the panel: the panel hands
// them jobs, they post the panel a message when results are waiting, and
// the panel takes them in its message loop. Each thread joins a
// single-threaded COM apartment (the shell's icon handlers need one).
// Files on network drives have a thread of their own, so a dead share holds
// up only other network files; on each thread the shown items' jobs go
// first. A thread is started at its first job. When the panel goes the
// threads are waited for a moment; one stuck in a file call is then left
// behind: all it shares with the panel is kept alive by itself.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/bitmap.h"

namespace tilerack {

class SharpIconWorker {
public:
    struct Job {
        std::string fileName;
        TBitmap stored;  // the item's picture when asked
        int side = 0;    // of the sharp picture
        COLORREF background = 0;
        bool shown = false;  // on screen: before the others
        uint64_t id = 0;     // given by Ask
    };
    struct Result {
        uint64_t id = 0;
        TBitmap stored;  // as in the job
        int side = 0;
        TBitmap sharp;  // empty: keep the stored picture
    };

    // Results are announced by posting `message` to `notify`, once for any
    // number of results waiting.
    SharpIconWorker(HWND notify, UINT message);
    // Waits up to kExitWait for the jobs under way.
    ~SharpIconWorker();
    SharpIconWorker(const SharpIconWorker&) = delete;
    SharpIconWorker& operator=(const SharpIconWorker&) = delete;

    static constexpr DWORD kExitWait = 400;  // ms

    // Queues the job; returns its id, which no other job of this worker has.
    uint64_t Ask(Job job);
    // Drops the jobs not started yet (their answers would come too late).
    void DropWaitingJobs();
    std::vector<Result> TakeResults();

    // One job done on the calling thread: what the worker does with it.
    static Result Make(const Job& job);

private:
    struct Shared;
    struct Start;
    static DWORD WINAPI Run(void* start);
    // Starts the thread of `lane` (local or network files); null when none
    // could be made.
    static HANDLE StartLane(const std::shared_ptr<Shared>& shared, int lane);
    std::shared_ptr<Shared> shared_;
};

}  // namespace tilerack
