#pragma once
// The converter's form template: one window (0x52010001) with its own record and eleven units.
// buildConverterTemplate() produces the stored bytes from the description in
// ConverterTemplate.cpp; the build embeds its output (EmbeddedTemplate.h).

#include <cstdint>
#include <vector>

namespace kelvarn::app {

// Carried with the window record; no behaviour of their own.
constexpr uint32_t kConverterValueA = 0x002289E0;
constexpr uint32_t kConverterValueB = 0x1901000A;

std::vector<uint8_t> buildConverterTemplate();

} // namespace kelvarn::app
