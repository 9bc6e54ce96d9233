#include "panel/folder_listing.h"

#include <algorithm>
#include <cwctype>

namespace tilerack {

namespace {

constexpr uint32_t kHidden = 0x2, kSystem = 0x4;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Compares the digit runs at a[i..] and b[j..] by value, moving past them.
int CompareNumbers(const std::wstring& a, size_t& i, const std::wstring& b, size_t& j) {
    const size_t startA = i, startB = j;
    while (i < a.size() && a[i] == L'0') ++i;
    while (j < b.size() && b[j] == L'0') ++j;
    const size_t valueA = i, valueB = j;
    while (i < a.size() && IsDigit(a[i])) ++i;
    while (j < b.size() && IsDigit(b[j])) ++j;
    const size_t lengthA = i - valueA, lengthB = j - valueB;
    if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
    const int digits = a.compare(valueA, lengthA, b, valueB, lengthB);
    if (digits != 0) return digits < 0 ? -1 : 1;
    const size_t runA = i - startA, runB = j - startB;
    return runA == runB ? 0 : (runA < runB ? -1 : 1);
}

}  // namespace

int LogicalNameOrder(const std::wstring& a, const std::wstring& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            if (const int numbers = CompareNumbers(a, i, b, j); numbers != 0) return numbers;
            continue;
        }
        const wchar_t x = static_cast<wchar_t>(std::towlower(a[i])), y = static_cast<wchar_t>(std::towlower(b[j]));
        if (x != y) return x < y ? -1 : 1;
        ++i, ++j;
    }
    if (i < a.size()) return 1;
    return j < b.size() ? -1 : 0;
}

FolderListing ArrangeFolderListing(std::vector<FolderEntry> entries, const NameOrder& order, size_t limit) {
    std::stable_sort(entries.begin(), entries.end(), [&](const FolderEntry& a, const FolderEntry& b) {
        if (a.folder != b.folder) return a.folder;
        return order(a.display, b.display) < 0;
    });
    FolderListing listing;
    listing.more = entries.size() > limit;
    if (listing.more) entries.resize(limit);
    listing.entries = std::move(entries);
    return listing;
}

bool ShownInFileManager(uint32_t attributes, bool showHidden, bool showProtected) {
    if (!(attributes & kHidden)) return true;
    if (attributes & kSystem) return showHidden && showProtected;
    return showHidden;
}

}  // namespace tilerack
