#include "panel/drop_arrivals.h"

namespace tilerack {

bool DropArrivals::TakeNew(DropWay way, const std::vector<std::string>& files, uint64_t nowMs) {
    const bool twin = any_ && way != way_ && files == files_ && nowMs >= atMs_ && nowMs - atMs_ <= kTwinDropWindowMs;
    if (twin) {
        // Each drop has one twin at most: the next arrival is new again.
        any_ = false;
        return false;
    }
    any_ = true;
    way_ = way;
    files_ = files;
    atMs_ = nowMs;
    return true;
}

}  // namespace tilerack
