#pragma once
// Interface entries every unit type shares (set, save and get properties go to the object's own
// property set) and the text enumeration over a type's property block.

#include "ui/template/FontBlock.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"
#include "ui/window/CoreDataTypes.h"
#include "ui/window/GlobalBlock.h"
#include "ui/window/TypeInterface.h"
#include "ui/window/UnitType.h"
#include "ui/window/WindowObject.h"

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace kelvarn::ui {

int32_t setPropertyEntry(WindowObject* object, int32_t typeIndex, const TypeValue* value,
                         int32_t reserved);
void* savePropertiesEntry(WindowObject* object);
int32_t getPropertyEntry(WindowObject* object, int32_t typeIndex, TypeValue* out);

// The entry a type's interface function answers for `code`, or null.
template <typename Entry> Entry typeEntry(const runtime::DataTypeEntry& type, int32_t code) {
    return type.interface ? reinterpret_cast<Entry>(type.interface(code)) : nullptr;
}
template <typename Entry> Entry typeEntry(uint32_t typeTag, int32_t code) {
    const runtime::DataTypeEntry* type = dataTypeFor(typeTag);
    return type ? typeEntry<Entry>(*type, code) : nullptr;
}

// The entries every type answers alike: its own creation and text enumeration, and the shared
// set, save and get entries above. Null for any other code.
void* commonInterfaceEntry(int32_t code, CreateEntry create, EnumerateTextsEntry enumerateTexts);

uint32_t typeFlagsOf(uint32_t typeTag);

// Interface code 9 for a type whose properties `Visit(properties, onText, onFont)` walks: each
// text goes to the callback as (text, null, 0, user) and each 60-byte font's face name as
// (face, face, 1, user); a non-null answer replaces it. The block is written back at the
// type's maximum version.
template <typename Properties, typename Visit>
void* enumerateBlockTexts(const uint8_t* block, uint32_t* blockLength, TextCallback callback,
                          uintptr_t user, Visit visit) {
    if (!blockLength || !callback)
        return nullptr;
    Properties p;
    std::span<const uint8_t> bytes(block, block ? *blockLength : 0);
    if (p.read(bytes) != BlockStatus::Ok)
        return nullptr;
    auto onText = [&](std::string& text) {
        if (const char* replacement = callback(text.c_str(), nullptr, 0, user))
            text = replacement;
    };
    auto onFont = [&](FontBlock& font) {
        if (font.isDefault())
            return;
        std::string face = font.faceName();
        if (const char* replacement = callback(face.c_str(), face.c_str(), 1, user))
            font.setFaceName(replacement);
    };
    visit(p, onText, onFont);
    std::vector<uint8_t> written = p.write();
    void* result = globalBlockFrom(written);
    if (result)
        *blockLength = static_cast<uint32_t>(written.size());
    return result;
}

// Interface code 9 for a type: every text and font field of its property table, and the items of
// a type that has them.
template <typename Properties>
void* enumerateTextsEntry(const uint8_t* block, uint32_t* blockLength, TextCallback callback,
                          uintptr_t user) {
    return enumerateBlockTexts<Properties>(
        block, blockLength, callback, user, [](Properties& p, auto& onText, auto& onFont) {
            for (const PropertyRow<Properties>& row : propertyTable(p)) {
                if (auto text = std::get_if<std::string Properties::*>(&row.field))
                    onText(p.*(*text));
                else if (auto font = std::get_if<FontBlock Properties::*>(&row.field))
                    onFont(p.*(*font));
            }
            if constexpr (requires { p.items; })
                for (std::string& item : p.items)
                    onText(item);
        });
}

// The entries of a unit type built on UnitType: its creation, the shared set, save and get
// entries and the text enumeration over its property table.
template <typename Unit> void* unitInterfaceEntry(int32_t code) {
    using Properties = std::decay_t<decltype(std::declval<const Unit&>().properties())>;
    return commonInterfaceEntry(code, &createUnitEntry<Unit>, &enumerateTextsEntry<Properties>);
}

} // namespace kelvarn::ui
