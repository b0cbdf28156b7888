#include "ui/window/UnitFields.h"

#include "platform/files/LittleEndian.h"
#include "ui/template/ByteWriter.h"

namespace kelvarn::ui {

std::optional<UnitRecordLayout> UnitFields::layout() const {
    if (m_index >= m_buffer.count() || m_buffer.isMenuItem(m_index))
        return std::nullopt;
    return walkUnitRecord(m_buffer.recordData(m_index));
}

bool UnitFields::isValid() const {
    return layout().has_value();
}

uint32_t UnitFields::word(size_t offset) const {
    std::span<const uint8_t> data = m_buffer.recordData(m_index);
    return offset + 4 <= data.size() ? platform::loadLe32(data.data() + offset) : 0;
}

void UnitFields::setWord(size_t offset, uint32_t value) {
    std::span<uint8_t> data = m_buffer.recordData(m_index);
    if (offset + 4 <= data.size())
        platform::storeLe32(data.data() + offset, value);
}

uint32_t UnitFields::typeTag() const {
    return m_index < m_buffer.count() ? word(UnitRecordLayout::kTypeTag) : 0;
}

uint32_t UnitFields::objectSlot() const {
    auto l = layout();
    return l ? word(l->objectSlot) : 0;
}

void UnitFields::setObjectSlot(uint32_t value) {
    if (auto l = layout())
        setWord(l->objectSlot, value);
}

int32_t UnitFields::left() const {
    auto l = layout();
    return l ? static_cast<int32_t>(word(l->left())) : 0;
}

int32_t UnitFields::top() const {
    auto l = layout();
    return l ? static_cast<int32_t>(word(l->top())) : 0;
}

int32_t UnitFields::width() const {
    auto l = layout();
    return l ? static_cast<int32_t>(word(l->width())) : 0;
}

int32_t UnitFields::height() const {
    auto l = layout();
    return l ? static_cast<int32_t>(word(l->height())) : 0;
}

uint32_t UnitFields::cursorSlot() const {
    auto l = layout();
    return l ? word(l->cursorSlot()) : 0;
}

void UnitFields::setCursorSlot(uint32_t value) {
    if (auto l = layout())
        setWord(l->cursorSlot(), value);
}

uint32_t UnitFields::parentId() const {
    auto l = layout();
    return l ? word(l->parentId()) : 0;
}

std::vector<uint32_t> UnitFields::children() const {
    std::vector<uint32_t> ids;
    if (auto l = layout())
        for (uint32_t i = 0; i < l->childTotal; ++i)
            ids.push_back(word(l->children() + 4 * i));
    return ids;
}

std::span<const uint8_t> UnitFields::mousePointer() const {
    auto l = layout();
    if (!l)
        return {};
    std::span<const uint8_t> data = m_buffer.recordData(m_index);
    uint32_t n = word(l->mousePointer);
    return data.subspan(l->mousePointer + 4, n);
}

uint32_t UnitFields::stateFlags() const {
    auto l = layout();
    return l ? word(l->stateFlags) : 0;
}

void UnitFields::setStateFlags(uint32_t value) {
    if (auto l = layout())
        setWord(l->stateFlags, value);
}

std::string_view UnitFields::tag() const {
    auto l = layout();
    if (!l)
        return {};
    std::span<const uint8_t> data = m_buffer.recordData(m_index);
    return std::string_view(reinterpret_cast<const char*>(data.data() + l->tag), l->tagLength - 1);
}

int32_t UnitFields::tabOrder() const {
    auto l = layout();
    return l ? static_cast<int32_t>(word(l->tabOrder())) : 0;
}

std::span<const uint8_t> UnitFields::propertyBlock() const {
    auto l = layout();
    if (!l)
        return {};
    return std::span<const uint8_t>(m_buffer.recordData(m_index)).subspan(l->propertyBlock);
}

} // namespace kelvarn::ui
