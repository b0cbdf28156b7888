#include "ui/template/FontBlock.h"

#include "platform/files/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace kelvarn::ui {

FontBlock FontBlock::fromStored(std::span<const uint8_t> bytes) {
    FontBlock font;
    if (bytes.size() == kSize) {
        std::copy(bytes.begin(), bytes.end(), font.m_bytes.begin());
        font.m_present = true;
    }
    return font;
}

std::span<const uint8_t> FontBlock::bytes() const {
    if (!m_present)
        return {};
    return m_bytes;
}

std::string FontBlock::faceName() const {
    const char* face = reinterpret_cast<const char*>(m_bytes.data() + 28);
    return std::string(face, strnlen(face, kFaceNameSize));
}

void FontBlock::setFaceName(std::string_view face) {
    m_present = true;
    uint8_t* field = m_bytes.data() + 28;
    std::fill(field, field + kFaceNameSize, 0);
    size_t n = std::min(face.size(), kFaceNameSize - 1);
    std::memcpy(field, face.data(), n);
}

FontBlock FontBlock::forCreation() const {
    FontBlock font = *this;
    if (font.m_present) {
        font.m_bytes[23] = 1;
        font.m_bytes[24] = 0;
        font.m_bytes[25] = 0;
        font.m_bytes[26] = 2;
        font.m_bytes[27] = 0;
    }
    return font;
}

int32_t FontBlock::dword(size_t at) const {
    return platform::loadLe32Signed(m_bytes.data() + at);
}

void FontBlock::setDword(size_t at, int32_t v) {
    m_present = true;
    platform::storeLe32(m_bytes.data() + at, static_cast<uint32_t>(v));
}

void FontBlock::setByte(size_t at, uint8_t v) {
    m_present = true;
    m_bytes[at] = v;
}

} // namespace kelvarn::ui
