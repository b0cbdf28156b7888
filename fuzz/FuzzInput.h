#pragma once
// The fuzz input as a stream, the way a decoder meets a file: an anonymous temporary file that
// disappears when it is closed.

#include "platform/files/FileSystem.h"

#include <cstdint>
#include <cstdio>

namespace kelvarn::fuzz {

inline platform::StreamPtr streamOf(const uint8_t* data, size_t size) {
    platform::StreamPtr stream(std::tmpfile());
    if (!stream || (size > 0 && std::fwrite(data, size, 1, stream.get()) != 1) ||
        std::fseek(stream.get(), 0, SEEK_SET) != 0)
        return nullptr;
    return stream;
}

} // namespace kelvarn::fuzz
