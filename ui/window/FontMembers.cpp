#include "ui/window/FontMembers.h"

#include "runtime/core/Heap.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace kelvarn::ui {
namespace {

// "宋体"
constexpr char kDefaultFace[] = "\xcb\xce\xcc\xe5";
// A LOGFONT face name holds 31 bytes and its terminator.
constexpr size_t kFaceCapacity = 31;

int32_t heightForSize(int32_t size) {
    if (size < 0)
        size = 0;
    return -mulDiv(size, platform::screenDpiY(), 72);
}

// The face name when it is 1 to `longest` bytes long, else the default face.
std::string faceOrDefault(const char* face, size_t longest) {
    size_t length = face ? std::strlen(face) : 0;
    return length >= 1 && length <= longest ? std::string(face, length) : kDefaultFace;
}

} // namespace

int32_t mulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0)
        return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t half = std::llabs(c) / 2;
    bool negative = (product < 0) != (c < 0);
    int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    int64_t result = negative ? -magnitude : magnitude;
    return result > INT32_MAX || result < INT32_MIN ? -1 : static_cast<int32_t>(result);
}

platform::FontDescription fontFromBlock(std::span<const uint8_t> block) {
    if (block.size() == platform::kFontDescriptionSize) {
        if (auto font = platform::readFontDescription(block))
            return *font;
    }
    return platform::defaultGuiFontDescription();
}

int32_t fontMember(const platform::FontDescription& font, int32_t member) {
    switch (member) {
    case kFontAngle:
        return font.orientation;
    case kFontBold:
        return font.weight >= 700 ? 1 : 0;
    case kFontItalic:
        return font.italic ? 1 : 0;
    case kFontStrikeOut:
        return font.strikeOut ? 1 : 0;
    case kFontUnderline:
        return font.underline ? 1 : 0;
    case kFontSize:
        return mulDiv(std::abs(font.height), 72, platform::screenDpiY());
    default:
        return 0;
    }
}

char* fontFaceCopy(const platform::FontDescription& font) {
    if (font.faceName.empty())
        return nullptr;
    auto* copy =
        static_cast<char*>(runtime::MemAlloc(static_cast<int32_t>(font.faceName.size() + 1)));
    std::memcpy(copy, font.faceName.c_str(), font.faceName.size() + 1);
    return copy;
}

FontRecord* newFontRecord(const platform::FontDescription& font) {
    auto* record = static_cast<FontRecord*>(runtime::MemAlloc(sizeof(FontRecord)));
    record->angle = fontMember(font, kFontAngle);
    record->bold = fontMember(font, kFontBold);
    record->italic = fontMember(font, kFontItalic);
    record->strikeOut = fontMember(font, kFontStrikeOut);
    record->underline = fontMember(font, kFontUnderline);
    record->size = fontMember(font, kFontSize);
    record->faceName = fontFaceCopy(font);
    return record;
}

platform::FontDescription fontFromRecord(const FontRecord& record) {
    platform::FontDescription font;
    font.escapement = record.angle;
    font.orientation = record.angle;
    font.weight = record.bold ? 700 : 0;
    font.italic = record.italic ? 1 : 0;
    font.underline = record.underline ? 1 : 0;
    font.strikeOut = record.strikeOut ? 1 : 0;
    font.height = heightForSize(record.size);
    // A whole font record keeps a face only below the full capacity.
    font.faceName = faceOrDefault(record.faceName, kFaceCapacity - 1);
    return font;
}

bool setFontMember(platform::FontDescription& font, int32_t member, int32_t value,
                   const char* faceName) {
    switch (member) {
    case kFontAngle: {
        int32_t angle = ((value % 3600) + 3600) % 3600;
        font.escapement = angle;
        font.orientation = angle;
        return true;
    }
    case kFontBold:
        font.weight = value ? 700 : 0;
        return true;
    case kFontItalic:
        font.italic = value ? 1 : 0;
        return true;
    case kFontStrikeOut:
        font.strikeOut = value ? 1 : 0;
        return true;
    case kFontUnderline:
        font.underline = value ? 1 : 0;
        return true;
    case kFontSize:
        font.height = heightForSize(value);
        return true;
    case kFontFaceName:
        font.faceName = faceOrDefault(faceName, kFaceCapacity);
        return true;
    default:
        return false;
    }
}

} // namespace kelvarn::ui
