#pragma once
// One panel per item file. Two panels over one "shorts.dat" would each save
// their own list at close, and the last to close would win; so the program
// claims its item file before it touches any file, and a second start for
// the same file brings the running panel out instead and ends.
#include <windows.h>

#include <string>

#include "platform/handles.h"

namespace tilerack::win {

class ItemFileClaim {
public:
    // Claims `itemFile` for this process. Where a running panel (a window of
    // `panelClass` in another process) holds it, that panel is asked to come
    // out and the claim is not held: the program then ends at once. A panel
    // still closing is waited for, a few seconds at most.
    ItemFileClaim(const std::wstring& itemFile, const wchar_t* panelClass);
    ~ItemFileClaim();
    ItemFileClaim(const ItemFileClaim&) = delete;
    ItemFileClaim& operator=(const ItemFileClaim&) = delete;

    bool Held() const { return held_; }

private:
    UniqueKernelObject mutex_;
    bool held_ = false;
};

// The running panel's side: true when the WM_COPYDATA it was sent asks the
// panel over `itemFile` to come out.
bool IsBringOutRequest(const COPYDATASTRUCT& data, const std::wstring& itemFile);

}  // namespace tilerack::win
