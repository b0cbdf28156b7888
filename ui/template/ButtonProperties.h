#pragma once
// The property set of the Button type (tag 0x0001000B); comments give the type index.

#include "ui/template/PropertyBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct ButtonProperties {
    static constexpr uint32_t kMaxVersion = 1;

    std::vector<uint8_t> picture;             // 0
    int32_t defaultButton = 0;                // 1
    std::string caption = "\xB0\xB4\xC5\xA5"; // 2: "按钮"
    int32_t horizontalAlignment = 1;          // 3
    int32_t verticalAlignment = 1;            // 4
    FontBlock font;                           // 5

    void reset() { *this = ButtonProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const;

    void readFields(BlockReader& r, uint32_t version);
    bool operator==(const ButtonProperties&) const = default;
};

} // namespace kelvarn::ui
