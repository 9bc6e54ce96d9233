#pragma once
// Where a file dragged over the strip would go: into a gap between two
// entries (the bar the user sees), or, over the middle of an item that
// starts a program, onto that item, to be opened with it.
#include <vector>

namespace tilerack {

// One entry of the strip as it stands: its client rows and what it is.
struct StripEntrySpan {
    int top = 0, height = 0;
    bool separator = false;
    bool startsAProgram = false;
};

struct DropPlace {
    int gap = 0;      // gap i lies above entry i; gap count below the last
    int onItem = -1;  // the entry a drop would open the files with, or -1
    bool operator==(const DropPlace&) const = default;
};

// The place for client row `y` over `entries` (in list order, the shown ones
// at their rows): the middle half of a program's button is the program; any
// other row goes to the nearer gap of the entry under it (above the first:
// its gap; below the last: the gap after it).
DropPlace DropPlaceAt(int y, const std::vector<StripEntrySpan>& entries);

}  // namespace tilerack
