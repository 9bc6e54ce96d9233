#include "panel/item_file_session_win.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "common/app_texts.h"
#include "common/errors.h"
#include "common/flag_scope.h"
#include "platform/text.h"

namespace tilerack {

namespace {

// The bytes of one item's record as most files hold it: a 32 x 32 picture of
// 24 bits (3,126 bytes) and its texts.
constexpr uint64_t kTypicalItemRecordBytes = 4096;
// How often a save held up by a drag or an unread rest looks again.
constexpr UINT kSaveRecheckMs = 250;
// Past the end of the list: an item read at the start joins at its end.
constexpr size_t kAtEnd = static_cast<size_t>(-1);

int64_t Now() { return static_cast<int64_t>(GetTickCount64()); }

std::string Joined(const std::string& first, const std::string& second) {
    return first.empty() ? second : second.empty() ? first : first + "\r\n" + second;
}

}  // namespace

std::wstring ItemFileSession::Path() { return win::ExeFolder() + win::Widen(kShortcutFileName); }

bool ItemFileSession::OnTimer(UINT_PTR id) {
    if (id == kTimerRetryId) {
        Retry();
        return true;
    }
    if (id == kTimerSaveId) {
        SaveGathered();
        return true;
    }
    return false;
}

void ItemFileSession::TakeItem(size_t index, std::unique_ptr<TShortCut> item) {
    host_.TakeReadItem(index, std::move(item));
}

// A long item file is read in two steps: the panel shows with the items its
// strip has room for, and the rest follows right after the first paint,
// before any input is taken. A file of a few screens of items is read whole.
bool ItemFileSession::ReadAtStart(int shown, std::string& damage) {
    const std::wstring path = Path();
    win::RemoveLeftoverSavingFile(path);
    FileAccess access = FileAccess::Absent;
    auto file = std::make_unique<win::FileReader>(path, /*barWriters=*/true, access);
    state_.Opened(access);
    if (state_.AwaitingRead()) {
        failedTries_ = 1;
        SetTimer(window_, kTimerRetryId, ItemFileRetry::DelayAfter(failedTries_), nullptr);
    }
    if (access != FileAccess::Read) return false;
    const FlagScope reading(reading_);
    const auto append = [this](std::unique_ptr<TShortCut> item) { TakeItem(kAtEnd, std::move(item)); };
    // Two steps only while no other program can change the file between them.
    const bool twoSteps = file->BarsWriters();
    const ShortcutListLoad load =
        twoSteps ? LoadShortcutListStart(
                       file->Size(), shown, shown * kTypicalItemRecordBytes,
                       [&file](uint64_t offset, uint64_t count) { return file->Read(offset, count); }, append)
                 : LoadShortcutList(file->Read(0, file->Size()), append);
    if (twoSteps && !load.Complete()) {
        rest_ = std::move(file);
        head_ = load;
        state_.ReadingRest(true);
    }
    damage = DamageOf(load, 0);
    return true;
}

void ItemFileSession::ReadRest() {
    if (!rest_) return;
    std::unique_ptr<win::FileReader> file = std::move(rest_);
    state_.ReadingRest(false);
    std::vector<uint8_t> rest;
    try {
        rest = file->Read(head_.consumed, file->Size() - head_.consumed);
    } catch (...) {
        state_.RestFailed();
        throw;
    }
    file.reset();  // the file is the user's again (a damaged one is copied below)
    ShortcutListLoad load;
    {
        const FlagScope reading(reading_);
        load = LoadShortcutListRest(head_, rest,
                                    [this](std::unique_ptr<TShortCut> item) { TakeItem(kAtEnd, std::move(item)); });
    }
    host_.ItemsRead();
    if (const std::string damage = DamageOf(load, head_.invalidTexts); !damage.empty()) throw TError(damage);
}

// What a read found wrong (texts with bad UTF-8 past the `reported` ones
// included), its copy kept; empty when nothing was.
std::string ItemFileSession::DamageOf(const ShortcutListLoad& load, int reported) {
    std::string damage = load.error;
    if (load.invalidTexts > reported) damage = Joined(damage, kItemFileInvalidTexts);
    return damage.empty() ? damage : KeepCopyOfDamaged(damage);
}

// The next save rewrites the file from what could be read: the original is
// kept beside it first, and where that fails the file is not written over.
std::string ItemFileSession::KeepCopyOfDamaged(const std::string& damage) {
    const bool kept = !win::KeepDamagedCopy(Path()).empty();
    state_.FoundDamaged(kept);
    return kept ? damage : Joined(damage, kDamagedCopyFailed);
}

void ItemFileSession::Retry() {
    KillTimer(window_, kTimerRetryId);
    if (!state_.AwaitingRead()) return;
    std::string damage;
    if (ReadLate(damage)) {
        if (!damage.empty()) throw TError(damage);
        return;
    }
    ++failedTries_;
    SetTimer(window_, kTimerRetryId, ItemFileRetry::DelayAfter(failedTries_), nullptr);
    if (ItemFileRetry::ReportAfter(failedTries_)) throw TError(CannotOpenFile(win::Narrow(Path())));
}

// The file's items come in before those the user made meanwhile, so both
// stand in the list; a list the user changed is then saved with both.
bool ItemFileSession::ReadLate(std::string& damage) {
    FileAccess access = FileAccess::Absent;
    std::vector<uint8_t> bytes;
    {
        const win::FileReader file(Path(), /*barWriters=*/false, access);
        if (access == FileAccess::Read) {
            try {
                bytes = file.Read(0, file.Size());
            } catch (const std::exception&) {
                return false;
            }
        }
    }
    if (access == FileAccess::Held || access == FileAccess::Unreadable) return false;
    state_.Opened(access);
    if (access == FileAccess::Read) {
        size_t next = 0;
        ShortcutListLoad load;
        {
            const FlagScope reading(reading_);
            load = LoadShortcutList(bytes, [&](std::unique_ptr<TShortCut> item) { TakeItem(next++, std::move(item)); });
        }
        host_.ItemsRead();
        damage = DamageOf(load, 0);
    }
    ScheduleSave();
    return true;
}

void ItemFileSession::ListChanged() {
    if (reading_) return;
    gathering_.Changed(Now());
    ScheduleSave();
}

void ItemFileSession::ScheduleSave() {
    const int64_t dueIn = gathering_.DueIn(Now());
    if (dueIn >= 0) SetTimer(window_, kTimerSaveId, static_cast<UINT>(std::max<int64_t>(dueIn, 10)), nullptr);
}

// A gathered save: reported once when it fails (the change stays in memory
// and the next change or the close tries again), and never while the file
// is still to be read, a drag is under way, or the file may not be replaced
// (only the close keeps the list then).
void ItemFileSession::SaveGathered() {
    KillTimer(window_, kTimerSaveId);
    if (!gathering_.Pending() || state_.AwaitingRead()) return;  // a late read schedules it again
    if (!state_.SaveMustWait() && !state_.MayReplace()) return;
    const bool wait = state_.SaveMustWait() || host_.ListInMotion();
    if (!gathering_.Due(Now(), wait)) {
        if (wait)
            SetTimer(window_, kTimerSaveId, kSaveRecheckMs, nullptr);
        else
            ScheduleSave();
        return;
    }
    try {
        WriteList();
    } catch (const std::exception&) {
        if (gathering_.Failed()) throw;
    }
}

void ItemFileSession::WriteList() {
    const std::vector<const TShortCut*> list = host_.ItemsToSave();
    // Streamed: a long list is never built whole in memory first.
    win::SaveFileSafely(Path(), [&](const win::FileSink& put) { WriteShortcutList(list, put); });
    gathering_.Saved();
    KillTimer(window_, kTimerSaveId);
}

void ItemFileSession::Save() {
    std::string failures;
    try {
        ReadRest();
    } catch (const std::exception& e) {
        failures = e.what();
    }
    if (state_.AwaitingRead()) {
        std::string damage;
        ReadLate(damage);
        failures = Joined(failures, damage);
    }
    if (state_.DamagedWithoutCopy()) state_.FoundDamaged(!win::KeepDamagedCopy(Path()).empty());
    if (!state_.MayReplace()) {
        const bool unread = state_.AwaitingRead();
        if (unread || state_.DamagedWithoutCopy()) {
            // An unread file and an empty list: there is nothing to keep.
            if (!unread || !host_.ItemsToSave().empty())
                failures = Joined(failures, (unread ? kItemFileUnreadKeptHead : kItemFileDamagedKeptHead) +
                                                win::Narrow(Path()) + "\r\n" + KeepListBeside());
        } else if (failures.empty()) {
            failures = kStreamReadError.Get();  // the rest of a long file was never read
        }
        if (!failures.empty()) throw TError(failures);
        return;
    }
    try {
        WriteList();
    } catch (const std::exception& e) {
        failures = Joined(failures, e.what());
    }
    if (!failures.empty()) throw TError(failures);
}

std::string ItemFileSession::KeepListBeside() {
    const std::vector<const TShortCut*> list = host_.ItemsToSave();
    std::string failure;
    const std::wstring name = win::TakeNameBeside(Path(), L"unsaved", [&](const std::wstring& candidate) {
        if (GetFileAttributesW(win::ApiPath(candidate).c_str()) != INVALID_FILE_ATTRIBUTES) {
            SetLastError(ERROR_FILE_EXISTS);
            return false;
        }
        try {
            win::SaveFileSafely(candidate, [&](const win::FileSink& put) { WriteShortcutList(list, put); });
            return true;
        } catch (const std::exception& e) {
            failure = e.what();
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
    });
    return name.empty() ? failure : kListKeptBesideHead + win::Narrow(name);
}

}  // namespace tilerack
