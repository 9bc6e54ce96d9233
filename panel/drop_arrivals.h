#pragma once
// One drop of files can reach the panel by two ways: the OLE drop target and
// the shell's plain drop (WM_DROPFILES). Windows hands a drag to the drop
// target alone; some systems that carry drags over from another desktop
// hand it to both, others only as the plain drop. Each drop is taken once:
// the same files through the other way a moment after a drop are that drop.
#include <cstdint>
#include <string>
#include <vector>

namespace tilerack {

enum class DropWay { DropTarget, ShellDrop };

// How long after a drop its twin through the other way may still come.
inline constexpr uint64_t kTwinDropWindowMs = 3000;

class DropArrivals {
public:
    // A drop of `files` by `way` at `nowMs` (a steady clock): true when it is
    // a drop of its own, false when it repeats the one just taken.
    bool TakeNew(DropWay way, const std::vector<std::string>& files, uint64_t nowMs);

private:
    bool any_ = false;
    DropWay way_ = DropWay::DropTarget;
    std::vector<std::string> files_;
    uint64_t atMs_ = 0;
};

}  // namespace tilerack
