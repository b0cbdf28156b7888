#pragma once
// The property set of the RadioBox type (tag 0x0001000D); comments give the type index.

#include "ui/template/PropertyBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct RadioBoxProperties {
    static constexpr uint32_t kMaxVersion = 1;

    std::vector<uint8_t> picture;                     // 0
    int32_t pushButtonLook = 0;                       // 1
    int32_t flat = 0;                                 // 2
    std::string caption = "\xB5\xA5\xD1\xA1\xBF\xF2"; // 3: "单选框"
    int32_t captionOnLeft = 0;                        // 4
    int32_t horizontalAlignment = 0;                  // 5
    int32_t verticalAlignment = 1;                    // 6
    uint32_t textColour = 0;                          // 7
    uint32_t backgroundColour = 0xFF000000;           // 8
    FontBlock font;                                   // 9
    int32_t checked = 0;                              // 10

    void reset() { *this = RadioBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const;

    void readFields(BlockReader& r, uint32_t version);
    bool operator==(const RadioBoxProperties&) const = default;
};

} // namespace kelvarn::ui
