#pragma once
// Little-endian fields in byte buffers: the one reader and writer of the whole tree (form
// template, property blocks, icon and cursor files, picture headers). The caller has checked
// that the bytes exist; nothing here knows a buffer's length.

#include <cstdint>

namespace kelvarn::platform {

inline uint16_t loadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t loadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t loadLe32Signed(const uint8_t* p) {
    return static_cast<int32_t>(loadLe32(p));
}

inline void storeLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void storeLe32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

} // namespace kelvarn::platform
