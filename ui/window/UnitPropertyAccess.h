#pragma once
// Unit properties by number for compiled procedures: `ReadUnitProperty` and `WriteUnitProperty`
// (runtime entries 4 and 5). The eight common properties (0 left, 1 top, 2 width, 3 height,
// 4 tag, 5 visible, 6 disabled, 7 mouse pointer) live in the unit record and the native
// control; from 8 on the unit type's own properties go through its get and set entries, with the
// value converted between the procedure's two-word form and the type's form by property kind.

#include "runtime/core/RuntimeEntries.h"

#include <cstdint>

namespace kelvarn::ui {

// A returned text, binary-data block or font record is new and belongs to the caller; the empty
// text comes back as 0. `member` selects a font member (-1 the whole font) and is ignored for
// other kinds.
runtime::PropertyValue ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t propertyIndex,
                                        int32_t member);
// The unit keeps its own copy of a written text or block.
void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t propertyIndex, int32_t member,
                       uint32_t low, uint32_t high);

// Common values above this (and, for left and top, below its negative) are clamped.
constexpr int32_t kCoordinateLimit = 32627;

} // namespace kelvarn::ui
