#pragma once
// Pixel memory in a hidden temporary file mapped read-write. The file is created exclusively as
// "QUILBRIX" + number + ".tmp" in the temporary directory, so a name that is taken (by another
// process or a planted link) moves on to the next number, and its name is removed as soon as it
// is open: no pixel file is ever left behind, however the process ends.
//
// Threads: allocate is safe from any thread, several at once: the exclusive create decides
// which buffer gets a name, and the name is gone again before allocate returns. One buffer
// belongs to one thread at a time.

#include "platform/files/FileMapping.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kelvarn::imaging {

class MappedPixelBuffer {
public:
    MappedPixelBuffer() = default;
    MappedPixelBuffer(const MappedPixelBuffer&) = delete;
    MappedPixelBuffer& operator=(const MappedPixelBuffer&) = delete;
    ~MappedPixelBuffer() { release(); }

    // 1 on success with `size` zero bytes mapped; 0 on failure, leaving nothing behind.
    int allocate(size_t size, const char* prefix = "QUILBRIX");
    // Unmaps the memory; the kernel frees its file. Always 1.
    int release();
    void flush(size_t start = 0, size_t count = 0);
    void swap(MappedPixelBuffer& other) noexcept { std::swap(m_mapping, other.m_mapping); }

    uint8_t* data() const { return static_cast<uint8_t*>(m_mapping.data()); }
    size_t size() const { return m_mapping.size(); }

private:
    platform::FileMapping m_mapping;
};

} // namespace kelvarn::imaging
