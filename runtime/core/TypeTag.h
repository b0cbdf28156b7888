#pragma once
// Type tags: what the data of an argument record is.

#include <cstdint>

namespace kelvarn::runtime {

constexpr uint32_t kTagNone = 0;
constexpr uint32_t kTagByte = 0x80000101;
constexpr uint32_t kTagShort = 0x80000201;
constexpr uint32_t kTagInteger = 0x80000301;
constexpr uint32_t kTagLong = 0x80000401;
constexpr uint32_t kTagSingle = 0x80000501;
constexpr uint32_t kTagDouble = 0x80000601;
constexpr uint32_t kTagLogical = 0x80000002;
constexpr uint32_t kTagDateTime = 0x80000003;
constexpr uint32_t kTagText = 0x80000004;
constexpr uint32_t kTagBinary = 0x80000005;
constexpr uint32_t kTagSystem8 = 0x80000008;
constexpr uint32_t kTagArrayBit = 0x20000000;

// Unit types of the core library (library 1).
constexpr uint32_t kTagWindow = 0x00010001;
constexpr uint32_t kTagEditBox = 0x00010005;
constexpr uint32_t kTagGroupBox = 0x00010009;
constexpr uint32_t kTagLabel = 0x0001000A;
constexpr uint32_t kTagButton = 0x0001000B;
constexpr uint32_t kTagRadioBox = 0x0001000D;
constexpr uint32_t kTagListBox = 0x0001000F;

enum class TagClass { None, System, Program, Library };

// By the top two bits: 10 system, 01 defined by the program, anything else (0 excepted) a type
// of a library. The array bit lies below the top two, so an array keeps its element's class.
constexpr TagClass classifyTag(uint32_t tag) {
    if (tag == 0)
        return TagClass::None;
    switch (tag >> 30) {
    case 2:
        return TagClass::System;
    case 1:
        return TagClass::Program;
    default:
        return TagClass::Library;
    }
}

constexpr bool isArrayTag(uint32_t tag) {
    return tag != 0 && (tag & kTagArrayBit) != 0;
}
constexpr uint32_t elementTag(uint32_t tag) {
    return tag & ~kTagArrayBit;
}

// Library types are (library number << 16) | type number, both counted from 1.
constexpr uint32_t makeLibraryTag(uint32_t libraryNumber, uint32_t typeNumber) {
    return (libraryNumber << 16) | (typeNumber & 0xFFFF);
}
constexpr uint32_t tagLibraryNumber(uint32_t tag) {
    return tag >> 16;
}
constexpr uint32_t tagTypeNumber(uint32_t tag) {
    return tag & 0xFFFF;
}

} // namespace kelvarn::runtime
