#pragma once
// Font properties as procedures see them: members selected by number (0 angle, 1 bold, 2 italic,
// 3 strikeout, 4 underline, 5 size in points, 6 face name, -1 the whole font as a font record)
// over the 60-byte font description the unit types keep.

#include "platform/windowing/Font.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kelvarn::ui {

constexpr int32_t kFontWhole = -1;
constexpr int32_t kFontAngle = 0;
constexpr int32_t kFontBold = 1;
constexpr int32_t kFontItalic = 2;
constexpr int32_t kFontStrikeOut = 3;
constexpr int32_t kFontUnderline = 4;
constexpr int32_t kFontSize = 5;
constexpr int32_t kFontFaceName = 6;

// The font record a whole-font read hands out (from the runtime heap, owned by the caller
// together with its face name text) and a whole-font write takes.
struct FontRecord {
    int32_t angle = 0; // tenths of a degree
    int32_t bold = 0;  // logicals: 1 or 0
    int32_t italic = 0;
    int32_t strikeOut = 0;
    int32_t underline = 0;
    int32_t size = 0;         // points
    char* faceName = nullptr; // runtime text, null for the empty text
};

// (a * b) / c rounded to the nearest, halves away from zero; -1 when c is 0.
int32_t mulDiv(int32_t a, int32_t b, int32_t c);

// The description a font block stands for: its own when it holds exactly 60 bytes, the
// platform's default GUI font otherwise.
platform::FontDescription fontFromBlock(std::span<const uint8_t> block);

// The value of a member (0 to 5) as a procedure reads it; 0 for any other selector.
int32_t fontMember(const platform::FontDescription& font, int32_t member);
// A new heap copy of the face name (null when empty).
char* fontFaceCopy(const platform::FontDescription& font);
// A new heap font record with all seven members.
FontRecord* newFontRecord(const platform::FontDescription& font);

// A fresh description from a font record, as a whole-font write builds it.
platform::FontDescription fontFromRecord(const FontRecord& record);
// Changes one member (0 to 6) of `font` as a member write does; false for another selector.
// `value` is the integer, or for the face name the text address.
bool setFontMember(platform::FontDescription& font, int32_t member, int32_t value,
                   const char* faceName);

} // namespace kelvarn::ui
