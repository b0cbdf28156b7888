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

} // namespace kelvarn::runtime
