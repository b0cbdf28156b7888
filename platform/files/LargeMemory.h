#pragma once
// Memory for large scratch buffers (a picture's worth of filtered or compressed rows): anonymous
// pages, advised to be backed by huge pages where the kernel allows it on advice, so that the
// first write of a buffer costs one fault per 2 MiB instead of one per 4 KiB page. Pages are
// faulted as they are written, so a buffer sized for the worst case costs only what is used.
//
// Threads: safe from any thread.

#include <cstddef>

namespace kelvarn::platform {

// `size` bytes of zeroed memory, or null when none can be had.
void* mapLargeMemory(size_t size);
// Gives back what mapLargeMemory returned, with the same size.
void unmapLargeMemory(void* data, size_t size);

} // namespace kelvarn::platform
