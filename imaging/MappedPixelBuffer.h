#pragma once
// Pixel memory in a hidden temporary file ("QUILBRIX" + number + ".tmp" in the temporary
// directory) mapped read-write. The file is created exclusively, so a name that is taken (by
// another picture, another process, or a planted link) moves on to the next number.
//
// Threads: allocate is safe from any thread, several at once: the exclusive create decides
// which buffer gets a number, so two threads never share a file. One buffer belongs to one
// thread at a time.

#include "platform/files/FileMapping.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvarn::imaging {

class MappedPixelBuffer {
public:
    MappedPixelBuffer() = default;
    MappedPixelBuffer(const MappedPixelBuffer&) = delete;
    MappedPixelBuffer& operator=(const MappedPixelBuffer&) = delete;
    ~MappedPixelBuffer() { release(true); }

    // 1 on success with `size` zero bytes mapped; 0 on failure, leaving nothing behind.
    int allocate(size_t size, const char* prefix = "QUILBRIX");
    int release(bool deleteFile);
    void flush(size_t start = 0, size_t count = 0);

    uint8_t* data() const { return static_cast<uint8_t*>(m_mapping.data()); }
    size_t size() const { return m_size; }
    // Runtime text (native path) of the backing file; empty when none.
    const std::string& path() const { return m_path; }

private:
    platform::FileMapping m_mapping;
    std::string m_path;
    size_t m_size = 0;
};

} // namespace kelvarn::imaging
