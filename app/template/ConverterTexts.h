#pragma once
// The converter's literals as the user reads them, in UTF-8. The build turns them into the
// program's code page and writes each block as a structure of zero-terminated arrays sized to
// their bytes (app/ConverterTextBytes.h), so nobody encodes a byte or counts an array by hand.

#include <span>
#include <string_view>

namespace kelvarn::app {

struct NamedText {
    std::string_view member;
    std::string_view text; // UTF-8
};

// One generated structure: `type` with the texts as its members, in order and laid end to end,
// and a constexpr function `function()` that returns them.
struct TextBlock {
    std::string_view type;
    std::string_view function;
    std::string_view comment;
    std::span<const NamedText> texts;
};

std::span<const TextBlock> converterTextBlocks();

} // namespace kelvarn::app
