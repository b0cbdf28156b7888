#pragma once
// Picture files made from code for tests, in the formats stored pictures come in.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kelvarn::platform::testing {

// Pixels row by row, top first, as 0xAABBGGRR (alpha 0xFF opaque; only PNG and ICO keep
// other alpha). format: "BMP", "PNG", "JPG", "ICO" (Qt's writers) or "GIF" (at most four
// distinct colours, written here: Qt reads GIF but does not write it). Empty on failure.
std::vector<std::uint8_t> pictureFile(std::string_view format, int width, int height,
                                      const std::vector<std::uint32_t>& pixels);

} // namespace kelvarn::platform::testing
