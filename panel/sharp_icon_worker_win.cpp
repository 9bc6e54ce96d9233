#include "panel/sharp_icon_worker_win.h"

#include <deque>
#include <utility>

#include "panel/sharp_icons.h"
#include "platform/com_apartment.h"
#include "platform/file_icons.h"
#include "platform/srw_lock_hold.h"
#include "platform/text.h"

namespace tilerack {

namespace {

constexpr int kLocalLane = 0;
constexpr int kNetworkLane = 1;
constexpr int kLanes = 2;

using Locked = win::SrwLockHold;

// A UNC path ("\\server\share\..."), not a local one written the long way
// ("\\?\C:\...").
bool IsUncPath(const std::string& path) {
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path.compare(0, 4, "\\\\?\\") != 0 &&
           path.compare(0, 4, "\\\\.\\") != 0;
}

// A file on a network drive. Asks the system about the drive letter:
// not for the user-interface thread.
bool OnNetworkDrive(const std::string& path) {
    if (IsUncPath(path)) return true;
    if (path.size() < 2 || path[1] != ':') return false;
    const std::wstring root = win::Widen(path.substr(0, 2)) + L"\\";
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
}

}  // namespace

struct SharpIconWorker::Shared {
    struct Lane {
        std::deque<Job> shown, rest;  // the shown items' jobs go first
        HANDLE thread = nullptr;
        bool Empty() const { return shown.empty() && rest.empty(); }
        Job Pop() {
            std::deque<Job>& from = shown.empty() ? rest : shown;
            Job job = std::move(from.front());
            from.pop_front();
            return job;
        }
        void Clear() {
            shown.clear();
            rest.clear();
        }
    };
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
    Lane lanes[kLanes];
    std::vector<Result> results;
    HWND notify = nullptr;  // null once the panel has gone
    UINT message = 0;
    uint64_t lastId = 0;
    bool announced = false;  // a message is on its way for the results waiting
    bool stop = false;
};

struct SharpIconWorker::Start {
    std::shared_ptr<Shared> shared;  // the thread's own reference: it may outlive the panel
    int lane = kLocalLane;
};

namespace {

// Queues `job` on `lane` and starts the lane's thread if it has none; with
// the lock held.
template <typename Shared, typename Job, typename StartFn>
void Queue(const std::shared_ptr<Shared>& shared, int lane, Job job, StartFn start) {
    auto& l = shared->lanes[lane];
    (job.shown ? l.shown : l.rest).push_back(std::move(job));
    if (!l.thread) {
        l.thread = start(shared, lane);
        if (!l.thread) {
            l.Clear();  // no sharp pictures then: the stored ones stay
            return;
        }
    }
    WakeAllConditionVariable(&shared->wake);
}

}  // namespace

SharpIconWorker::SharpIconWorker(HWND notify, UINT message) : shared_(std::make_shared<Shared>()) {
    shared_->notify = notify;
    shared_->message = message;
}

SharpIconWorker::~SharpIconWorker() {
    std::vector<HANDLE> threads;
    {
        Locked hold(shared_->lock);
        shared_->stop = true;
        shared_->notify = nullptr;
        for (Shared::Lane& lane : shared_->lanes) {
            lane.Clear();
            if (lane.thread) threads.push_back(std::exchange(lane.thread, nullptr));
        }
        WakeAllConditionVariable(&shared_->wake);
    }
    // A job under way ends in a moment, unless it waits on a dead drive:
    // then its thread is left to the end of the process.
    if (!threads.empty())
        WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, kExitWait);
    for (HANDLE thread : threads) CloseHandle(thread);
}

HANDLE SharpIconWorker::StartLane(const std::shared_ptr<Shared>& shared, int lane) {
    auto* start = new Start{shared, lane};
    HANDLE thread = CreateThread(nullptr, 0, &SharpIconWorker::Run, start, 0, nullptr);
    if (!thread) {
        delete start;
        return nullptr;
    }
    // Sharp pictures are a nicety: they never compete with the panel.
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    return thread;
}

uint64_t SharpIconWorker::Ask(Job job) {
    Locked hold(shared_->lock);
    job.id = ++shared_->lastId;
    const uint64_t id = job.id;
    const int lane = IsUncPath(job.fileName) ? kNetworkLane : kLocalLane;
    Queue(shared_, lane, std::move(job), &SharpIconWorker::StartLane);
    return id;
}

void SharpIconWorker::DropWaitingJobs() {
    Locked hold(shared_->lock);
    for (Shared::Lane& lane : shared_->lanes) lane.Clear();
}

std::vector<SharpIconWorker::Result> SharpIconWorker::TakeResults() {
    Locked hold(shared_->lock);
    shared_->announced = false;
    return std::exchange(shared_->results, {});
}

SharpIconWorker::Result SharpIconWorker::Make(const Job& job) {
    Result result{job.id, job.stored, job.side, {}};
    // The file's icon as a drop makes it, made the very way a drop makes
    // it: on this system (the system's icon size drawn at 32 x 32), or on
    // one at 100 %, where the system's icon size is the picture's own and
    // the file's image of that size is taken as it is.
    TBitmap madeNow, madeAtBase;
    win::ExtractFileIcon(madeNow, job.fileName, 0, job.background);
    if (!IsFileIconPicture(job.stored, madeNow) &&
        !(win::ExtractFileIconSized(madeAtBase, job.fileName, job.stored.Width(), job.background) &&
          IsFileIconPicture(job.stored, madeAtBase)))
        return result;
    TBitmap sharp;
    if (win::ExtractFileIconSized(sharp, job.fileName, job.side, job.background)) result.sharp = std::move(sharp);
    return result;
}

DWORD WINAPI SharpIconWorker::Run(void* parameter) {
    const std::unique_ptr<Start> start(static_cast<Start*>(parameter));
    Shared& shared = *start->shared;
    Shared::Lane& lane = shared.lanes[start->lane];
    const win::ThreadApartment apartment;  // for the shell's icon handlers
    for (;;) {
        Job job;
        {
            Locked hold(shared.lock);
            while (lane.Empty() && !shared.stop) SleepConditionVariableSRW(&shared.wake, &shared.lock, INFINITE, 0);
            if (shared.stop) return 0;
            job = lane.Pop();
        }
        if (start->lane == kLocalLane && OnNetworkDrive(job.fileName)) {
            Locked hold(shared.lock);
            if (shared.stop) return 0;
            Queue(start->shared, kNetworkLane, std::move(job), &SharpIconWorker::StartLane);
            continue;
        }
        Result result = Make(job);
        Locked hold(shared.lock);
        if (shared.stop) return 0;
        shared.results.push_back(std::move(result));
        if (!shared.announced && shared.notify) shared.announced = PostMessageW(shared.notify, shared.message, 0, 0) != FALSE;
    }
}

}  // namespace tilerack
