#pragma once
// The converter's form template as the program embeds it: the bytes buildConverterTemplate()
// produced when the program was built.

#include <cstdint>
#include <span>

namespace kelvarn::app {

std::span<const uint8_t> embeddedConverterTemplate();

} // namespace kelvarn::app
