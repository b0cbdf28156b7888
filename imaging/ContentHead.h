#pragma once
// The first bytes of a file and its size: all the loader chain's probes look at to tell which
// decoders recognise the content, read once instead of by every decoder in turn.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kelvarn::imaging {

struct ContentHead {
    // Enough for every signature, the farthest being Photo CD's at 0x800.
    static constexpr size_t kCapacity = 4096;

    uint8_t bytes[kCapacity];
    size_t count = 0; // the file's first min(size, kCapacity) bytes are held
    int64_t size = 0;

    // Whether the file holds `length` bytes equal to `expected` at `offset`.
    bool holds(size_t offset, const void* expected, size_t length) const {
        return offset <= count && length <= count - offset &&
               std::memcmp(bytes + offset, expected, length) == 0;
    }
};

// `path` is a runtime text. False when the file cannot be opened or read.
bool readContentHead(const char* path, ContentHead& head);

} // namespace kelvarn::imaging
