#pragma once
// Fonts from the 60-byte font description the form template stores (the Windows LOGFONTA
// layout, little-endian), the default GUI font and the screen's pixels per inch.

#include "platform/windowing/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kelvarn::platform {

inline constexpr std::size_t kFontDescriptionSize = 60;

struct FontDescription {
    std::int32_t height = 0; // < 0: character height in pixels; > 0: cell height; 0: default
    std::int32_t width = 0;
    std::int32_t escapement = 0; // tenths of a degree
    std::int32_t orientation = 0;
    std::int32_t weight = 0; // 0 default, 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName; // runtime text, at most 31 bytes

    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// Reads exactly 60 bytes; anything else gives nothing. The face name ends at its first zero.
std::optional<FontDescription> readFontDescription(std::span<const std::uint8_t> bytes);
std::array<std::uint8_t, kFontDescriptionSize> writeFontDescription(const FontDescription& font);

// A font the caller owns until deleteFont. The default GUI font is never deleted.
FontHandle createFont(const FontDescription& font);
bool deleteFont(FontHandle font);
FontHandle defaultGuiFont();
// The description of a font as the window system realised it (face, pixel height, style).
FontDescription fontDescription(FontHandle font);
FontDescription defaultGuiFontDescription();
int defaultGuiFontPointSize();
int screenDpiY();

struct TextMetrics {
    int height = 0; // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
};
TextMetrics fontMetrics(FontHandle font);
// Width and height of a single-line text in the font.
Size textExtent(FontHandle font, std::string_view text);

// kWmSetFont / kWmGetFont through the window procedure.
bool setWindowFont(WindowHandle window, FontHandle font);
FontHandle windowFont(WindowHandle window);

} // namespace kelvarn::platform
