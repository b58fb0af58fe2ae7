#include "model/strings/ResStr.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace {

struct OResStrEntry {
    int id;
    std::string_view text;
};

constexpr OResStrEntry kTable[] = {
#include "model/strings/StringTable.inc"
};

constexpr bool bIsStrictlyAscending() {
    for (size_t i = 1; i < std::size(kTable); ++i) {
        if (kTable[i - 1].id >= kTable[i].id) return false;
    }
    return true;
}
static_assert(bIsStrictlyAscending(), "StringTable.inc must be sorted by id without duplicates");

const OResStrEntry* FindEntry(int id) {
    const auto* it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                                      [](const OResStrEntry& e, int key) { return e.id < key; });
    return it != std::end(kTable) && it->id == id ? it : nullptr;
}

// The table's texts as std::string, built once, in table order.
const std::vector<std::string>& TableStrings() {
    static const std::vector<std::string> strings = [] {
        std::vector<std::string> result;
        result.reserve(std::size(kTable));
        for (const auto& entry : kTable)
            result.emplace_back(entry.text);
        return result;
    }();
    return strings;
}

// Fallback texts of unknown ids; node-based, so references stay valid as it grows.
const std::string& FallbackText(int id) {
    static std::mutex mutex;
    static std::unordered_map<int, std::string> fallbacks;
    std::lock_guard lock(mutex);
    auto [it, inserted] = fallbacks.try_emplace(id);
    if (inserted) it->second = "<string " + std::to_string(id) + ">";
    return it->second;
}

}  // namespace

const std::string& ResStr(int id) {
    if (const OResStrEntry* entry = FindEntry(id)) {
        return TableStrings()[static_cast<size_t>(entry - std::begin(kTable))];
    }
    return FallbackText(id);
}

bool bHasResStr(int id) {
    return FindEntry(id) != nullptr;
}

std::vector<int> ResStrIds() {
    std::vector<int> ids;
    ids.reserve(std::size(kTable));
    for (const auto& entry : kTable)
        ids.push_back(entry.id);
    return ids;
}
