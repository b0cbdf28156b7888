#include "runtime/frame/CodeArea.h"

#include <algorithm>
#include <vector>

namespace kelvarn::runtime {
namespace {

struct CodeAreaState {
    uint32_t base = 0;
    std::vector<CodeEntry> entries; // sorted by offset
};

CodeAreaState& area() {
    static CodeAreaState state;
    return state;
}

} // namespace

void installCodeArea(uint32_t base, std::span<const CodeEntry> entries) {
    CodeAreaState& a = area();
    a.base = base;
    a.entries.assign(entries.begin(), entries.end());
    std::stable_sort(a.entries.begin(), a.entries.end(),
                     [](const CodeEntry& x, const CodeEntry& y) { return x.offset < y.offset; });
}

void clearCodeArea() {
    area().base = 0;
    area().entries.clear();
}

uint32_t codeAreaBase() {
    return area().base;
}

uint32_t procedureWord(uint32_t offset) {
    return area().base + offset; // 32-bit arithmetic, as the template reader relocates
}

Procedure procedureAt(uint32_t word) {
    if (word == 0)
        return nullptr;
    const CodeAreaState& a = area();
    uint32_t offset = word - a.base;
    auto it = std::lower_bound(
        a.entries.begin(), a.entries.end(), offset,
        [](const CodeEntry& entry, uint32_t value) { return entry.offset < value; });
    return it != a.entries.end() && it->offset == offset ? it->procedure : nullptr;
}

} // namespace kelvarn::runtime
