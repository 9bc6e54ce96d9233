#pragma once
// Reads folders for their menus on threads of their own, so a folder on a
// share that does not answer never holds up the panel: each read is a job of
// its own thread, which posts the panel a message when its listing waits.
// The panel may wait a moment for a read, answering the messages sent to it
// meanwhile, so a quick folder opens with its contents at once. A thread
// stuck in a file call outlives the panel: all it shares is kept alive by
// itself.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "panel/folder_listing.h"

namespace tilerack {

struct FolderRead {
    bool readable = false;  // false: the folder could not be listed
    FolderListing listing;
};

// Whether an item's file is a folder, told without holding the panel up: a
// name with a closing backslash is one, a name with an extension is not, a
// share's name without one is; any other is asked of the file system.
bool IsFolderPath(const std::wstring& path);

class FolderReader {
public:
    // Each listing read is announced by posting `message` to `notify`.
    FolderReader(HWND notify, UINT message);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Starts reading `folder`; the read's id, which no other read has.
    uint64_t Ask(const std::wstring& folder);
    // Read `id`'s listing, once it has come (taken: asked again, nothing).
    std::optional<FolderRead> Take(uint64_t id);
    // Waits up to `ms` for read `id`, answering messages sent to this thread
    // meanwhile; true when it has come.
    bool WaitFor(uint64_t id, DWORD ms);

    // One folder listed on the calling thread, as the file manager shows it:
    // its entries' shown names and small icons, in the menu's order.
    static FolderRead Read(const std::wstring& folder);

private:
    struct Shared;
    static DWORD WINAPI Run(void* start);

    std::shared_ptr<Shared> shared_;
};

}  // namespace tilerack
