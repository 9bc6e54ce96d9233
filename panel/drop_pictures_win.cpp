#include "panel/drop_pictures_win.h"

#include <deque>
#include <utility>
#include <vector>

#include "common/bitmap.h"
#include "items/shortcut.h"
#include "platform/com_apartment.h"
#include "platform/file_icons.h"
#include "platform/srw_lock_hold.h"

namespace tilerack {

namespace {

constexpr int kPictureSide = 32;

using Locked = win::SrwLockHold;

}  // namespace

struct DropPictures::Shared {
    struct Job {
        uint64_t id = 0;
        std::string fileName;
        COLORREF background = 0;
    };
    struct Made {
        uint64_t id = 0;
        TBitmap picture;
    };
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;  // a job came, or the end
    CONDITION_VARIABLE made = CONDITION_VARIABLE_INIT;  // a picture is made
    std::deque<Job> jobs;
    std::vector<Made> pictures;
    size_t underWay = 0;  // jobs taken and not yet made
    HWND notify = nullptr;
    UINT message = 0;
    bool announced = false;
    bool stop = false;
};

DropPictures::~DropPictures() {
    if (!shared_) return;
    {
        Locked hold(shared_->lock);
        shared_->stop = true;
        shared_->notify = nullptr;
        shared_->jobs.clear();
        WakeAllConditionVariable(&shared_->wake);
    }
    if (thread_) {
        // A picture under way is done in a moment, unless its file is on a
        // dead share: then the thread is left to the end of the process.
        WaitForSingleObject(thread_, kExitWait);
        CloseHandle(thread_);
    }
}

void DropPictures::Ask(HWND notify, UINT message, TShortCut& item, const std::string& fileName,
                       COLORREF background) {
    item.Icon = TBitmap(kPictureSide, kPictureSide);
    item.Icon.Fill(background);
    if (!shared_) shared_ = std::make_shared<Shared>();
    if (!thread_) {
        // The thread holds its own reference: it may outlive the panel.
        auto* own = new std::shared_ptr<Shared>(shared_);
        thread_ = CreateThread(nullptr, 0, &DropPictures::Run, own, 0, nullptr);
        if (!thread_) {
            delete own;
            return;  // the placeholder stays: the panel colour, as for a file without an icon
        }
    }
    const uint64_t id = ++lastId_;
    waiting_[id] = &item;
    Locked hold(shared_->lock);
    shared_->notify = notify;
    shared_->message = message;
    shared_->jobs.push_back({id, fileName, background});
    WakeAllConditionVariable(&shared_->wake);
}

void DropPictures::Forget(const TShortCut* item) {
    for (auto it = waiting_.begin(); it != waiting_.end();)
        it = it->second == item ? waiting_.erase(it) : std::next(it);
}

void DropPictures::Deliver(bool all) {
    if (!shared_) return;
    std::vector<Shared::Made> pictures;
    {
        Locked hold(shared_->lock);
        if (all) {
            const ULONGLONG deadline = GetTickCount64() + kSaveWait;
            while (!shared_->jobs.empty() || shared_->underWay > 0) {
                const ULONGLONG now = GetTickCount64();
                if (now >= deadline) break;
                SleepConditionVariableSRW(&shared_->made, &shared_->lock, static_cast<DWORD>(deadline - now), 0);
            }
        }
        shared_->announced = false;
        pictures = std::exchange(shared_->pictures, {});
    }
    for (Shared::Made& made : pictures) {
        const auto it = waiting_.find(made.id);
        if (it == waiting_.end()) continue;
        TShortCut& item = *it->second;
        waiting_.erase(it);
        item.Icon = std::move(made.picture);
        item.IconChanged();
    }
}

DWORD WINAPI DropPictures::Run(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Shared>> own(static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **own;
    const win::ThreadApartment apartment;  // for the shell's icon handlers
    for (;;) {
        Shared::Job job;
        {
            Locked hold(shared.lock);
            while (shared.jobs.empty() && !shared.stop) SleepConditionVariableSRW(&shared.wake, &shared.lock, INFINITE, 0);
            if (shared.stop) break;
            job = std::move(shared.jobs.front());
            shared.jobs.pop_front();
            ++shared.underWay;
        }
        // What a drop has always made of the file: the existence check, its
        // own icon or its type's, 32 x 32 on the panel colour.
        TBitmap picture;
        win::ExtractFileIcon(picture, job.fileName, 0, job.background);
        Locked hold(shared.lock);
        --shared.underWay;
        shared.pictures.push_back({job.id, std::move(picture)});
        WakeAllConditionVariable(&shared.made);
        if (shared.stop) break;
        if (!shared.announced && shared.notify)
            shared.announced = PostMessageW(shared.notify, shared.message, 0, 0) != FALSE;
    }
    return 0;
}

}  // namespace tilerack
