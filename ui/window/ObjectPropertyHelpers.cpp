#include "ui/window/ObjectPropertyHelpers.h"

#include "runtime/core/RuntimeEntries.h"
#include "ui/window/UnitPropertyAccess.h"
#include "ui/window/WindowObject.h"

#include <cstdint>

namespace kelvarn::ui {
namespace {

// The object in a helper's arguments (type tag, object, ...): a live window object of that type,
// or null. A variable may outlive its unit, so the address is checked before it is used.
WindowObject* objectOf(const intptr_t* args, int32_t argCount) {
    if (!args || argCount < 4)
        return nullptr;
    WindowObject* object = WindowObject::live(reinterpret_cast<const void*>(args[1]));
    return object && object->typeTag() == static_cast<uint32_t>(args[0]) ? object : nullptr;
}

// (type tag, object, property index, member selector) -> the value as ReadUnitProperty gives it,
// both words in one; 0 for an object that is gone.
intptr_t readObjectProperty(const intptr_t* args, int32_t argCount) {
    WindowObject* object = objectOf(args, argCount);
    if (!object)
        return 0;
    runtime::PropertyValue v =
        ReadUnitProperty(object->windowId(), object->unitId(), static_cast<int32_t>(args[2]),
                         static_cast<int32_t>(args[3]));
    return reinterpret_cast<intptr_t>(v.address());
}

// (type tag, object, property index, member selector, value): the value's two words are the
// low and high halves of the pointer-sized argument, as the read hands them back.
intptr_t writeObjectProperty(const intptr_t* args, int32_t argCount) {
    WindowObject* object = argCount >= 5 ? objectOf(args, argCount) : nullptr;
    if (!object)
        return 0;
    runtime::PropertyValue v;
    v.setAddress(reinterpret_cast<const void*>(args[4]));
    WriteUnitProperty(object->windowId(), object->unitId(), static_cast<int32_t>(args[2]),
                      static_cast<int32_t>(args[3]), v.low, v.high);
    return 0;
}

} // namespace

void registerObjectPropertyHelpers() {
    runtime::setRuntimeHelper(runtime::kHelperReadObjectProperty, &readObjectProperty);
    runtime::setRuntimeHelper(runtime::kHelperWriteObjectProperty, &writeObjectProperty);
}

} // namespace kelvarn::ui
