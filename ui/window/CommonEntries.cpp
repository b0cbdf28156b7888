#include "ui/window/CommonEntries.h"

namespace kelvarn::ui {

int32_t setPropertyEntry(WindowObject* object, int32_t typeIndex, const TypeValue* value, int32_t) {
    if (!object || !value)
        return 0;
    return object->setProperty(typeIndex, *value);
}

void* savePropertiesEntry(WindowObject* object) {
    if (!object)
        return nullptr;
    return globalBlockFrom(object->savePropertyBlock());
}

int32_t getPropertyEntry(WindowObject* object, int32_t typeIndex, TypeValue* out) {
    if (!object || !out)
        return 0;
    return object->getProperty(typeIndex, *out) ? 1 : 0;
}

void* commonInterfaceEntry(int32_t code, CreateEntry create, EnumerateTextsEntry enumerateTexts) {
    switch (code) {
    case kInterfaceCreate:
        return reinterpret_cast<void*>(create);
    case kInterfaceSetProperty:
        return reinterpret_cast<void*>(&setPropertyEntry);
    case kInterfaceSaveProperties:
        return reinterpret_cast<void*>(&savePropertiesEntry);
    case kInterfaceGetProperty:
        return reinterpret_cast<void*>(&getPropertyEntry);
    case kInterfaceEnumerateTexts:
        return reinterpret_cast<void*>(enumerateTexts);
    default:
        return nullptr;
    }
}

uint32_t typeFlagsOf(uint32_t typeTag) {
    const runtime::DataTypeEntry* type = dataTypeFor(typeTag);
    return type ? type->typeFlags : 0;
}

} // namespace kelvarn::ui
