#pragma once
// The converter window's icon: a 766-byte Windows .ico file holding one 32x32 image with 16
// colours, drawn here in code.

#include <cstdint>
#include <vector>

namespace kelvarn::app {

std::vector<uint8_t> buildConverterIcon();

// The same picture as 32x32 pixels 0xAARRGGBB, row 0 at the top, transparent where the icon
// is: for the desktop's applications menu.
std::vector<uint32_t> converterIconPixels();

} // namespace kelvarn::app
