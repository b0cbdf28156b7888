#pragma once
// Property kinds: how the runtime carries a property's value between a procedure's two words and
// the type's own form. A kind not named here is carried as a text.

#include <cstdint>

namespace kelvarn::ui {

enum class PropertyKind : uint16_t {
    Integer32 = 1000,
    Integer = 1001,
    EightByte = 1002,
    Logical = 1003,
    EightByteValue = 1004,
    Text = 1005,
    Choice = 1006, // an integer; a negative value is written as 0
    Picture = 1009,
    Icon = 1010,
    MousePointer = 1011, // a byte block whose first word is the pointer kind
    Sound = 1012,
    Font = 1013,
    Colour = 1014,
    PlainColour = 1015,
    FileName = 1016,
    SystemColour = 1017, // 0xFF000000 means the system default
    DataSource = 1018,
    DataField = 1020,
    ByteBlockValue = 1023,
    ByteBlock = 1024,
};

} // namespace kelvarn::ui
