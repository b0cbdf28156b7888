#pragma once
// Mouse pointers of units. Procedures name a pointer by a public number 0 to 14; the unit record
// and the unit types store the platform's cursor id. A pointer block is a cursor-id word,
// optionally followed by custom cursor data.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <span>

namespace kelvarn::ui {

// Numbers outside 0 to 14 (and ids without a public number) pass through unchanged.
uint32_t cursorIdFromPublic(uint32_t publicNumber);
uint32_t publicFromCursorId(uint32_t cursorId);

// The cursor a pointer block asks for: none for an empty block or kind 0, a cursor built from
// the custom data of a block longer than 10 bytes whose kind is not -1, else the standard cursor
// of the kind. The caller releases it with platform::destroyCursor.
platform::CursorHandle buildCursor(std::span<const uint8_t> pointerBlock);

} // namespace kelvarn::ui
