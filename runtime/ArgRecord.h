#pragma once
// The 12-byte typed record in which every value travels between procedures and commands:
// data low, data high, type tag. On this 64-bit platform an address fills both data words.

#include <cstdint>
#include <cstring>

namespace kelvarn::runtime {

struct ArgRecord {
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t tag = 0; // 0: argument omitted

    bool isPresent() const { return tag != 0; }

    void* address() const {
        return reinterpret_cast<void*>((static_cast<uint64_t>(high) << 32) | low);
    }
    void setAddress(const void* p) {
        auto v = reinterpret_cast<uint64_t>(p);
        low = static_cast<uint32_t>(v);
        high = static_cast<uint32_t>(v >> 32);
    }
    const char* text() const { return static_cast<const char*>(address()); }
    int32_t integer() const { return static_cast<int32_t>(low); }
    int64_t longInteger() const {
        return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
    }
    double doubleValue() const {
        uint64_t bits = (static_cast<uint64_t>(high) << 32) | low;
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    float singleValue() const {
        float f;
        std::memcpy(&f, &low, sizeof f);
        return f;
    }
};
static_assert(sizeof(ArgRecord) == 12, "argument records are three 32-bit words");

// command(result, argument count, first argument record). The caller zero-fills the result.
using CommandFunction = void (*)(ArgRecord* result, int32_t argCount, ArgRecord* args);

} // namespace kelvarn::runtime
