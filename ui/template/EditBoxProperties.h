#pragma once
// The property set of the EditBox type (tag 0x00010005); comments give the type index.

#include "ui/template/PropertyBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct EditBoxProperties {
    static constexpr uint32_t kMaxVersion = 2;

    std::string content;                  // 0
    int32_t borderStyle = 1;              // 1
    uint32_t textColour = 0;              // 2
    uint32_t backgroundColour = 0xFFFFFF; // 3
    FontBlock font;                       // 4
    int32_t hideSelection = 1;            // 5
    int32_t maxLength = 0;                // 6
    int32_t multiLine = 0;                // 7
    int32_t scrollBars = 0;               // 8
    int32_t alignment = 0;                // 9
    int32_t inputMode = 0;                // 10
    uint16_t passwordChar = '*';          // 11
    int32_t letterCase = 0;               // 12
    int32_t adjuster = 0;                 // 13
    int32_t adjusterMinimum = 0;          // 14
    int32_t adjusterMaximum = 100;        // 15
    int32_t selectionStart = 0;           // 16
    int32_t selectionLength = 0;          // 17
    // 18 (replace selection) is write-only and not stored.
    std::string dataSource; // 19 (extra text 1, version 2)
    std::string dataField;  // 20 (extra text 2, version 2)

    void reset() { *this = EditBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const;

    void readFields(BlockReader& r, uint32_t version);
    bool operator==(const EditBoxProperties&) const = default;
};

} // namespace kelvarn::ui
