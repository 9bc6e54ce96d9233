#pragma once
// The pictures of dropped files, made away from the user-interface thread: a
// file on a slow or gone share must not freeze the panel. A dropped item
// joins the strip at once with a placeholder (the panel colour, as a file
// without any icon gets); a thread of its own (in a single-threaded COM
// apartment, for the shell's icon handlers) checks the file and makes its
// 32-pixel picture exactly as a drop always made it, and the panel puts it
// into the item when told. Before the items are saved every picture asked
// for is waited for (up to kSaveWait), so the file never holds a
// placeholder where a picture was on its way.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace tilerack {

class TShortCut;

class DropPictures {
public:
    static constexpr DWORD kSaveWait = 20000;  // ms
    static constexpr DWORD kExitWait = 400;    // ms

    DropPictures() = default;
    // Waits up to kExitWait for the picture under way.
    ~DropPictures();
    DropPictures(const DropPictures&) = delete;
    DropPictures& operator=(const DropPictures&) = delete;

    // Gives `item` its placeholder now and asks for the picture of
    // `fileName` on `background`; `notify` is posted `message` when
    // pictures are waiting.
    void Ask(HWND notify, UINT message, TShortCut& item, const std::string& fileName, COLORREF background);
    // The item is going: its picture is not wanted.
    void Forget(const TShortCut* item);
    // Puts the pictures made so far into their items; with `all`, waits for
    // the others first (up to kSaveWait).
    void Deliver(bool all);
    // Pictures are on their way: a save now would store placeholders.
    bool Waiting() const { return !waiting_.empty(); }

private:
    struct Shared;
    static DWORD WINAPI Run(void* shared);
    std::shared_ptr<Shared> shared_;
    HANDLE thread_ = nullptr;
    std::map<uint64_t, TShortCut*> waiting_;  // by job: the items whose picture is on its way
    uint64_t lastId_ = 0;
};

}  // namespace tilerack
