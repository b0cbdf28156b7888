#pragma once
// The property set of the Label type (tag 0x0001000A); comments give the type index. The
// stored order differs from the index order: gradient-border width comes before border style
// and vertical alignment before word wrap.

#include "ui/template/PropertyBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct LabelProperties {
    static constexpr uint32_t kMaxVersion = 2;

    std::string caption = "\xB1\xEA\xC7\xA9";  // 0: "标签"
    int32_t effect = 0;                        // 1
    int32_t borderStyle = 0;                   // 2
    int32_t gradientBorderWidth = 8;           // 3
    uint32_t gradientBorderColour1 = 0x808080; // 4
    uint32_t gradientBorderColour2 = 0xFFFFFF; // 5
    uint32_t gradientBorderColour3 = 0x808080; // 6
    FontBlock font;                            // 7
    uint32_t textColour = 0;                   // 8
    uint32_t backgroundColour = 0xFF000000;    // 9
    std::vector<uint8_t> backgroundPicture;    // 10
    int32_t pictureMode = 1;                   // 11
    int32_t backgroundGradient = 0;            // 12
    uint32_t gradientColour1 = 0x808080;       // 13
    uint32_t gradientColour2 = 0xFFFFFF;       // 14
    uint32_t gradientColour3 = 0x808080;       // 15
    int32_t horizontalAlignment = 0;           // 16
    int32_t wordWrap = 0;                      // 17
    int32_t verticalAlignment = 1;             // 18
    std::string dataSource;                    // 19 (extra text 1, version 2)
    std::string dataField;                     // 20 (extra text 2, version 2)

    void reset() { *this = LabelProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const;

    void readFields(BlockReader& r, uint32_t version);
    bool operator==(const LabelProperties&) const = default;
};

} // namespace kelvarn::ui
