#pragma once
// Makes items' sharp pictures (sharp_icons.h) on a thread of its own, so a
// file on a slow or gone drive never holds up the panel: the panel hands it
// jobs, it posts the panel a message when results are waiting, and the
// panel takes them in its message loop. The thread is started at the first
// job and left behind, not waited for, when the panel goes: it may be stuck
// in a file call, and all it shares with the panel is kept alive by itself.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/bitmap.h"

namespace tilerack {

class SharpIconWorker {
public:
    struct Job {
        const void* key = nullptr;  // the item, as the panel knows it
        std::string fileName;
        TBitmap stored;  // the item's picture when asked
        int side = 0;    // of the sharp picture
        COLORREF background = 0;
    };
    struct Result {
        const void* key = nullptr;
        TBitmap stored;  // as in the job
        int side = 0;
        TBitmap sharp;  // empty: keep the stored picture
    };

    // Results are announced by posting `message` to `notify`, once for any
    // number of results waiting.
    SharpIconWorker(HWND notify, UINT message);
    ~SharpIconWorker();
    SharpIconWorker(const SharpIconWorker&) = delete;
    SharpIconWorker& operator=(const SharpIconWorker&) = delete;

    void Ask(Job job);
    // Drops the jobs not started yet (their answers would come too late).
    void DropWaitingJobs();
    std::vector<Result> TakeResults();

    // One job done on the calling thread: what the worker does with it.
    static Result Make(const Job& job);

private:
    struct Shared;
    static DWORD WINAPI Run(void* shared);
    std::shared_ptr<Shared> shared_;
};

}  // namespace tilerack
