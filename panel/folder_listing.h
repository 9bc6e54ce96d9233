#pragma once
// What a folder's menu lists: its sub-folders first, then its files, each
// group in the order the file manager shows names in, cut after a number of
// entries (the rest behind an entry that opens the folder), and only the
// entries the file manager would show. Names are kept in UTF-16 as the file
// system gives them; the order is given as a comparison so that the system's
// own (StrCmpLogicalW) rules the menu, and LogicalNameOrder stands in for it
// where there is none.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tilerack {

inline constexpr size_t kFolderMenuLimit = 500;

struct FolderEntry {
    std::wstring name;     // on disk, joined to the folder's path to start it
    std::wstring display;  // as the file manager shows it (extensions hidden or not)
    bool folder = false;
    int icon = -1;         // its small icon in the system's image list, -1 none
};

struct FolderListing {
    std::vector<FolderEntry> entries;
    bool more = false;  // entries were left out after the limit
};

// Negative, zero or positive as `a` sorts before, with or after `b`.
using NameOrder = std::function<int(const std::wstring& a, const std::wstring& b)>;

// The entries in the menu's order (folders, then files, each by their shown
// names in `order`), the first `limit` of them kept.
FolderListing ArrangeFolderListing(std::vector<FolderEntry> entries, const NameOrder& order,
                                   size_t limit = kFolderMenuLimit);

// The order the file manager gives names: case does not matter, and runs of
// digits compare by their value ("2" before "10"); equal values compare
// shorter runs (fewer leading zeros) first.
int LogicalNameOrder(const std::wstring& a, const std::wstring& b);

// Whether the file manager shows an entry of these attributes (the Win32
// FILE_ATTRIBUTE_* bits): hidden ones only when it shows hidden files,
// hidden system ones (the protected files of the system) only when it
// shows those too.
bool ShownInFileManager(uint32_t attributes, bool showHidden, bool showProtected);

}  // namespace tilerack
