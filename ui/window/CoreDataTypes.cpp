#include "ui/window/CoreDataTypes.h"

#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/core/TypeTag.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/UnitTypeRegistry.h"

#include <array>

namespace kelvarn::ui {
namespace {

using runtime::DataTypeEntry;

// Each registered type at the slot of its tag's type number (counted from 1); the rest stay zero.
std::array<DataTypeEntry, kCoreDataTypeCount> buildTable() {
    std::array<DataTypeEntry, kCoreDataTypeCount> table{};
    for (const UnitTypeRow& row : unitTypeRows()) {
        DataTypeEntry& e = table.at(runtime::tagTypeNumber(row.tag) - 1);
        e.name = row.name;
        e.englishName = row.englishName;
        e.typeFlags = row.typeFlags;
        e.propertyCount = static_cast<int32_t>(row.properties.size());
        e.properties = row.properties.data();
        e.interface = row.interface;
    }
    return table;
}

intptr_t dataTypeService(int32_t, intptr_t p1, intptr_t) {
    return reinterpret_cast<intptr_t>(dataTypeFor(static_cast<uint32_t>(p1)));
}

} // namespace

std::span<const DataTypeEntry> coreDataTypes() {
    static const std::array<DataTypeEntry, kCoreDataTypeCount> table = buildTable();
    return table;
}

const DataTypeEntry* dataTypeFor(uint32_t typeTag) {
    const DataTypeEntry* e = runtime::runtimeApp().dataTypeEntry(typeTag);
    return e && e->isFilled() ? e : nullptr;
}

void registerDataTypeService() {
    runtime::registerRuntimeService(kServiceDataType, &dataTypeService);
}

} // namespace kelvarn::ui
