#include "panel/drop_place.h"

#include <cstddef>

namespace tilerack {

DropPlace DropPlaceAt(int y, const std::vector<StripEntrySpan>& entries) {
    const int count = static_cast<int>(entries.size());
    for (int i = 0; i < count; ++i) {
        const StripEntrySpan& e = entries[static_cast<size_t>(i)];
        if (y < e.top) return DropPlace{i, -1};
        if (y >= e.top + e.height) continue;
        const int offset = y - e.top;
        if (e.startsAProgram && !e.separator && offset >= e.height / 4 && offset < e.height - e.height / 4)
            return DropPlace{i, i};
        return DropPlace{offset < e.height / 2 ? i : i + 1, -1};
    }
    return DropPlace{count, -1};
}

}  // namespace tilerack
