#include "panel/sharp_icon_worker_win.h"

#include <deque>
#include <utility>

#include "panel/sharp_icons.h"
#include "platform/file_icons.h"

namespace tilerack {

struct SharpIconWorker::Shared {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
    std::deque<Job> jobs;
    std::vector<Result> results;
    HWND notify = nullptr;  // null once the panel has gone
    UINT message = 0;
    bool announced = false;  // a message is on its way for the results waiting
    bool stop = false;
    bool running = false;
};

namespace {

class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

SharpIconWorker::SharpIconWorker(HWND notify, UINT message) : shared_(std::make_shared<Shared>()) {
    shared_->notify = notify;
    shared_->message = message;
}

SharpIconWorker::~SharpIconWorker() {
    Locked hold(shared_->lock);
    shared_->stop = true;
    shared_->notify = nullptr;
    shared_->jobs.clear();
    WakeConditionVariable(&shared_->wake);
}

void SharpIconWorker::Ask(Job job) {
    Locked hold(shared_->lock);
    shared_->jobs.push_back(std::move(job));
    if (!shared_->running) {
        // The thread holds its own reference: it may outlive the panel.
        auto* own = new std::shared_ptr<Shared>(shared_);
        HANDLE thread = CreateThread(nullptr, 0, &SharpIconWorker::Run, own, 0, nullptr);
        if (!thread) {
            delete own;
            shared_->jobs.clear();  // no sharp pictures then: the stored ones stay
            return;
        }
        // Sharp pictures are a nicety: they never compete with the panel.
        SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
        CloseHandle(thread);
        shared_->running = true;
    }
    WakeConditionVariable(&shared_->wake);
}

void SharpIconWorker::DropWaitingJobs() {
    Locked hold(shared_->lock);
    shared_->jobs.clear();
}

std::vector<SharpIconWorker::Result> SharpIconWorker::TakeResults() {
    Locked hold(shared_->lock);
    shared_->announced = false;
    return std::exchange(shared_->results, {});
}

SharpIconWorker::Result SharpIconWorker::Make(const Job& job) {
    Result result{job.key, job.stored, job.side, {}};
    // What a drop makes of the file now, at the stored picture's size (the
    // system's icon size when it was made): ExtractIcon takes the file's
    // image of that size, and so does this.
    TBitmap madeNow;
    if (!win::ExtractFileIconSized(madeNow, job.fileName, job.stored.Width(), job.background) ||
        !IsFileIconPicture(job.stored, madeNow))
        return result;
    TBitmap sharp;
    if (win::ExtractFileIconSized(sharp, job.fileName, job.side, job.background)) result.sharp = std::move(sharp);
    return result;
}

DWORD WINAPI SharpIconWorker::Run(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Shared>> own(static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **own;
    for (;;) {
        Job job;
        {
            Locked hold(shared.lock);
            while (shared.jobs.empty() && !shared.stop) SleepConditionVariableSRW(&shared.wake, &shared.lock, INFINITE, 0);
            if (shared.stop) return 0;
            job = std::move(shared.jobs.front());
            shared.jobs.pop_front();
        }
        Result result = Make(job);
        Locked hold(shared.lock);
        if (shared.stop) return 0;
        shared.results.push_back(std::move(result));
        if (!shared.announced && shared.notify) shared.announced = PostMessageW(shared.notify, shared.message, 0, 0) != FALSE;
    }
}

}  // namespace tilerack
