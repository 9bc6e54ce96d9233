#pragma once
// The digits on the strip in keyboard use: 1 to 9 and 0 start the first to
// the tenth item shown, separators not counted.
#include <vector>

namespace tilerack {

// The list indexes of the numbered items, in order (at most ten): the items
// from `firstShown` on, among the `shownCount` entries the strip shows,
// that are no separators (`separators[i]` for entry i).
std::vector<int> NumberedItems(const std::vector<bool>& separators, int firstShown, int shownCount);
// The list index a digit key starts (0 stands for the tenth), or -1.
int ItemForDigit(int digit, const std::vector<int>& numbered);
// The digit drawn on list entry `index`, or -1 where it has none.
int DigitOf(int index, const std::vector<int>& numbered);

}  // namespace tilerack
