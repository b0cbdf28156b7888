#include "ui/template/UnitBuffer.h"

#include "platform/files/LittleEndian.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FormIds.h"

#include <algorithm>

namespace kelvarn::ui {

std::optional<UnitBuffer> UnitBuffer::fromBytes(uint32_t count, std::vector<uint8_t> bytes) {
    const uint64_t base = 8 * static_cast<uint64_t>(count);
    if (base > bytes.size())
        return std::nullopt;
    std::vector<std::pair<uint64_t, uint64_t>> spans;
    spans.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t start =
            base + platform::loadLe32(bytes.data() + 4 * static_cast<size_t>(count) + 4 * i);
        if (start + 4 > bytes.size())
            return std::nullopt;
        uint64_t end = start + 4 + platform::loadLe32(bytes.data() + start);
        if (end > bytes.size())
            return std::nullopt;
        spans.emplace_back(start, end);
    }
    // Records that overlap could not be resized one at a time without corrupting each other.
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i)
        if (spans[i].first < spans[i - 1].second)
            return std::nullopt;
    return UnitBuffer(count, std::move(bytes));
}

UnitBuffer UnitBuffer::fromRecords(std::span<const UnitRecordEntry> records) {
    ByteWriter w;
    for (const auto& r : records)
        w.u32(r.id);
    uint32_t offset = 0;
    for (const auto& r : records) {
        w.u32(offset);
        offset += 4 + static_cast<uint32_t>(r.data.size());
    }
    for (const auto& r : records)
        w.countedBytes(r.data);
    return UnitBuffer(static_cast<uint32_t>(records.size()), w.take());
}

uint32_t UnitBuffer::idAt(uint32_t index) const {
    if (index >= m_count)
        return 0;
    return platform::loadLe32(m_bytes.data() + 4 * static_cast<size_t>(index));
}

uint32_t UnitBuffer::offsetAt(uint32_t index) const {
    return platform::loadLe32(m_bytes.data() + 4 * static_cast<size_t>(m_count) + 4 * index);
}

size_t UnitBuffer::recordStart(uint32_t index) const {
    return recordsBase() + offsetAt(index);
}

std::span<uint8_t> UnitBuffer::recordData(uint32_t index) {
    if (index >= m_count)
        return {};
    size_t start = recordStart(index);
    return {m_bytes.data() + start + 4, platform::loadLe32(m_bytes.data() + start)};
}

std::span<const uint8_t> UnitBuffer::recordData(uint32_t index) const {
    if (index >= m_count)
        return {};
    size_t start = recordStart(index);
    return {m_bytes.data() + start + 4, platform::loadLe32(m_bytes.data() + start)};
}

std::optional<uint32_t> UnitBuffer::findById(uint32_t id) const {
    for (uint32_t i = 0; i < m_count; ++i)
        if (idAt(i) == id)
            return i;
    return std::nullopt;
}

bool UnitBuffer::isMenuItem(uint32_t index) const {
    return index < m_count && isMenuItemId(idAt(index));
}

bool UnitBuffer::replaceRange(uint32_t index, size_t offset, size_t oldLength,
                              std::span<const uint8_t> replacement) {
    if (index >= m_count)
        return false;
    const size_t start = recordStart(index);
    const size_t length = platform::loadLe32(m_bytes.data() + start);
    if (offset > length || oldLength > length - offset)
        return false;
    const uint64_t newLength = uint64_t{length} - oldLength + replacement.size();
    if (newLength > 0x7FFFFFFF || m_bytes.size() - oldLength + replacement.size() > 0x7FFFFFFF)
        return false;

    const size_t at = start + 4 + offset;
    if (replacement.size() >= oldLength) {
        std::copy(replacement.begin(), replacement.begin() + oldLength, m_bytes.begin() + at);
        m_bytes.insert(m_bytes.begin() + at + oldLength, replacement.begin() + oldLength,
                       replacement.end());
    } else {
        std::copy(replacement.begin(), replacement.end(), m_bytes.begin() + at);
        m_bytes.erase(m_bytes.begin() + at + replacement.size(), m_bytes.begin() + at + oldLength);
    }
    platform::storeLe32(m_bytes.data() + start, static_cast<uint32_t>(newLength));

    // Records are normally stored in index order, so these are the records i+1 to U-1; going
    // by position keeps a buffer whose records lie in another order intact as well.
    const uint32_t delta = static_cast<uint32_t>(replacement.size() - oldLength);
    for (uint32_t j = 0; j < m_count; ++j) {
        if (recordStart(j) > start) {
            uint8_t* slot = m_bytes.data() + 4 * static_cast<size_t>(m_count) + 4 * j;
            platform::storeLe32(slot, platform::loadLe32(slot) + delta);
        }
    }
    return true;
}

} // namespace kelvarn::ui
