#include "panel/number_keys.h"

#include <algorithm>

namespace tilerack {

std::vector<int> NumberedItems(const std::vector<bool>& separators, int firstShown, int shownCount) {
    std::vector<int> numbered;
    const int count = static_cast<int>(separators.size());
    const int end = std::min(count, std::max(firstShown, 0) + std::max(shownCount, 0));
    for (int i = std::max(firstShown, 0); i < end && numbered.size() < 10; ++i)
        if (!separators[static_cast<size_t>(i)]) numbered.push_back(i);
    return numbered;
}

int ItemForDigit(int digit, const std::vector<int>& numbered) {
    if (digit < 0 || digit > 9) return -1;
    const size_t place = digit == 0 ? 9 : static_cast<size_t>(digit - 1);
    return place < numbered.size() ? numbered[place] : -1;
}

int DigitOf(int index, const std::vector<int>& numbered) {
    const auto at = std::find(numbered.begin(), numbered.end(), index);
    if (at == numbered.end()) return -1;
    const int place = static_cast<int>(at - numbered.begin());
    return place == 9 ? 0 : place + 1;
}

}  // namespace tilerack
