#pragma once
// A window's unit buffer: U unit ids, U record offsets (counted from the end of the offset
// array), then the records, each a dword n followed by n bytes of record data. It is the live
// store of every unit's design-time state.

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace kelvarn::ui {

struct UnitRecordEntry {
    uint32_t id = 0;
    std::vector<uint8_t> data;
};

class UnitBuffer {
public:
    UnitBuffer() = default;

    // Takes the stored form as read from a template. nullopt unless every record lies inside
    // the bytes and no two records overlap, so every later access stays in bounds.
    static std::optional<UnitBuffer> fromBytes(uint32_t count, std::vector<uint8_t> bytes);
    // Lays the records out in the given order.
    static UnitBuffer fromRecords(std::span<const UnitRecordEntry> records);

    uint32_t count() const { return m_count; }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

    uint32_t idAt(uint32_t index) const;
    std::span<uint8_t> recordData(uint32_t index);
    std::span<const uint8_t> recordData(uint32_t index) const;
    uint32_t recordLength(uint32_t index) const { return recordData(index).size(); }
    // Position of the record's length word inside the buffer.
    size_t recordStart(uint32_t index) const;

    // The first index whose id matches, entry 0 first; nullopt for an unknown id.
    std::optional<uint32_t> findById(uint32_t id) const;
    bool isMenuItem(uint32_t index) const;

    // Replaces `oldLength` bytes at `offset` inside record `index`'s data by `replacement`. The
    // record's length word and the offsets of the records behind it follow. False (and nothing
    // changed) when the range is not inside the record.
    bool replaceRange(uint32_t index, size_t offset, size_t oldLength,
                      std::span<const uint8_t> replacement);

    // Copy of the whole buffer (count and bytes), as a window load takes its snapshot.
    void copyFrom(const UnitBuffer& other) { *this = other; }

private:
    UnitBuffer(uint32_t count, std::vector<uint8_t> bytes)
        : m_count(count), m_bytes(std::move(bytes)) {}
    size_t recordsBase() const { return 8 * static_cast<size_t>(m_count); }
    uint32_t offsetAt(uint32_t index) const;

    uint32_t m_count = 0;
    std::vector<uint8_t> m_bytes;
};

} // namespace kelvarn::ui
