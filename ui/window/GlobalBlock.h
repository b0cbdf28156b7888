#pragma once
// Movable global memory blocks: what the save-properties, icon and enumerate-texts entries hand
// back. A block knows its own size; its owner releases it with freeGlobalBlock.

#include <cstddef>
#include <cstdint>
#include <span>

namespace kelvarn::ui {

// Null for a size of 0 or when memory runs out.
void* allocGlobalBlock(size_t size);
void* globalBlockFrom(std::span<const uint8_t> bytes);
size_t globalBlockSize(const void* block);
std::span<const uint8_t> globalBlockBytes(const void* block);
void freeGlobalBlock(void* block);

} // namespace kelvarn::ui
