#pragma once
// How a unit type presents itself to the runtime: the interface function of its data-type entry
// answers a code with the address of one of the entries below. The runtime calls them with
// plain values; on this platform every address is pointer-sized.

#include "platform/windowing/Types.h"

#include <cstdint>

namespace kelvarn::ui {

class WindowObject;

// Interface codes.
constexpr int32_t kInterfaceCreate = 1;
constexpr int32_t kInterfaceSetProperty = 4;
constexpr int32_t kInterfaceSaveProperties = 5;
constexpr int32_t kInterfaceGetProperty = 6;
constexpr int32_t kInterfaceIcon = 7;
constexpr int32_t kInterfaceWantsEnter = 8;
constexpr int32_t kInterfaceEnumerateTexts = 9;
constexpr int32_t kInterfaceIsDefaultButton = 10;

// The type side of a property value: (value or data address, length). Integers, logicals and
// choices use `word`; a text gives its address; a byte block or a 60-byte font block gives
// (address, length). Addresses handed out by a get entry stay valid until the next call on the
// same object.
struct TypeValue {
    uintptr_t word = 0;
    uintptr_t length = 0;

    int32_t integer() const { return static_cast<int32_t>(word); }
    const char* text() const { return reinterpret_cast<const char*>(word); }
    const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(word); }
};

// 1: create(property block, block length, style, parent, control id, menu, left, top, width,
// height, window id, unit id, creation flags, creation argument) -> window object, or null.
using CreateEntry = WindowObject* (*)(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                      platform::WindowHandle parent, uint32_t controlId,
                                      uintptr_t menu, int32_t left, int32_t top, int32_t width,
                                      int32_t height, uint32_t windowId, uint32_t unitId,
                                      uint32_t creationFlags, uintptr_t creationArgument);
// Creation flags: the window is loaded modal, so its creation picks the hidden owner window.
// The control types take none.
constexpr uint32_t kCreateModal = 0x1;
// 4: set property -> 1 when the unit must be re-created.
using SetPropertyEntry = int32_t (*)(WindowObject* object, int32_t typeIndex,
                                     const TypeValue* value, int32_t reserved);
// 5: save properties -> a global block holding the current property block, or null.
using SavePropertiesEntry = void* (*)(WindowObject* object);
// 6: get property -> 1 when the type index is known.
using GetPropertyEntry = int32_t (*)(WindowObject* object, int32_t typeIndex, TypeValue* out);
// 7 (window only): the icon bytes of a property block as a global block, or null.
using IconEntry = void* (*)(const uint8_t* block, uint32_t blockLength);
// 8 (EditBox only): whether the unit handles the key itself.
using WantsEnterEntry = int32_t (*)(WindowObject* object, uint32_t key);
// 9: enumerate texts. The callback sees every text property as (text, null, 0, user) and the
// face name of a 60-byte font block as (face, face, 1, user); it answers a replacement text or
// null to keep the text. The result is a global block holding the rewritten property block
// (its length stored through `blockLength`), or null.
using TextCallback = const char* (*)(const char* text, const char* face, int32_t isFontFace,
                                     uintptr_t user);
using EnumerateTextsEntry = void* (*)(const uint8_t* block, uint32_t* blockLength,
                                      TextCallback callback, uintptr_t user);
// 10 (Button only): whether the native style is the default push button.
using IsDefaultButtonEntry = int32_t (*)(WindowObject* object);

} // namespace kelvarn::ui
