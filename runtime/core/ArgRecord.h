#pragma once
// The 12-byte typed record in which every value travels between procedures and commands:
// data low, data high, type tag. On this 64-bit platform an address fills both data words.

#include "runtime/core/TypeTag.h"

#include <cstdint>
#include <cstring>

namespace kelvarn::runtime {

// An address in two 32-bit data words, the low word first, as records and property values hold
// it.
inline void* addressFromWords(uint32_t low, uint32_t high) {
    return reinterpret_cast<void*>((static_cast<uint64_t>(high) << 32) | low);
}
inline void addressToWords(const void* p, uint32_t& low, uint32_t& high) {
    const auto v = reinterpret_cast<uint64_t>(p);
    low = static_cast<uint32_t>(v);
    high = static_cast<uint32_t>(v >> 32);
}

struct ArgRecord {
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t tag = 0; // 0: argument omitted

    bool isPresent() const { return tag != 0; }

    void* address() const { return addressFromWords(low, high); }
    void setAddress(const void* p) { addressToWords(p, low, high); }
    const char* text() const { return static_cast<const char*>(address()); }
    uint8_t byteValue() const { return static_cast<uint8_t>(low); }
    int16_t shortValue() const { return static_cast<int16_t>(low); }
    int32_t integer() const { return static_cast<int32_t>(low); }
    bool logical() const { return low != 0; }
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

    // A unit reference: data low = window id, data high = unit id, tag = the unit's type tag.
    uint32_t windowId() const { return low; }
    uint32_t unitId() const { return high; }
};
static_assert(sizeof(ArgRecord) == 12, "argument records are three 32-bit words");

// Records of each system type, encoded as the tag table says.
inline ArgRecord makeByte(uint8_t v) {
    return {v, 0, kTagByte};
}
inline ArgRecord makeShort(int16_t v) {
    return {static_cast<uint16_t>(v), 0, kTagShort}; // low half only; the upper bits stay 0
}
inline ArgRecord makeInteger(int32_t v) {
    return {static_cast<uint32_t>(v), 0, kTagInteger};
}
inline ArgRecord makeLong(int64_t v) {
    auto u = static_cast<uint64_t>(v);
    return {static_cast<uint32_t>(u), static_cast<uint32_t>(u >> 32), kTagLong};
}
inline ArgRecord makeSingle(float v) {
    ArgRecord r{0, 0, kTagSingle};
    std::memcpy(&r.low, &v, sizeof v);
    return r;
}
inline ArgRecord makeDouble(double v, uint32_t tag = kTagDouble) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), tag};
}
inline ArgRecord makeDateTime(double v) {
    return makeDouble(v, kTagDateTime);
}
inline ArgRecord makeLogical(bool v) {
    return {v ? 1u : 0u, 0, kTagLogical};
}
inline ArgRecord makeAddress(const void* p, uint32_t tag) {
    ArgRecord r{0, 0, tag};
    r.setAddress(p);
    return r;
}
// The caller keeps ownership; a command never frees an argument.
inline ArgRecord makeText(const char* text) {
    return makeAddress(text, kTagText);
}
inline ArgRecord makeBinary(const void* block) {
    return makeAddress(block, kTagBinary);
}
inline ArgRecord makeUnitReference(uint32_t windowId, uint32_t unitId, uint32_t typeTag) {
    return {windowId, unitId, typeTag};
}

// command(result, argument count, first argument record). The caller zero-fills the result.
using CommandFunction = void (*)(ArgRecord* result, int32_t argCount, ArgRecord* args);

} // namespace kelvarn::runtime
