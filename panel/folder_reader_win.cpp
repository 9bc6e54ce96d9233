#include "panel/folder_reader_win.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <map>
#include <utility>
#include <vector>

#include "platform/com_apartment.h"
#include "platform/handles.h"
#include "platform/srw_lock_hold.h"

namespace tilerack {

struct FolderReader::Shared {
    SRWLOCK lock = SRWLOCK_INIT;
    std::map<uint64_t, FolderRead> done;
    HWND notify = nullptr;  // null once the panel has gone
    UINT message = 0;
    uint64_t lastId = 0;
};

namespace {

struct Job {
    std::shared_ptr<void> keep;  // the shared state, alive for as long as the thread
    uint64_t id = 0;
    std::wstring folder;
};

std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') return folder + L"\\" + name;
    return folder + name;
}

// The file manager's settings: whether it shows hidden files, and the
// protected files of the system.
void FileManagerShows(bool& hidden, bool& protectedFiles) {
    SHELLSTATEW state{};
    SHGetSetSettings(&state, SSF_SHOWALLOBJECTS | SSF_SHOWSUPERHIDDEN, FALSE);
    hidden = state.fShowAllObjects != 0;
    protectedFiles = state.fShowSuperHidden != 0;
}

// The folder's entries the file manager shows, named as on disk; false when
// it cannot be listed.
bool ListEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    bool showHidden = false, showProtected = false;
    FileManagerShows(showHidden, showProtected);
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileExW(Joined(folder, L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (!ShownInFileManager(found.dwFileAttributes, showHidden, showProtected)) continue;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(FolderEntry{name, name, isFolder, -1});
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return true;
}

// Files whose icon is their own (a program's, a shortcut's, a picture's):
// asked of the file itself; any other file shows its type's icon.
bool HasOwnIcon(const std::wstring& name) {
    static const wchar_t* const kOwn[] = {L".exe", L".lnk", L".ico", L".url", L".cur", L".ani", L".scr", L".cpl"};
    const wchar_t* extension = PathFindExtensionW(name.c_str());
    for (const wchar_t* own : kOwn)
        if (!lstrcmpiW(extension, own)) return true;
    return false;
}

// The shell's answer about an entry. Shown names, and icons of a type, come
// from the name and the attributes alone: the file is not opened, so a
// folder of thousands of entries is named at once.
SHFILEINFOW AskShell(const std::wstring& path, const FolderEntry& entry, UINT flags) {
    SHFILEINFOW info{};
    const DWORD attributes = entry.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), flags);
    return info;
}

bool IsUncPath(const std::wstring& path) {
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path.compare(0, 4, L"\\\\?\\") != 0;
}

}  // namespace

bool IsFolderPath(const std::wstring& path) {
    if (path.empty()) return false;
    if (path.back() == L'\\' || path.back() == L'/') return true;
    // A name with an extension is a file, told without asking the disk: many
    // dropped files join the strip at once, and a share that does not answer
    // never holds the strip up. A share's names are never asked.
    if (*PathFindExtensionW(path.c_str()) != L'\0') return false;
    if (IsUncPath(path)) return true;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FolderRead FolderReader::Read(const std::wstring& folder) {
    FolderRead read;
    std::vector<FolderEntry> entries;
    read.readable = ListEntries(folder, entries);
    if (!read.readable) return read;
    // Shown names for all (they give the order), icons for the kept ones.
    for (FolderEntry& e : entries) {
        const SHFILEINFOW info = AskShell(Joined(folder, e.name), e, SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES);
        if (info.szDisplayName[0]) e.display = info.szDisplayName;
    }
    read.listing = ArrangeFolderListing(std::move(entries), [](const std::wstring& a, const std::wstring& b) {
        return StrCmpLogicalW(a.c_str(), b.c_str());
    });
    for (FolderEntry& e : read.listing.entries) {
        const bool own = !e.folder && HasOwnIcon(e.name);
        const UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (own ? 0 : SHGFI_USEFILEATTRIBUTES);
        e.icon = AskShell(Joined(folder, e.name), e, flags).iIcon;
    }
    return read;
}

FolderReader::FolderReader(HWND notify, UINT message) : shared_(std::make_shared<Shared>()) {
    shared_->notify = notify;
    shared_->message = message;
}

FolderReader::~FolderReader() {
    win::SrwLockHold hold(shared_->lock);
    shared_->notify = nullptr;
}

uint64_t FolderReader::Ask(const std::wstring& folder) {
    uint64_t id = 0;
    {
        win::SrwLockHold hold(shared_->lock);
        id = ++shared_->lastId;
    }
    auto* job = new Job{shared_, id, folder};
    HANDLE thread = CreateThread(nullptr, 0, &FolderReader::Run, job, 0, nullptr);
    if (!thread) {
        // No thread: the read is done here, as an answer that has come.
        delete job;
        FolderRead read = Read(folder);
        win::SrwLockHold hold(shared_->lock);
        shared_->done[id] = std::move(read);
        return id;
    }
    CloseHandle(thread);
    return id;
}

DWORD WINAPI FolderReader::Run(void* start) {
    std::unique_ptr<Job> job(static_cast<Job*>(start));
    const win::ThreadApartment apartment;  // for the shell's name and icon handlers
    FolderRead read = Read(job->folder);
    auto& shared = *static_cast<Shared*>(job->keep.get());
    win::SrwLockHold hold(shared.lock);
    shared.done[job->id] = std::move(read);
    if (shared.notify) PostMessageW(shared.notify, shared.message, 0, static_cast<LPARAM>(job->id));
    return 0;
}

std::optional<FolderRead> FolderReader::Take(uint64_t id) {
    win::SrwLockHold hold(shared_->lock);
    const auto found = shared_->done.find(id);
    if (found == shared_->done.end()) return std::nullopt;
    FolderRead read = std::move(found->second);
    shared_->done.erase(found);
    return read;
}

bool FolderReader::WaitFor(uint64_t id, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        {
            win::SrwLockHold hold(shared_->lock);
            if (shared_->done.count(id)) return true;
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms) return false;
        // Messages sent to the panel are answered while it waits.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - spent, 5), QS_SENDMESSAGE);
    }
}

}  // namespace tilerack
