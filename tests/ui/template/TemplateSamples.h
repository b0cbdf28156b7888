#pragma once
// Small records and buffers the template tests build on.

#include "runtime/core/TypeTag.h"
#include "ui/template/FormIds.h"
#include "ui/template/UnitBuffer.h"
#include "ui/template/UnitRecord.h"

#include <string>
#include <vector>

namespace kelvarn::ui::test {

inline UnitRecord sampleUnit(uint32_t typeTag, std::string name, std::vector<uint8_t> block = {}) {
    UnitRecord u;
    u.typeTag = typeTag;
    u.name = std::move(name);
    u.left = 10;
    u.top = 20;
    u.width = 30;
    u.height = 40;
    u.stateFlags = kStateVisible;
    u.propertyBlock = std::move(block);
    return u;
}

// A window's own record and `units - 1` buttons with ids 0x16010002 upwards.
inline std::vector<UnitRecordEntry> sampleRecords(uint32_t units) {
    std::vector<UnitRecordEntry> records;
    records.push_back({kWindowOwnRecordId, encodeUnitRecord(sampleUnit(runtime::kTagWindow, ""))});
    for (uint32_t i = 1; i < units; ++i) {
        std::string name(1, 'b');
        name.append(std::to_string(i));
        std::vector<uint8_t> block(i, static_cast<uint8_t>(i));
        records.push_back(
            {0x16010001 + i, encodeUnitRecord(sampleUnit(runtime::kTagButton, name, block))});
    }
    return records;
}

} // namespace kelvarn::ui::test
