#pragma once
// A unit's font as its property block stores it: counted bytes holding nothing (the platform's
// default GUI font) or exactly 60 bytes, a LOGFONTA structure. A stored block of any other
// length means the default font too.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelvarn::ui {

class FontBlock {
public:
    static constexpr size_t kSize = 60;
    static constexpr size_t kFaceNameSize = 32; // including the terminator

    FontBlock() = default; // the default font

    static FontBlock fromStored(std::span<const uint8_t> bytes);

    bool isDefault() const { return !m_present; }
    // Empty, or the 60 bytes.
    std::span<const uint8_t> bytes() const;

    int32_t height() const { return dword(0); }
    int32_t width() const { return dword(4); }
    int32_t escapement() const { return dword(8); }
    int32_t orientation() const { return dword(12); }
    int32_t weight() const { return dword(16); }
    bool italic() const { return m_bytes[20] != 0; }
    bool underline() const { return m_bytes[21] != 0; }
    bool strikeOut() const { return m_bytes[22] != 0; }
    uint8_t charSet() const { return m_bytes[23]; }
    uint8_t outPrecision() const { return m_bytes[24]; }
    uint8_t clipPrecision() const { return m_bytes[25]; }
    uint8_t quality() const { return m_bytes[26]; }
    uint8_t pitchAndFamily() const { return m_bytes[27]; }
    // The bytes before the first 0 of the face-name field.
    std::string faceName() const;

    // Setters turn a default font into an explicit all-zero description first.
    void setHeight(int32_t v) { setDword(0, v); }
    void setWidth(int32_t v) { setDword(4, v); }
    void setEscapement(int32_t v) { setDword(8, v); }
    void setOrientation(int32_t v) { setDword(12, v); }
    void setWeight(int32_t v) { setDword(16, v); }
    void setItalic(bool v) { setByte(20, v); }
    void setUnderline(bool v) { setByte(21, v); }
    void setStrikeOut(bool v) { setByte(22, v); }
    void setCharSet(uint8_t v) { setByte(23, v); }
    // At most 31 bytes are kept; the field is zero-padded.
    void setFaceName(std::string_view face);

    // The description a unit creates its font from: character set 1, output and clip
    // precision 0, proof quality (2), pitch-and-family 0. A default font stays default.
    FontBlock forCreation() const;

    bool operator==(const FontBlock&) const = default;

private:
    int32_t dword(size_t at) const;
    void setDword(size_t at, int32_t v);
    void setByte(size_t at, uint8_t v);

    std::array<uint8_t, kSize> m_bytes{};
    bool m_present = false;
};

} // namespace kelvarn::ui
