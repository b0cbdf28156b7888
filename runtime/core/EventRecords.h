#pragma once
// The event records that window objects hand to runtime services 2008 (simple record) and 2031
// (typed record). The raiser fills in the unit, the event and the arguments and clears the
// result flag; the dispatcher calls the bound procedure and completes the result.

#include <cstdint>

namespace kelvarn::runtime {

constexpr int32_t kServiceRaiseTypedEvent = 2031;
constexpr int32_t kServiceCurrentEventSource = 2017;

struct SimpleEventRecord {
    uint32_t windowId = 0;
    uint32_t unitId = 0; // 0: the window itself
    int32_t event = 0;
    int32_t argCount = 0; // 0 to 5
    uint32_t args[5] = {};
    int32_t resultFlag = 0; // 1 when the procedure returned a value
    uint32_t result = 0;    // its low word
};
static_assert(sizeof(SimpleEventRecord) == 44, "the simple record is eleven 32-bit words");

// Flags of a typed argument slot.
constexpr uint32_t kSlotAddressOnly = 0x1; // pass the data low word only (an address)
constexpr uint32_t kSlotBothWords = 0x2;   // pass both data words

struct TypedEventArgument {
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t tag = 0;
    uint32_t flags = 0;
};

struct TypedEventRecord {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
    int32_t event = 0;
    int32_t argCount = 0; // 0 to 12
    TypedEventArgument args[12] = {};
    int32_t resultFlag = 0;
    uint32_t resultLow = 0;
    uint32_t resultHigh = 0;
};
static_assert(sizeof(TypedEventRecord) == 220, "the typed record ends with the result words");

// The window idle event of the message loop; its one argument is the milliseconds since the
// idle period began, a returned true asks for more idle calls.
constexpr int32_t kWindowIdleEvent = 7;

} // namespace kelvarn::runtime
