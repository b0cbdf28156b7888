#pragma once
// The property set of the GroupBox type (tag 0x00010009); comments give the type index.

#include "ui/template/PropertyBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct GroupBoxProperties {
    static constexpr uint32_t kMaxVersion = 1;

    std::string caption;                    // 0
    int32_t captionAlignment = 0;           // 1
    uint32_t textColour = 0;                // 2
    uint32_t backgroundColour = 0xFF000000; // 3
    FontBlock font;                         // 4

    void reset() { *this = GroupBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const;

    void readFields(BlockReader& r, uint32_t version);
    bool operator==(const GroupBoxProperties&) const = default;
};

} // namespace kelvarn::ui
