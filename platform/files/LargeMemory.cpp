#include "platform/files/LargeMemory.h"

#include <cstdint>
#include <sys/mman.h>

namespace kelvarn::platform {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

size_t roundUp(size_t size) {
    return (size + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

void* mapLargeMemory(size_t size) {
    if (size == 0 || size > SIZE_MAX - 2 * kHugePage)
        return nullptr;
    const size_t mapped = roundUp(size);
    // A huge page needs a 2 MiB-aligned start: map one huge page more and trim both ends.
    void* raw = mmap(nullptr, mapped + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start)
        munmap(raw, aligned - start);
    const uintptr_t end = start + mapped + kHugePage;
    if (end > aligned + mapped)
        munmap(reinterpret_cast<void*>(aligned + mapped), end - (aligned + mapped));
    void* data = reinterpret_cast<void*>(aligned);
    madvise(data, mapped, MADV_HUGEPAGE); // advice only: without it the pages are just small
    return data;
}

void unmapLargeMemory(void* data, size_t size) {
    if (data)
        munmap(data, roundUp(size));
}

} // namespace kelvarn::platform
