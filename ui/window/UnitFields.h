#pragma once
// Field access on one record of a live unit buffer. Records move when another record changes
// length, so every access walks the record afresh.

#include "ui/template/UnitBuffer.h"
#include "ui/template/UnitRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kelvarn::ui {

class UnitFields {
public:
    UnitFields(UnitBuffer& buffer, uint32_t index) : m_buffer(buffer), m_index(index) {}

    // False for a menu item or a record that cannot be walked.
    bool isValid() const;
    uint32_t index() const { return m_index; }
    uint32_t id() const { return m_buffer.idAt(m_index); }

    // The record's layout; none for a menu item or a record that cannot be walked.
    std::optional<UnitRecordLayout> layout() const;
    // The little-endian word at `offset` of the record (menu items included); 0 past its end.
    uint32_t word(size_t offset) const;
    void setWord(size_t offset, uint32_t value);

    uint32_t typeTag() const;
    uint32_t objectSlot() const;
    void setObjectSlot(uint32_t value);
    int32_t left() const;
    int32_t top() const;
    int32_t width() const;
    int32_t height() const;
    uint32_t cursorSlot() const;
    void setCursorSlot(uint32_t value);
    uint32_t parentId() const;
    std::vector<uint32_t> children() const;
    std::span<const uint8_t> mousePointer() const; // the block's bytes
    uint32_t stateFlags() const;
    void setStateFlags(uint32_t value);
    std::string_view tag() const;
    int32_t tabOrder() const;
    std::span<const uint8_t> propertyBlock() const;

private:
    UnitBuffer& m_buffer;
    uint32_t m_index;
};

} // namespace kelvarn::ui
