#pragma once
// The runtime heap. A null address is the empty text; an address inside the program's
// constants area is a shared literal that is never released.

#include <cstddef>
#include <cstdint>

namespace kelvarn::runtime {

// Never null: an exhausted heap is the runtime error "分配 %d 字节内存失败!".
void* MemAlloc(int32_t size);
void* MemRealloc(void* block, int32_t size);
void MemFree(void* block);

// The constants area [start, start + length); empty before initialisation and after shutdown.
void setConstantsArea(const void* start, size_t length);
void clearConstantsArea();
bool isConstant(const void* address);

} // namespace kelvarn::runtime
