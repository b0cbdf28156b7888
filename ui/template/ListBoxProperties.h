#pragma once
// The property set of the ListBox type (tag 0x0001000F); comments give the type index.

#include "ui/template/PropertyBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct ListBoxProperties {
    static constexpr uint32_t kMaxVersion = 3;

    int32_t borderStyle = 1;              // 0
    int32_t sorted = 0;                   // 1
    int32_t multipleColumns = 0;          // 2
    int32_t extraLineSpacing = 1;         // 3
    uint32_t textColour = 0;              // 4
    uint32_t backgroundColour = 0xFFFFFF; // 5
    FontBlock font;                       // 6
    int32_t extendedSelection = 0;        // 7
    int32_t currentSelection = -1;        // 8
    std::vector<std::string> items;       // 9
    std::vector<uint8_t> itemData;        // 10: one dword per item
    std::string dataSource;               // 11 (extra text 1, version > 1)
    std::string dataField;                // 12 (extra text 2, version > 1)
    int32_t extraWord = 0;                // 13 (version 3)

    void reset() { *this = ListBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const;

    void readFields(BlockReader& r, uint32_t version);
    bool operator==(const ListBoxProperties&) const = default;
};

} // namespace kelvarn::ui
