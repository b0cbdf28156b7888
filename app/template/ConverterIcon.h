#pragma once
// The converter window's icon: a 766-byte Windows .ico file holding one 32x32 image with 16
// colours, drawn here in code.

#include <cstdint>
#include <vector>

namespace kelvarn::app {

std::vector<uint8_t> buildConverterIcon();

} // namespace kelvarn::app
