#pragma once
// Entries of a library's data-type table, one per type the library defines (the type's tag is
// (library number << 16) | (entry position + 1)). The stored layout is 56 bytes of 32-bit words;
// in memory every address field is pointer-sized, the other fields keep their widths and order.

#include <cstdint>

namespace kelvarn::runtime {

// One property of a type, in property-index order (stored as 20 bytes).
struct PropertyEntry {
    const char* name = nullptr; // all three texts are null in this program
    const char* englishName = nullptr;
    const char* description = nullptr;
    uint16_t kind = 0;        // 1000 integer, 1005 text, 1013 font, ...
    uint16_t editorFlags = 0; // not interpreted by the runtime
    uint32_t reserved = 0;
};

// interface(code): the address of the type's entry for `code` (1 create, 4 set property, 5 save
// properties, 6 get property, ...), or null when the type has none.
using TypeInterfaceFunction = void* (*)(int32_t code);

struct DataTypeEntry {
    const char* name = nullptr;        // GBK display name, e.g. "列表框"
    const char* englishName = nullptr; // e.g. "ListBox"
    const char* description = nullptr;
    uint32_t reserved1[2] = {};
    uint32_t typeFlags = 0;
    uint32_t reserved2[3] = {};
    int32_t propertyCount = 0; // common properties included
    const PropertyEntry* properties = nullptr;
    TypeInterfaceFunction interface = nullptr;
    uint32_t reserved3[2] = {};

    // Entries a library leaves unused are all zero.
    bool isFilled() const { return name != nullptr || interface != nullptr; }
};

} // namespace kelvarn::runtime
