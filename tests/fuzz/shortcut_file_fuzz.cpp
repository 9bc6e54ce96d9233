// Feeds arbitrary bytes to the item file loader. It must never throw; whatever
// it loaded must save to a file that loads back cleanly to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "items/shortcut_file.h"

using namespace tilerack;

namespace {

struct Loaded {
    std::vector<std::unique_ptr<TShortCut>> items;
    ShortcutListLoad result;
};

Loaded Load(const std::vector<uint8_t>& bytes) {
    Loaded out;
    out.result = LoadShortcutList(bytes, [&](std::unique_ptr<TShortCut> item) {
        out.items.push_back(std::move(item));
    });
    return out;
}

std::vector<uint8_t> Save(const Loaded& loaded) {
    std::vector<const TShortCut*> list;
    for (const auto& item : loaded.items) list.push_back(item.get());
    return SaveShortcutList(list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Loaded first = Load(std::vector<uint8_t>(data, data + size));
    if (first.result.loaded != static_cast<int>(first.items.size())) std::abort();
    // Saving and reloading the largest accepted pictures would only slow the
    // search down; the bitmap fuzzer covers their round trip at smaller sizes.
    for (const auto& item : first.items)
        if (static_cast<int64_t>(item->Icon.Width()) * item->Icon.Height() > 256 * 256) return 0;

    const std::vector<uint8_t> saved = Save(first);
    const Loaded second = Load(saved);
    if (second.result.Damaged() || second.items.size() != first.items.size()) std::abort();
    if (Save(second) != saved) std::abort();
    return 0;
}
